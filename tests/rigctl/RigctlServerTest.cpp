#include "core/Options.h"
#include "core/RadioState.h"
#include "rigctl/RigctlServer.h"
#include "support/PollFlagLink.h"
#include "support/QtPrinters.h"
#include "support/RecordingCatSender.h"
#include "support/RigctlClient.h"
#include "support/WaitFor.h"

#include <QTcpSocket>
#include <gtest/gtest.h>

namespace {
// The server on a free port with a polled Flex radio; rigctl is the client.
class RigctlServerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(RigctlClient::Executable().isEmpty())
            << "rigctl is missing: install libhamlib-utils (scripts/setup.sh)";
        radio.vfo_a_str = "00014060000";
        radio.vfo_b_str = "00007030000";
        radio.Mode = "2";
        radio.tx = "0";
        radio.split = "0";
        radio.valid_cat_a = radio.valid_cat_b = true;
        options.rigtype = "flex";
        ASSERT_TRUE(server.Start(QHostAddress::LocalHost, 0)) << server.errorString().toStdString();
    }

    RigctlClient::Result Rigctl(const QStringList& commands)
    {
        return RigctlClient::Run(server.port(), commands);
    }

    // A raw client on the server's port.
    std::unique_ptr<QTcpSocket> Connect()
    {
        auto socket = std::make_unique<QTcpSocket>();
        socket->connectToHost(QHostAddress::LocalHost, server.port());
        EXPECT_TRUE(WaitFor([&] { return socket->state() == QAbstractSocket::ConnectedState; }));
        return socket;
    }

    RadioState radio;
    Options options;
    RecordingCatSender cat;
    PollFlagLink link{radio};
    RigctlServer server{radio, options, cat, link};
};
} // namespace

TEST_F(RigctlServerTest, RigctlOpensTheRigAndUsesEveryCommand)
{
    EXPECT_EQ(Rigctl({"f", "m", "v", "s", "t"}).out, "14060000\nUSB\n2700\nVFOA\n0\nVFOA\n0\n");
    const RigctlClient::Result changes =
        Rigctl({"F", "7074000", "M", "PKTUSB", "0", "T", "1", "T", "0", "S", "1", "VFOB",
                "I", "7075000", "V", "VFOB", "F", "7076000"});
    EXPECT_TRUE(changes.finished);
    EXPECT_EQ(changes.out, "") << changes.err.toStdString();
    EXPECT_EQ(cat.commands, QStringList({"FA00007074000;", "MD9;", "TX;", "RX;", "FT1;",
                                         "FB00007075000;", "FB00007076000;"}));
    // What the server does not carry out is refused, and rigctl goes on.
    const QString more = Rigctl({"f", "i", "j", "m"}).out;
    EXPECT_TRUE(more.startsWith("7074000\n7076000\nget_rit: error")) << more.toStdString();
    EXPECT_TRUE(more.contains("Feature not available"));
    EXPECT_TRUE(more.endsWith("PKTUSB\n3000\n"));
}

TEST_F(RigctlServerTest, LinkDownGivesAnIoErrorNotStaleValues)
{
    radio.valid_cat_a = false;
    // rigctl takes Hamlib's I/O error for a lost radio: it says so and opens the rig again.
    const RigctlClient::Result r = Rigctl({"-vv", "f", "F", "7074000"});
    EXPECT_TRUE(r.finished);
    EXPECT_FALSE(r.out.contains("14060000"));
    EXPECT_TRUE(r.err.contains("i/o error")) << r.err.toStdString();
    EXPECT_TRUE(cat.commands.isEmpty());
}

TEST_F(RigctlServerTest, MisbehavingClientsDisturbNoOther)
{
    auto silent = Connect();
    auto vanishing = Connect();
    vanishing->write("F 70740");
    ASSERT_TRUE(vanishing->waitForBytesWritten(1000));
    vanishing->abort();
    auto garbage = Connect();
    garbage->write("\x01\x02zz\n");
    auto neverReads = Connect();
    neverReads->setReadBufferSize(1024);
    for (int i = 0; i < 20000; ++i)
        neverReads->write("\\dump_state\n");
    auto flood = Connect();
    flood->write(QByteArray(2 * 1024 * 1024, 'x'));

    QProcess first, second;
    RigctlClient::Start(first, server.port(), {"F", "7000000", "f"});
    RigctlClient::Start(second, server.port(), {"M", "CW", "0", "m"});
    EXPECT_EQ(RigctlClient::Finish(first).out, "7000000\n");
    EXPECT_EQ(RigctlClient::Finish(second).out, "CW\n500\n");
    EXPECT_TRUE(WaitFor([&] { return garbage->readAll() == "RPRT -11\n"; }));
    EXPECT_TRUE(WaitFor([&] { return flood->state() == QAbstractSocket::UnconnectedState; }));
    EXPECT_EQ(cat.commands, QStringList({"FA00007000000;", "MD3;"}));
    EXPECT_EQ(silent->state(), QAbstractSocket::ConnectedState);
}

TEST_F(RigctlServerTest, StopClosesEveryClientAndTheFullServerTurnsMoreAway)
{
    std::vector<std::unique_ptr<QTcpSocket>> clients;
    for (int i = 0; i < RigctlServer::kMaxClients; ++i)
        clients.push_back(Connect());
    ASSERT_TRUE(WaitFor([&] { return server.clientCount() == RigctlServer::kMaxClients; }));
    QTcpSocket extra;
    extra.connectToHost(QHostAddress::LocalHost, server.port());
    EXPECT_TRUE(WaitFor([&] { return extra.state() == QAbstractSocket::UnconnectedState; }));
    server.Stop();
    EXPECT_TRUE(WaitFor([&] { return clients[0]->state() == QAbstractSocket::UnconnectedState; }));
    EXPECT_FALSE(server.isListening());
}
