#pragma once

#include "RadioLine.h"
#include "RadioTransport.h"

#include <QObject>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

class RadioModel;

// The radio's CAT port on the network, as a radio with a LAN port or a serial
// line behind ser2net offers it: one TCP client at a time on 127.0.0.1. A
// client that connects while another is there takes the line over.
class TcpRadioPort : public QObject, public RadioTransport {
    Q_OBJECT
public:
    TcpRadioPort(RadioModel& radio, const SimOptions& options, QObject* parent = nullptr);

    // Listens on 127.0.0.1 at the --tcp port (0: a free one) and opens the
    // command log; false with `error` set on failure.
    bool Open(QString& error);
    // "tcp://127.0.0.1:<port>", as the program's [ports] section takes it.
    QString Address() const;

    void Transmit(const QByteArray& bytes) override;
    bool Backlogged() const override { return client_ && client_->bytesToWrite() > 0; }

private:
    void TakeClient();

    SimOptions options_;
    RadioLine line_;
    QTcpServer server_;
    QPointer<QTcpSocket> client_;
};
