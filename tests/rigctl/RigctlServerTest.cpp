#include "cat/CatRadio.h"
#include "core/Options.h"
#include "rigctl/RigctlServer.h"
#include "support/RadioReply.h"
#include "support/RecordingAlerts.h"
#include "support/RecordingCatLink.h"
#include "support/WaitFor.h"

#include <QEventLoop>
#include <QTcpSocket>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace {
// A radio on a line of the test's, answering at VFO A 14.060 MHz.
template <class Line>
struct AnsweringRadio {
    AnsweringRadio() { radio.TakeReply(IfReply(), true); }
    Line line;
    Options options;
    RecordingAlerts alerts;
    CatRadio radio{line, alerts, options};
};
}

// Quiet clients never lock the radio away: one that sends and reads nothing
// for the idle limit is dropped, and when every place is taken a newcomer
// takes the place of the one quiet longest, while a client at work keeps its own.
TEST(RigctlServer, QuietClientsMakeRoomForOthers)
{
    AnsweringRadio<RecordingCatLink> r;
    RigctlServer server(r.radio, r.options, nullptr, {/*idleMs=*/1500, /*replaceQuietMs=*/400});
    ASSERT_TRUE(server.Start(QHostAddress::LocalHost, 0));
    const auto connect = [&](bool asks) {
        auto socket = std::make_unique<QTcpSocket>();
        socket->connectToHost(QHostAddress::LocalHost, server.port());
        EXPECT_TRUE(socket->waitForConnected(2000));
        if (asks)
            socket->write("f\n");
        return socket;
    };
    const auto answered = [](QTcpSocket& socket) {
        return WaitFor([&] { return socket.readAll().contains("14060000"); }, 3000);
    };

    std::vector<std::unique_ptr<QTcpSocket>> clients;
    clients.push_back(connect(true));
    ASSERT_TRUE(answered(*clients[0]));
    // The first client keeps asking all along.
    const auto busyFor = [&](int ms, const std::function<bool()>& until) {
        return WaitFor([&] {
            clients[0]->write("f\n");
            return until();
        }, ms);
    };
    for (int i = 1; i < RigctlServer::kMaxClients; ++i)
        clients.push_back(connect(false));
    ASSERT_TRUE(WaitFor([&] { return server.clientCount() == RigctlServer::kMaxClients; }));

    // Every place taken, nobody quiet long enough yet: a newcomer is turned away.
    auto early = connect(true);
    EXPECT_TRUE(WaitFor([&] { return early->state() == QAbstractSocket::UnconnectedState; }, 2000));

    // Later it takes the place of a quiet client, not of the busy one.
    busyFor(600, [] { return false; });
    auto late = connect(true);
    EXPECT_TRUE(answered(*late));
    EXPECT_EQ(server.clientCount(), RigctlServer::kMaxClients);

    // Quiet past the idle limit, every client but the busy one goes.
    EXPECT_TRUE(busyFor(5000, [&] { return server.clientCount() == 1; })) << server.clientCount();
    EXPECT_EQ(clients[0]->state(), QAbstractSocket::ConnectedState);
    clients[0]->readAll();
    EXPECT_TRUE(answered(*clients[0]));
}

// A request that waits in an event loop (as a question box does) while its
// client leaves: the connection goes once the request is done, and the next
// client is answered.
TEST(RigctlServer, ClientLeavingDuringARequestIsLetGoAfterIt)
{
    struct WaitingLine : RecordingCatLink {
        void Send(const QString&) override
        {
            QEventLoop wait;
            QTimer::singleShot(300, &wait, &QEventLoop::quit);
            wait.exec();
        }
    };
    AnsweringRadio<WaitingLine> r;
    RigctlServer server(r.radio, r.options);
    ASSERT_TRUE(server.Start(QHostAddress::LocalHost, 0));
    QTcpSocket leaving;
    leaving.connectToHost(QHostAddress::LocalHost, server.port());
    ASSERT_TRUE(leaving.waitForConnected(2000));
    leaving.write("F 7074000\nF 7075000\n");
    QTimer::singleShot(100, &leaving, &QTcpSocket::abort);
    EXPECT_TRUE(WaitFor([&] { return server.clientCount() == 0; }, 5000));
    QTcpSocket next;
    next.connectToHost(QHostAddress::LocalHost, server.port());
    next.write("_\n");
    EXPECT_TRUE(WaitFor([&] { return next.readAll().contains("Vorn-MIDI Connector"); }, 3000));
}
