// The whole program serves the radio simulator to Debian's rigctl, as a
// logger or a digital-mode program uses it, while the surface tunes.
#include "app/ProgramHarness.h"
#include "support/JackMidiSource.h"
#include "support/RigctlClient.h"

#include <QRegularExpression>
#include <QTcpSocket>

namespace {
class RigctlProgramTest : public ProgramHarness {
protected:
    void SetUp() override
    {
        ProgramHarness::SetUp();
        ASSERT_FALSE(RigctlClient::Executable().isEmpty())
            << "rigctl is missing: install libhamlib-utils (scripts/setup.sh)";
        port = RigctlClient::FreePort();
        t.store.Write("settings", "rigctld", "1");
        t.store.Write("settings", "rigctldport", QString::number(port));
        t.store.Write("settings", "rigtype", "flex");
        t.store.Write("settings", "mautoconnect", "0");
    }

    void StartAll()
    {
        ASSERT_TRUE(StartRadio()) << radio.ErrorString().toStdString();
        StartProgram();
        ASSERT_TRUE(WaitFor([&] { return LinkUp(); })) << BoxTexts();
    }

    QString Rigctl(const QStringList& commands) { return RigctlClient::Run(port, commands).out; }

    bool RadioGot(const QString& command)
    {
        return WaitFor([&] { return radio.ReceivedCommands().contains(command); });
    }

    // Waits for two more status queries, so the copy comes from the radio again.
    void AwaitPoll()
    {
        const int seen = int(radio.ReceivedCommands().count("IF"));
        WaitFor([&] { return radio.ReceivedCommands().count("IF") >= seen + 2; });
    }

    // A raw client that has sent `request`.
    std::unique_ptr<QTcpSocket> Connect(const QByteArray& request)
    {
        auto socket = std::make_unique<QTcpSocket>();
        socket->connectToHost(QHostAddress::LocalHost, port);
        EXPECT_TRUE(socket->waitForConnected(2000));
        socket->write(request);
        return socket;
    }

    bool Listening()
    {
        QTcpSocket probe;
        probe.connectToHost(QHostAddress::LocalHost, port);
        return probe.waitForConnected(2000);
    }

    quint16 port = 0;
};
} // namespace

TEST_F(RigctlProgramTest, RigctlReadsSetsAndKeysTheRadio)
{
    StartAll();
    EXPECT_EQ(Rigctl({"f"}), "14060000\n");
    Rigctl({"F", "7074000", "M", "CW", "0", "S", "1", "VFOB", "I", "7075000", "T", "1"});
    for (const char* command : {"FA00007074000", "MD3", "TX", "FT1", "FB00007075000"})
        EXPECT_TRUE(RadioGot(command)) << command;
    AwaitPoll();
    EXPECT_EQ(Rigctl({"f", "m", "t", "s", "i"}), "7074000\nCW\n500\n1\n1\nVFOB\n7075000\n");
    // What the server does not carry out is refused, and rigctl goes on.
    const QString refused = Rigctl({"j", "T", "0"});
    EXPECT_TRUE(refused.contains("get_rit: error") && refused.contains("Feature not available"));
    EXPECT_TRUE(RadioGot("RX"));
    const QString catLog = window->txtCATDump->toPlainText();
    for (const char* sent : {"FA00007074000;", "MD3;", "TX;", "FT1;", "RX;"})
        EXPECT_TRUE(catLog.contains(sent)) << sent;
}

TEST_F(RigctlProgramTest, WheelAndRigctlTuneTheSameVfo)
{
    t.store.Write("settings", "mautoconnect", "1");
    t.store.Write("settings", "polltime", "1000");
    JackMidiSource wheel;
    StartAll();
    wheel.SendControlChange(0x64, 0x41);
    ASSERT_TRUE(RadioGot("FA00014060010"));
    EXPECT_EQ(Rigctl({"f"}), "14060010\n");
    // The next step builds on the frequency a client set, not on the one before it.
    Rigctl({"F", "7074000"});
    wheel.SendControlChange(0x64, 0x41);
    EXPECT_TRUE(RadioGot("FA00007074010"));
}

