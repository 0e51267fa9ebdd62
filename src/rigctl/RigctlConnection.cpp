#include "rigctl/RigctlConnection.h"

#include <QTcpSocket>

namespace {
// What the socket takes from the system ahead of the requests read: a few lines.
constexpr qint64 kReadAheadBytes = 4 * RigctlConnection::kMaxLineBytes;
}

RigctlConnection::RigctlConnection(QTcpSocket* socket, RadioState& radio, const Options& options,
                                   ICatSender& cat, const ILinkState& link, QObject* parent)
    : QObject(parent), socket_(socket), session_(radio, options, cat, link)
{
    socket_->setParent(this);
    socket_->setReadBufferSize(kReadAheadBytes);
    connect(socket_, &QTcpSocket::readyRead, this, &RigctlConnection::TakeRequests);
    connect(socket_, &QTcpSocket::bytesWritten, this, &RigctlConnection::TakeRequests);
    connect(socket_, &QTcpSocket::disconnected, this, &RigctlConnection::finished);
}

RigctlConnection::~RigctlConnection()
{
    // Closing the socket from here must not call back into a half-destroyed connection.
    socket_->disconnect(this);
    socket_->abort();
}

void RigctlConnection::Drop()
{
    socket_->abort();
}

void RigctlConnection::TakeRequests()
{
    while (socket_->state() == QAbstractSocket::ConnectedState && !session_.quitRequested()
           && socket_->bytesToWrite() < kMaxUnreadBytes) {
        if (!socket_->canReadLine()) {
            if (socket_->bytesAvailable() > kMaxLineBytes)
                Drop();
            return;
        }
        const QByteArray line = socket_->readLine(kMaxLineBytes + 2);
        if (!line.endsWith('\n')) {
            Drop();
            return;
        }
        Answer(line);
    }
}

void RigctlConnection::Answer(const QByteArray& line)
{
    socket_->write(session_.Answer(line));
    if (session_.quitRequested())
        socket_->disconnectFromHost();
}
