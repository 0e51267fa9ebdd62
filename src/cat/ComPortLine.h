#pragma once

#include "cat/ICatLine.h"
#include "cat/TcpLine.h"

#include <memory>

class ISettingsStore;

// The port the CAT link opens: for each COM number the serial line or the
// network connection (tcp://host:port) that its value under [ports] names,
// read again at every opening. UI thread only.
class ComPortLine : public ICatLine {
public:
    explicit ComPortLine(const ISettingsStore& settings);

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
    std::unique_ptr<ICatLine> serial_;
    TcpLine network_;
    ICatLine* active_;
};