// Clients that vanish mid-command, send garbage, a line of megabytes, nothing
// at all or never read their answers disturb neither two rigctl at once nor the poll.
TEST_F(RigctlProgramTest, MisbehavingClientsDisturbNoOther)
{
    StartAll();
    QProcess vanishing;
    RigctlClient::Start(vanishing, port, {});
    vanishing.write("F\n");  // rigctl now asks for the frequency
    auto cutOff = Connect("F 70400");
    auto garbage = Connect("\x01\x02zz\n");
    auto flood = Connect(QByteArray(2 * 1024 * 1024, 'x'));
    auto silent = Connect("");
    auto neverReads = Connect(QByteArray("\\dump_state\n").repeated(20000));
    neverReads->setReadBufferSize(1024);
    RunFor(300);
    vanishing.kill();
    cutOff->abort();

    QProcess first, second;
    RigctlClient::Start(first, port, {"F", "7050000", "f"});
    RigctlClient::Start(second, port, {"M", "USB", "0", "m"});
    EXPECT_EQ(RigctlClient::Finish(first).out, "7050000\n");
    EXPECT_EQ(RigctlClient::Finish(second).out, "USB\n2700\n");
    EXPECT_TRUE(RadioGot("MD2"));
    EXPECT_EQ(radio.ReceivedCommands().filter(QRegularExpression("^FA")),
              QStringList({"FA00007050000"}));
    EXPECT_TRUE(WaitFor([&] { return garbage->readAll() == "RPRT -11\n"; }));
    EXPECT_TRUE(WaitFor([&] { return flood->state() == QAbstractSocket::UnconnectedState; }));
    EXPECT_EQ(silent->state(), QAbstractSocket::ConnectedState);
    AwaitPoll();
    EXPECT_TRUE(LinkUp());
    EXPECT_TRUE(alerts.boxes.isEmpty()) << BoxTexts();
}

TEST_F(RigctlProgramTest, RadioGoneIsAnIoError)
{
    StartAll();
    radio.Stop();
    ASSERT_TRUE(WaitFor([&] { return LinkDown(); }));
    const RigctlClient::Result r = RigctlClient::Run(port, {"-vv", "f"});
    EXPECT_FALSE(r.out.contains("14060000"));
    EXPECT_TRUE(r.err.contains("i/o error")) << r.err.toStdString();
}

TEST_F(RigctlProgramTest, MenuItemStartsAndStopsTheServerAndIsStoredAtOnce)
{
    t.store.Write("settings", "rigctld", "0");
    StartAll();
    EXPECT_FALSE(window->mnuRigControl->isChecked());
    EXPECT_FALSE(Listening());

    window->mnuRigControl->trigger();
    EXPECT_EQ(t.store.Read("settings", "rigctld", ""), "1");
    EXPECT_EQ(Rigctl({"f"}), "14060000\n");
    auto client = Connect("");

    window->mnuRigControl->trigger();
    EXPECT_EQ(t.store.Read("settings", "rigctld", ""), "0");
    EXPECT_TRUE(WaitFor([&] { return client->state() == QAbstractSocket::UnconnectedState; }));
    EXPECT_FALSE(Listening());

    // Another program holds the port: the server stays off and says why.
    QTcpServer other;
    ASSERT_TRUE(other.listen(QHostAddress::LocalHost, port));
    window->mnuRigControl->trigger();
    EXPECT_FALSE(window->mnuRigControl->isChecked());
    ASSERT_EQ(alerts.boxes.size(), 1);
    EXPECT_EQ(alerts.boxes[0].title, "Network Rig Control");
    EXPECT_TRUE(alerts.boxes[0].text.contains(QString::number(port))) << BoxTexts();
}

TEST_F(RigctlProgramTest, StoredPortThatIsNoPortIsReportedAndKept)
{
    t.store.Write("settings", "rigctldport", "45x");
    StartAll();
    EXPECT_FALSE(window->mnuRigControl->isChecked());
    ASSERT_EQ(alerts.boxes.size(), 1);
    EXPECT_TRUE(alerts.boxes[0].text.contains("\"45x\"")) << BoxTexts();
    EXPECT_EQ(t.store.Read("settings", "rigctldport", ""), "45x");
    EXPECT_EQ(t.store.Read("settings", "rigctld", ""), "1");
}
