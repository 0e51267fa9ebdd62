#pragma once

#include "RadioLine.h"
#include "RadioTransport.h"
#include "SimOptions.h"
#include "UniqueFd.h"

#include <QObject>

class QSocketNotifier;
class RadioModel;

// The radio's serial line: a pseudo-terminal whose slave end a CAT program
// opens like a serial port. The radio takes commands from the master end and
// answers only while the program has set the line as the radio's is set
// (the baud rate, 1 stop bit, no flow control; a pseudo-terminal always
// carries 8 data bits without parity).
class PtyRadioPort : public QObject, public RadioTransport {
    Q_OBJECT
public:
    PtyRadioPort(RadioModel& radio, const SimOptions& options, QObject* parent = nullptr);
    ~PtyRadioPort() override;

    // Opens the terminal, its symlink and the command log; false with `error` set on failure.
    bool Open(QString& error);
    const QString& slavePath() const { return slavePath_; }

    void Transmit(const QByteArray& bytes) override;
    bool Backlogged() const override { return !wire_.isEmpty(); }
    QString WrongLineSettings() const override;

private:
    bool OpenTerminal(QString& error);
    void OnReadable();
    void WriteWire();

    SimOptions options_;
    RadioLine line_;
    UniqueFd master_;
    UniqueFd slave_;
    QString slavePath_;
    QSocketNotifier* readNotifier_ = nullptr;
    QSocketNotifier* writeNotifier_ = nullptr;
    QByteArray wire_;  // crossed the line, waiting for room in the terminal
};
