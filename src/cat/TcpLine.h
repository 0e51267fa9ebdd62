#pragma once

#include "cat/DeviceLine.h"

#include <QString>
#include <QTcpSocket>
#include <QTimer>

class ISettingsStore;

// A radio reached over the network: COM N stands for tcp://host:port (a radio
// with its own LAN CAT port, a serial line behind ser2net, SDR software).
// Opening only begins the connection — the host name is looked up and the
// connection made while the event loop runs — so the window never waits for
// it. A connection that fails, drops or is not made within a few seconds
// counts as closed from then on, like a serial port that went away.
class TcpLine : public DeviceLine {
public:
    // A connection not made within this time has failed.
    static constexpr int kConnectTimeoutMs = 5000;

    explicit TcpLine(const ISettingsStore& settings);
    ~TcpLine() override;

    void Open(int comNumber) override;
    void Close() override;
    bool IsOpening() const override;

protected:
    QIODevice& Device() override { return socket_; }
    bool Connected() const override { return socket_.state() == QAbstractSocket::ConnectedState; }
    void Flush() override { socket_.flush(); }
    void CloseDevice() override { socket_.abort(); }
    QString Describe() const override;
    qint64 QueuedBytes() const override;

private:
    void OnConnected();
    void OnSocketError();
    void OnConnectTimeout();

    const ISettingsStore& settings_;
    QTcpSocket socket_;
    QTimer connectTimer_;
    int comNumber_ = 0;
    QString address_;
    bool wasConnected_ = false;
};
