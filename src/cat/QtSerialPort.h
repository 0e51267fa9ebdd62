#pragma once

#include "cat/ISerialPort.h"

#include <QSerialPort>
#include <QString>

class ISettingsStore;

// The radio's serial line over QSerialPort. COM N is the device stored under
// [ports] comN, by default /dev/ttyUSB<N-1> (COM<N> on Windows), so a radio on
// any device path, a pseudo-terminal included, can be given a port number.
// A device that goes away while open (an unplugged adapter, a vanished
// terminal) counts as closed from then on; reads and writes say so.
class QtSerialPort : public ISerialPort {
public:
    explicit QtSerialPort(const ISettingsStore& settings);
    ~QtSerialPort() override;
    QtSerialPort(const QtSerialPort&) = delete;
    QtSerialPort& operator=(const QtSerialPort&) = delete;

    bool IsOpen() const override;
    void Open(int comNumber) override;
    void Close() override;
    void Write(const QByteArray& data) override;
    QByteArray ReadAll() override;
    bool WaitForReply(int milliseconds) override;

    // The device that COM `comNumber` stands for.
    QString DeviceFor(int comNumber) const { return DeviceFor(settings_, comNumber); }
    static QString DeviceFor(const ISettingsStore& settings, int comNumber);
    static QString DefaultDevice(int comNumber);
    // Section and key under which COM `comNumber`'s device is stored.
    static QString Section() { return QStringLiteral("ports"); }
    static QString KeyFor(int comNumber) { return QStringLiteral("com%1").arg(comNumber); }

private:
    QString Describe() const;
    void ThrowIfUnusable() const;
    void OnPortError(QSerialPort::SerialPortError error);
    void SwitchHandshakeLinesOff();
    void CollectWaitingBytes();

    const ISettingsStore& settings_;
    QSerialPort port_;
    int comNumber_ = 0;
    // Why the device went away while open; empty while it is usable.
    QString lostReason_;
};
