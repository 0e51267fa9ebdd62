#include "NetworkNuisance.h"

#include <QTcpSocket>
#include <QTimer>
#include <memory>
#include <utility>

namespace {
// The flood's answers are counted until none has come for this long.
constexpr int kQuietMs = 5000;
constexpr int kConnectMs = 5000;
}

NetworkNuisance::NetworkNuisance(quint16 port, QObject* parent) : QObject(parent), port_(port) {}

void NetworkNuisance::Flood(std::function<void(int)> then)
{
    auto* socket = new QTcpSocket(this);
    auto* quiet = new QTimer(socket);
    auto answered = std::make_shared<int>(0);
    auto done = std::make_shared<bool>(false);
    quiet->setSingleShot(true);
    const auto finish = [socket, answered, done, then] {
        if (std::exchange(*done, true))
            return;
        socket->abort();
        socket->deleteLater();
        then(*answered);
    };
    connect(quiet, &QTimer::timeout, this, finish);
    connect(socket, &QTcpSocket::disconnected, this, finish);
    connect(socket, &QTcpSocket::errorOccurred, this, finish);
    connect(socket, &QTcpSocket::connected, this, [socket, quiet] {
        socket->write(QByteArray("f\n").repeated(kFloodRequests));
        quiet->start(kQuietMs);
    });
    connect(socket, &QTcpSocket::readyRead, this, [socket, quiet, answered, finish] {
        *answered += int(socket->readAll().count('\n'));
        if (*answered >= kFloodRequests)
            finish();
        else
            quiet->start(kQuietMs);
    });
    socket->connectToHost(QStringLiteral("127.0.0.1"), port_);
    quiet->start(kConnectMs);
}

void NetworkNuisance::LeaveMidRequest(std::function<void()> then)
{
    auto* socket = new QTcpSocket(this);
    auto done = std::make_shared<bool>(false);
    const auto finish = [socket, done, then] {
        if (std::exchange(*done, true))
            return;
        socket->deleteLater();
        then();
    };
    connect(socket, &QTcpSocket::connected, this, [socket] {
        socket->write("F 14");
        socket->flush();
        socket->disconnectFromHost();
    });
    connect(socket, &QTcpSocket::disconnected, this, finish);
    connect(socket, &QTcpSocket::errorOccurred, this, [socket, finish](QAbstractSocket::SocketError error) {
        if (error != QAbstractSocket::RemoteHostClosedError)
            finish();
    });
    socket->connectToHost(QStringLiteral("127.0.0.1"), port_);
}
