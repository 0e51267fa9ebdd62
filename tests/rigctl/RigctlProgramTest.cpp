// The whole program serves the radio simulator to Debian's rigctl, as a
// logger or a digital-mode program uses it, while the surface tunes.
#include "app/ProgramHarness.h"
#include "support/RigctlClient.h"

#include <QTcpSocket>

class RigctlProgramTest : public ProgramHarness {
protected:
    void SetUp() override
    {
        ProgramHarness::SetUp();
        ASSERT_FALSE(RigctlClient::Executable().isEmpty()) << "rigctl is missing: install libhamlib-utils";
        for (const auto& [key, value] : {std::pair{"rigctld", QString("0")}, {"rigctldport", QString::number(port)},
                                         {"rigtype", QString("flex")}, {"polltime", QString("1000")}})
            t.store.Write("settings", key, value);
    }

    QString Rigctl(const QStringList& commands) { return RigctlClient::Run(port, commands); }
    bool RadioGot(const QString& command) { return WaitFor([&] { return radio.ReceivedCommands().contains(command); }); }

    // Waits for two more status queries, so the copy comes from the radio again.
    bool AwaitPoll()
    {
        const int seen = int(radio.ReceivedCommands().count("IF"));
        return WaitFor([&] { return radio.ReceivedCommands().count("IF") >= seen + 2; });
    }

    // A raw client that sends `request` once it is connected.
    std::unique_ptr<QTcpSocket> Connect(const QByteArray& request = {})
    {
        auto socket = std::make_unique<QTcpSocket>();
        socket->connectToHost(QHostAddress::LocalHost, port);
        socket->write(request);
        return socket;
    }
    bool Listening() { return Connect()->waitForConnected(2000); }

    const quint16 port = RigctlClient::FreePort();
};

