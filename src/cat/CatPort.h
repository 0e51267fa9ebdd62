#pragma once

#include "cat/ISerialPort.h"
#include "cat/QtSerialPort.h"
#include "cat/TcpCatPort.h"

class ISettingsStore;

// The port the CAT link opens: for each COM number the serial line or the
// network connection (tcp://host:port) that its value under [ports] names,
// read again at every opening. UI thread only.
class CatPort : public ISerialPort {
public:
    explicit CatPort(const ISettingsStore& settings);

    bool IsOpen() const override { return active_->IsOpen(); }
    void Open(int comNumber) override;
    void Close() override { active_->Close(); }
    void Write(const QByteArray& data) override { active_->Write(data); }
    QByteArray ReadAll() override { return active_->ReadAll(); }
    bool IsOpening() const override { return active_->IsOpening(); }
    qint64 UnsentBytes() const override { return active_->UnsentBytes(); }
    void WhenReplyWaiting(int milliseconds, std::function<void()> then) override
    {
        active_->WhenReplyWaiting(milliseconds, std::move(then));
    }

private:
    const ISettingsStore& settings_;
    QtSerialPort serial_;
    TcpCatPort network_;
    ISerialPort* active_;
};
