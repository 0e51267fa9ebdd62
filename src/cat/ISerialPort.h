#pragma once

#include <QByteArray>

// The serial line to the radio, numbered like the COM ports COM1 to COM16.
// Every failure is thrown as a VbError whose description names the device.
class ISerialPort {
public:
    // Number and text of a read or write on a closed port, as the serial
    // control of the original Windows program reported it.
    static constexpr qint64 kPortNotOpen = 8018;

    virtual ~ISerialPort() = default;

    virtual bool IsOpen() const = 0;
    // Opens COM `comNumber` with 38400,N,8,1, no flow control, RTS and DTR off.
    virtual void Open(int comNumber) = 0;
    virtual void Close() = 0;
    virtual void Write(const QByteArray& data) = 0;
    // Every byte waiting now, possibly none; throws when the port is closed.
    virtual QByteArray ReadAll() = 0;
    // Waits at most `milliseconds` until the bytes waiting hold the end of a
    // reply (";"). True when they do. A port that has everything at once
    // (as a test's does) has nothing to wait for.
    virtual bool WaitForReply(int /*milliseconds*/) { return true; }
};
