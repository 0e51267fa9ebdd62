#pragma once

#include "cat/ICatLine.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

class QIODevice;

// What a serial line and a network connection to the radio have in common:
// reading every byte waiting, waiting for the end of a reply without
// blocking, and a device that fails or goes away, which counts as closed from
// then on while reads and writes say why. The concrete port opens and closes
// its device. UI thread only.
class DeviceLine : public ICatLine {
public:
    DeviceLine();
    ~DeviceLine() override;
    DeviceLine(const DeviceLine&) = delete;
    DeviceLine& operator=(const DeviceLine&) = delete;

    bool IsOpen() const override { return Connected() && failure_.isEmpty(); }
    void Write(const QByteArray& data) override;
    qint64 UnsentBytes() const override;
    QByteArray ReadAll() override;
    void WhenReplyWaiting(int milliseconds, std::function<void()> then) override;

protected:
    virtual QIODevice& Device() = 0;
    // True while the device is open (and, for a network port, connected).
    virtual bool Connected() const = 0;
    // Sends what is buffered now, without waiting.
    virtual void Flush() = 0;
    virtual void CloseDevice() = 0;
    // "serial port COM3 (/dev/ttyUSB0)"
    virtual QString Describe() const = 0;
    // How long one byte takes on the line; 0 where the line has no rate of its own.
    virtual qint64 NanosecondsPerByte() const { return 0; }
    // The bytes written that the operating system (and Qt) still hold.
    virtual qint64 QueuedBytes() const = 0;

    // From now on the port counts as closed; reads and writes throw
    // `description`. An open device is closed from the event loop, not from
    // inside the notification that brought the failure.
    void Fail(const QString& description);
    // The device went away while open: said once, with the promise to come back.
    void Lose(const QString& reason);
    void ClearFailure() { failure_.clear(); }
    bool Failed() const { return !failure_.isEmpty(); }
    // Receiver of the device's signals; goes with the port.
    QObject* Events() { return &events_; }

private:
    void ThrowIfUnusable() const;
    void CollectWaitingBytes();
    bool ReplyWaiting();
    void EndWait();

    QObject events_;
    QString failure_;
    QTimer waitTimer_;
    QMetaObject::Connection waitConnection_;
    std::function<void()> afterWait_;
    // When the line will have carried every byte written so far, by its rate.
    QElapsedTimer clock_;
    qint64 lineFreeAtNs_ = 0;
};
