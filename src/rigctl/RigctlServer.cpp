#include "rigctl/RigctlServer.h"

#include "rigctl/RigctlConnection.h"

#include <QTcpServer>
#include <QTcpSocket>

RigctlServer::RigctlServer(IRadio& radio, const Options& options, QObject* parent,
                           Limits limits)
    : QObject(parent), radio_(radio), options_(options), limits_(limits),
      listener_(new QTcpServer(this))
{
    connect(listener_, &QTcpServer::newConnection, this, &RigctlServer::Accept);
}

RigctlServer::~RigctlServer()
{
    Stop();
}

bool RigctlServer::Start(const QHostAddress& address, quint16 port)
{
    Stop();
    return listener_->listen(address, port);
}

void RigctlServer::Stop()
{
    listener_->close();
    qDeleteAll(Connections());
}

QList<RigctlConnection*> RigctlServer::Connections() const
{
    return findChildren<RigctlConnection*>(QString(), Qt::FindDirectChildrenOnly);
}

bool RigctlServer::isListening() const
{
    return listener_->isListening();
}

quint16 RigctlServer::port() const
{
    return listener_->serverPort();
}

QString RigctlServer::errorString() const
{
    return listener_->errorString();
}

int RigctlServer::clientCount() const
{
    return int(Connections().size());
}

void RigctlServer::Accept()
{
    while (QTcpSocket* socket = listener_->nextPendingConnection()) {
        if (clientCount() >= kMaxClients && !MakeRoom()) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        auto* connection = new RigctlConnection(socket, radio_, options_, limits_.idleMs, this);
        connect(connection, &RigctlConnection::finished, connection, &QObject::deleteLater);
    }
}

bool RigctlServer::MakeRoom()
{
    RigctlConnection* quietest = nullptr;
    for (RigctlConnection* connection : Connections()) {
        if (!quietest || connection->IdleMs() > quietest->IdleMs())
            quietest = connection;
    }
    if (!quietest || quietest->IdleMs() < limits_.replaceQuietMs)
        return false;
    delete quietest;
    return true;
}
