#pragma once

#include "SimOptions.h"

#include <QElapsedTimer>
#include <QFile>
#include <QObject>
#include <QRandomGenerator>
#include <QTimer>
#include <deque>

class RadioModel;
class RadioTransport;

// The radio's end of its CAT line, whatever carries the bytes (a
// pseudo-terminal, a TCP connection): takes the commands that arrive, has the
// radio execute them and sends the replies back paced like a real line at the
// chosen baud rate. With --paced the commands, too, arrive no faster than the
// line carries them. Line faults (noise, split replies, a flood) are made here.
class RadioLine : public QObject {
    Q_OBJECT
public:
    RadioLine(RadioModel& radio, const SimOptions& options, RadioTransport& transport,
              QObject* parent = nullptr);

    // Opens the command log and starts a flood; false with `error` set on failure.
    bool Open(QString& error);

    // Bytes from the program as they reach this end of the transport.
    void Receive(const QByteArray& bytes);
    // A new connection: half commands and replies on their way belong to the old one.
    void Reset();

private:
    struct Segment {
        QByteArray data;
        qint64 readyAtNs;  // not before this time
        qint64 gapNs;      // and not before this long after the segment ahead ended
        bool burst = false;
        qint64 startNs = -1;
        int sent = 0;
    };

    void ReleaseInbound();
    void TakeCommands();
    bool LineSettingsAccepted();
    void Log(const QByteArray& command);
    void QueueReply(const QByteArray& reply);
    void QueueNoiseBurst();
    void Pump();
    bool ReleaseDueBytes(Segment& segment, qint64 now);
    void FloodTick();
    QByteArray Noise(int length);
    qint64 NowNs() const { return clock_.nsecsElapsed(); }
    static void StartAfterNs(QTimer& timer, qint64 ns);

    RadioModel& radio_;
    SimOptions options_;
    RadioTransport& transport_;
    QString refusedSettings_;
    QFile log_;
    QByteArray inbound_;  // received, still crossing the line (--paced)
    qint64 inboundStartNs_ = 0;
    QByteArray input_;
    int commandsTaken_ = 0;
    std::deque<Segment> queue_;
    qint64 lineFreeAtNs_ = 0;
    qint64 charNs_ = 0;
    QElapsedTimer clock_;
    QTimer pumpTimer_;
    QTimer inboundTimer_;
    QTimer floodTimer_;
    QRandomGenerator random_;
};
