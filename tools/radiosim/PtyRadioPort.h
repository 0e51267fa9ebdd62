#pragma once

#include "SimOptions.h"
#include "UniqueFd.h"

#include <QElapsedTimer>
#include <QFile>
#include <QObject>
#include <QRandomGenerator>
#include <QTimer>
#include <deque>

class QSocketNotifier;
class RadioModel;

// The radio's serial line: a pseudo-terminal whose slave end a CAT program
// opens like a serial port. Commands are taken from the master end and the
// radio's replies are sent back paced like a real line at the chosen baud rate.
class PtyRadioPort : public QObject {
    Q_OBJECT
public:
    PtyRadioPort(RadioModel& radio, const SimOptions& options, QObject* parent = nullptr);
    ~PtyRadioPort() override;

    // Opens the terminal, its symlink and the command log; false with `error` set on failure.
    bool Open(QString& error);
    const QString& slavePath() const { return slavePath_; }

private:
    struct Segment {
        QByteArray data;
        qint64 readyAtNs;  // not before this time
        qint64 gapNs;      // and not before this long after the segment ahead ended
        qint64 startNs = -1;
        int sent = 0;
    };

    bool OpenTerminal(QString& error);
    void OnReadable();
    void TakeCommands();
    void Log(const QByteArray& command);
    void QueueReply(const QByteArray& reply);
    void Pump();
    bool ReleaseDueBytes(Segment& segment, qint64 now);
    void WriteWire();
    void FloodTick();
    QByteArray Noise();
    qint64 NowNs() const { return clock_.nsecsElapsed(); }

    RadioModel& radio_;
    SimOptions options_;
    UniqueFd master_;
    UniqueFd slave_;
    QString slavePath_;
    QSocketNotifier* readNotifier_ = nullptr;
    QSocketNotifier* writeNotifier_ = nullptr;
    QFile log_;
    QByteArray input_;
    std::deque<Segment> queue_;
    QByteArray wire_;  // released by the pacing, waiting for room in the terminal
    qint64 lineFreeAtNs_ = 0;
    qint64 charNs_ = 0;
    QElapsedTimer clock_;
    QTimer pumpTimer_;
    QTimer floodTimer_;
    QRandomGenerator random_;
};
