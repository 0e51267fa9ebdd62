// The real program on a display of its own, with its real message boxes,
// against the radio simulator and a JACK surface: a box that the loss of the
// radio raises waits for the operator, while the program goes on polling,
// tuning and answering network clients.
#include "support/JackMidiSource.h"
#include "support/RadioSimProcess.h"
#include "support/RealProgram.h"
#include "support/RigctlClient.h"
#include "support/TempSettings.h"

#include <QTcpSocket>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

class ProgramUnattendedTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(x.Start()) << "Xvfb did not start";
        for (const auto& [key, value] : {std::pair{"catport", QString("3")}, {"polltime", QString("100")},
                                         {"mautoconnect", QString("1")}, {"rigtype", QString("flex")},
                                         {"rigctld", QString("1")}, {"rigctldport", QString::number(rigctlPort)}})
            t.store.Write("settings", key, value);
    }
    void TearDown() override
    {
        if (program)
            program->kill();
    }

    void StartProgram()
    {
        program = StartRealProgram({"--settings", t.store.filePath()}, x.display());
        mainWindow = WindowOf(x, *program);
        ASSERT_FALSE(mainWindow.isEmpty());
    }
    // The boxes of the program now on the screen (its main window left out).
    QStringList Boxes() const
    {
        QStringList boxes = WindowsOf(x, *program, "^Vorn-MIDI Connector$", 3000);
        boxes.removeAll(mainWindow);
        return boxes;
    }
    // Turns the wheel a click every 300 ms until the radio has `command`.
    bool Tuned(const QString& command)
    {
        return WaitFor([&] {
            surface.SendControlChange(0x64, 0x41);
            return WaitFor([&] { return radio.ReceivedCommands().contains(command); }, 300);
        });
    }

    Xvfb x;
    TempSettings t;
    const quint16 rigctlPort = RigctlClient::FreePort();
    RadioSimProcess radio;
    JackMidiSource surface;
    std::unique_ptr<QProcess> program;
    QString mainWindow;
};

// The adapter goes and comes back on its stable path: while the box about its
// loss is open, the port is opened again, polled and tuned.
TEST_F(ProgramUnattendedTest, RadioComesBackAndIsTunedWhileItsBoxIsOpen)
{
    const QString link = t.dir.filePath("radio-tty");
    t.store.Write("ports", "com3", link);
    ASSERT_TRUE(radio.Start({"--freq-a", "00014060000", "--link", link})) << radio.ErrorString().toStdString();
    StartProgram();
    ASSERT_TRUE(Tuned("FA00014060010"));

    radio.Stop();
    ASSERT_TRUE(WaitFor([&] { return Boxes().size() == 1; }));
    ASSERT_TRUE(radio.Start({"--freq-a", "00007074000", "--link", link})) << radio.ErrorString().toStdString();
    EXPECT_TRUE(WaitFor([&] { return radio.ReceivedCommands().contains("IF"); })) << "no poll reached the radio";
    EXPECT_TRUE(Tuned("FA00007074010"));
    EXPECT_EQ(Boxes().size(), 1) << "the box was closed or doubled";
    EXPECT_EQ(program->state(), QProcess::Running);
}

// A logger streams frequencies to a radio on the network that goes away; it
// leaves while the box is open. After OK the program runs on and answers the
// next client.
TEST_F(ProgramUnattendedTest, LoggerLeavingWhileTheBoxIsOpenLeavesTheProgramAnswering)
{
    ASSERT_TRUE(radio.Start({"--tcp", "0"})) << radio.ErrorString().toStdString();
    t.store.Write("ports", "com3", radio.PtyPath());
    // A slow poll: the loss shows first inside a burst of the logger's requests.
    t.store.Write("settings", "polltime", "1000");
    StartProgram();
    QTcpSocket logger;
    logger.connectToHost(QHostAddress::LocalHost, rigctlPort);
    ASSERT_TRUE(logger.waitForConnected(5000));
    const auto streaming = [&](const std::function<bool()>& until) {
        return WaitFor([&] {
            logger.write(QByteArray("F 14074000\n").repeated(50));
            return until();
        });
    };
    ASSERT_TRUE(streaming([&] { return radio.ReceivedCommands().contains("FA00014074000"); }));

    radio.Stop();
    ASSERT_TRUE(streaming([&] { return Boxes().size() == 1; }));
    logger.abort();
    x.Run("xdotool", {"windowfocus", "--sync", Boxes().value(0), "key", "Return"});
    EXPECT_TRUE(WaitFor([&] { return Boxes().isEmpty(); }));
    EXPECT_EQ(program->state(), QProcess::Running);
    EXPECT_TRUE(RigctlClient::Run(rigctlPort, {"_"}).contains("Vorn-MIDI Connector"));
}

} // namespace
