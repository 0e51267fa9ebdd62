#pragma once

#include "cat/DeviceLine.h"
#include "cat/Win32SerialPort.h"

#include <QString>

class ISettingsStore;

// The radio's serial line on Windows, over the program's own Win32 port: COM
// N is the port that PortAddress gives for it (COM<N> unless [ports] names
// another). A port that fails while open (an unplugged adapter) counts as
// closed from then on, and opens again once it is back.
class Win32SerialLine : public DeviceLine {
public:
    explicit Win32SerialLine(const ISettingsStore& settings);
    ~Win32SerialLine() override;

    void Open(int comNumber) override;
    void Close() override;

protected:
    QIODevice& Device() override { return port_; }
    bool Connected() const override { return port_.isOpen(); }
    void Flush() override {}
    void CloseDevice() override { port_.close(); }
    QString Describe() const override;
    qint64 NanosecondsPerByte() const override;
    qint64 QueuedBytes() const override;

private:
    QString OpenFailure() const;

    const ISettingsStore& settings_;
    Win32SerialPort port_;
    int comNumber_ = 0;
    QString device_;
};