// The menu item starts the server and is stored at once. rigctl reads, sets
// and keys the radio, and the wheel's next step builds on the frequency a
// client set, not on the one before it (the slow poll has not read it back
// yet). Misbehaving clients disturb no other. With the radio gone, rigctl gets
// an i/o error. The menu item stops the server and drops its clients; a port
// another program holds, or a stored port that is no port, is reported, and
// the stored settings are kept.
TEST_F(RigctlProgramTest, ServesRigctlBesideTheWheelFromMenuOnToMenuOff)
{
    StartAll();
    EXPECT_FALSE(Listening());
    window->Menus().Choose(MainMenus::Command::RigControl);
    EXPECT_EQ(t.store.Read("settings", "rigctld", ""), "1");
    surface->SendControlChange(0x64, 0x41);
    ASSERT_TRUE(RadioGot("FA00014060010"));
    EXPECT_EQ(Rigctl({"f"}), "14060010\n");
    Rigctl({"F", "7074000"});
    surface->SendControlChange(0x64, 0x41);
    EXPECT_TRUE(RadioGot("FA00007074010"));
    Rigctl({"M", "CW", "0", "S", "1", "VFOB", "I", "7075000", "T", "1"});
    ASSERT_TRUE(AwaitPoll());
    EXPECT_EQ(Rigctl({"f", "m", "t", "s", "i"}), "7074010\nCW\n500\n1\n1\nVFOB\n7075000\n");
    // What the server does not carry out is refused, and rigctl goes on.
    const QString refused = Rigctl({"j", "T", "0"});
    EXPECT_TRUE(refused.contains("get_rit: error") && refused.contains("Feature not available"));
    for (const char* command : {"FA00007074000", "MD3", "TX", "FT1", "FB00007075000", "RX"})  // sent and logged
        EXPECT_TRUE(RadioGot(command) && window->CatLog().toPlainText().contains(QString(command) + ';')) << command;
    // The functions and levels the link carries out, on either rig type;
    // Hamlib's client knows of them from the program and reads them back.
    EXPECT_EQ(Rigctl({"U", "NB", "1", "L", "RFPOWER", "0.25", "u", "NB", "l", "RFPOWER"}), "1\n0.250000\n");
    window->Menus().ChooseRigType(RigType::Elecraft);
    EXPECT_EQ(Rigctl({"L", "KEYSPD", "22", "U", "RIT", "0", "l", "KEYSPD"}), "22\n");
    window->Menus().ChooseRigType(RigType::Flex);
    for (const char* command : {"NB1", "PC 25", "KS 22", "RT0"})
        EXPECT_TRUE(RadioGot(command)) << command;

    // Clients that vanish mid-command, send garbage, a line of megabytes,
    // nothing at all or never read their answers, beside two rigctl at once.
    const int sent = CommandCount();
    QProcess vanishing;
    RigctlClient::Start(vanishing, port, {});
    vanishing.write("F\n");  // rigctl now asks for the frequency
    auto cutOff = Connect("F 70400");
    auto garbage = Connect("\x01\x02zz\n");
    auto flood = Connect(QByteArray(2 * 1024 * 1024, 'x'));
    auto silent = Connect();
    auto neverReads = Connect(QByteArray("\\dump_state\n").repeated(20000));
    neverReads->setReadBufferSize(1024);
    RunFor(300);
    vanishing.kill();
    cutOff->abort();
    QProcess first, second;
    RigctlClient::Start(first, port, {"F", "7050000", "f"});
    RigctlClient::Start(second, port, {"M", "USB", "0", "m"});
    EXPECT_EQ(RigctlClient::Finish(first), "7050000\n");
    EXPECT_EQ(RigctlClient::Finish(second), "USB\n2700\n");
    EXPECT_TRUE(RadioGot("MD2"));
    EXPECT_EQ(radio.ReceivedCommands().mid(sent).filter("FA"), QStringList({"FA00007050000"}));
    EXPECT_TRUE(WaitFor([&] { return garbage->readAll() == "RPRT -11\n"; }));
    EXPECT_TRUE(WaitFor([&] { return flood->state() == QAbstractSocket::UnconnectedState; }));
    EXPECT_EQ(silent->state(), QAbstractSocket::ConnectedState);
    EXPECT_TRUE(AwaitPoll() && LinkUp()) << "the poll stopped";
    EXPECT_TRUE(alerts.boxes.isEmpty()) << BoxTexts();

    radio.Stop();
    ASSERT_TRUE(WaitFor([&] { return !LinkUp(); }));
    QProcess client;
    RigctlClient::Start(client, port, {"-vv", "f"});
    EXPECT_FALSE(RigctlClient::Finish(client).contains("7050000"));
    EXPECT_TRUE(client.readAllStandardError().contains("i/o error"));

    alerts.boxes.clear();
    window->Menus().Choose(MainMenus::Command::RigControl);
    EXPECT_EQ(t.store.Read("settings", "rigctld", ""), "0");
    EXPECT_TRUE(WaitFor([&] { return silent->state() == QAbstractSocket::UnconnectedState; }));
    EXPECT_FALSE(Listening());
    QTcpServer other;
    ASSERT_TRUE(other.listen(QHostAddress::LocalHost, port));
    window->Menus().Choose(MainMenus::Command::RigControl);
    EXPECT_FALSE(window->Menus().IsChecked(MainMenus::Command::RigControl));
    EXPECT_TRUE(alerts.boxes.size() == 1 && alerts.boxes[0].title == "Network Rig Control" &&
                alerts.boxes[0].text.contains(QString::number(port))) << BoxTexts();

    // The server stays on in the settings ("1"), and the next start finds a port that is no port.
    t.store.Write("settings", "rigctldport", "45x");
    StartProgram();
    EXPECT_FALSE(window->Menus().IsChecked(MainMenus::Command::RigControl));
    EXPECT_EQ(alerts.texts().filter("\"45x\"").size(), 1) << BoxTexts();
    EXPECT_EQ(t.store.Read("settings", "rigctldport", ""), "45x");
    EXPECT_EQ(t.store.Read("settings", "rigctld", ""), "1");
}
