#include "TcpRadioPort.h"

TcpRadioPort::TcpRadioPort(RadioModel& radio, const SimOptions& options, QObject* parent)
    : QObject(parent), options_(options), line_(radio, options, *this)
{
    connect(&server_, &QTcpServer::newConnection, this, &TcpRadioPort::TakeClient);
}

bool TcpRadioPort::Open(QString& error)
{
    if (!server_.listen(QHostAddress::LocalHost, quint16(options_.tcpPort))) {
        error = QStringLiteral("Cannot listen on 127.0.0.1:%1: %2")
                    .arg(options_.tcpPort)
                    .arg(server_.errorString());
        return false;
    }
    return line_.Open(error);
}

QString TcpRadioPort::Address() const
{
    return QStringLiteral("tcp://127.0.0.1:%1").arg(server_.serverPort());
}

void TcpRadioPort::TakeClient()
{
    while (QTcpSocket* socket = server_.nextPendingConnection()) {
        if (client_)
            client_->abort();
        delete client_;
        client_ = socket;
        line_.Reset();
        socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
            if (socket == client_)
                line_.Receive(socket->readAll());
        });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }
}

void TcpRadioPort::Transmit(const QByteArray& bytes)
{
    if (client_ && client_->state() == QAbstractSocket::ConnectedState)
        client_->write(bytes);
}
