#include "rigctl/RigctlConnection.h"

#include <QPointer>
#include <QTcpSocket>

#include "core/Logging.h"

namespace {
// What the socket takes from the system ahead of the requests read: a few lines.
constexpr qint64 kReadAheadBytes = 4 * RigctlConnection::kMaxLineBytes;
}

RigctlConnection::RigctlConnection(QTcpSocket* socket, IRadio& radio, const Options& options, int idleLimitMs,
                                   QObject* parent)
    : QObject(parent), socket_(socket), session_(radio, options)
{
    socket_->setParent(this);
    socket_->setReadBufferSize(kReadAheadBytes);
    idleTimer_.setSingleShot(true);
    idleTimer_.setInterval(idleLimitMs);
    connect(&idleTimer_, &QTimer::timeout, this, &RigctlConnection::Drop);
    const auto onActivity = [this] {
        Touch();
        TakeRequests();
    };
    connect(socket_, &QTcpSocket::readyRead, this, onActivity);
    connect(socket_, &QTcpSocket::bytesWritten, this, onActivity);
    connect(socket_, &QTcpSocket::disconnected, this, &RigctlConnection::OnDisconnected);
    Touch();
}

void RigctlConnection::Touch()
{
    lastActivity_.start();
    idleTimer_.start();
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
    ReentryGuard::Scope answering(answering_);
    if (!answering.entered())
        return;
    TakeWaitingRequests();
    if (goneWhileAnswering_)
        emit finished();
}

void RigctlConnection::TakeWaitingRequests()
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

void RigctlConnection::OnDisconnected()
{
    // A request may run an event loop (a question, a slow radio) in which the
    // client goes: the connection is deleted only once the request is done.
    if (answering_.busy())
        goneWhileAnswering_ = true;
    else
        emit finished();
}

void RigctlConnection::Answer(const QByteArray& line)
{
    qCDebug(rigctlTrace) << socket_->peerPort() << line.trimmed();
    socket_->write(session_.Answer(line));
    if (session_.quitRequested())
        socket_->disconnectFromHost();
}
