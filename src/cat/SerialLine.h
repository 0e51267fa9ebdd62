#pragma once

#include "cat/DeviceLine.h"

#include <QSerialPort>
#include <QString>

class ISettingsStore;

// The radio's serial line on Linux, over QSerialPort: COM N is the device that
// PortAddress gives for it, so a radio on any device path, a pseudo-terminal
// included, can be given a port number. A device that goes away while open
// (an unplugged adapter, a vanished terminal) counts as closed from then on.
class SerialLine : public DeviceLine {
public:
    explicit SerialLine(const ISettingsStore& settings);
    ~SerialLine() override;

    void Open(int comNumber) override;
    void Close() override;

protected:
    QIODevice& Device() override { return port_; }
    bool Connected() const override { return port_.isOpen(); }
    void Flush() override { port_.flush(); }
    void CloseDevice() override { port_.close(); }
    QString Describe() const override;
    qint64 NanosecondsPerByte() const override;
    qint64 QueuedBytes() const override;

private:
    void OnPortError(QSerialPort::SerialPortError error);
    void SwitchHandshakeLinesOff();
    QString OpenFailure(QSerialPort::SerialPortError error) const;

    const ISettingsStore& settings_;
    QSerialPort port_;
    int comNumber_ = 0;
    QString device_;
};
