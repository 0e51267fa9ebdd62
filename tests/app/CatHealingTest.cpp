// The radio link heals itself under the whole program: line noise, a radio
// whose adapter is missing at start or unplugged while the wheel turns and
// plugged back under the same name, a radio on the network whose connection
// drops — and the wheel tunes it again without the operator doing anything.
#include "ProgramHarness.h"

#include <QRegularExpression>
#include <QUrl>

namespace {

class CatHealingTest : public ProgramHarness {
protected:
    int BackLines() const { return window->CatLog().toPlainText().count("COM3 is open again."); }

    // The radio goes while the wheel turns: the wheel is still taken, and
    // after ten ticks there is one more box, naming the port.
    void GoneWhileTheWheelTurns(int boxesBefore)
    {
        const int logged = window->MidiLog().document()->blockCount();
        for (int click = 0; click < 40; ++click) {
            if (click == 10)
                radio.Stop();
            surface->SendControlChange(0x64, 0x41);
            RunFor(10);
        }
        ASSERT_TRUE(WaitFor([&] { return !LinkUp(); }));
        RunFor(10 * PollInterval());
        EXPECT_GE(window->MidiLog().document()->blockCount(), logged + 35);
        ASSERT_EQ(alerts.boxes.size(), boxesBefore + 1) << BoxTexts();
        EXPECT_TRUE(alerts.boxes.last().text.contains("COM3") && alerts.boxes.last().text.contains("is gone"))
            << BoxTexts();
        EXPECT_FALSE(LinkUp());
    }
};

TEST_F(CatHealingTest, SerialAdapterMissingAtStartNoisyAndReplugged)
{
    StartProgram();
    ASSERT_EQ(alerts.boxes.size(), 1) << BoxTexts();
    EXPECT_TRUE(alerts.boxes[0].text.startsWith("VB6 runtime error (mnuPortsCom3_click): "));
    RunFor(3 * PollInterval());
    EXPECT_EQ(alerts.boxes.size(), 1) << BoxTexts();

    // Plugged in: the chosen port opens at the next tick. A burst of noise
    // after the ninth command keeps the line busy for 0.3 s, three ticks; six
    // ticks later the link is up, on the same open port.
    ASSERT_TRUE(StartRadio({"--noise-burst", "9", "--seed", "2"})) << radio.ErrorString().toStdString();
    ASSERT_TRUE(WaitFor([&] { return CommandCount() >= 9 + 4 * 6; }));
    ASSERT_TRUE(WaitFor([&] { return LinkUp(); })) << BoxTexts();
    EXPECT_TRUE(window->CatLog().toPlainText().contains(QRegularExpression("[\\x80-\\xff]")))
        << "no noise reached the program";
    ASSERT_TRUE(RadioGets("FA00014060010"));
    EXPECT_EQ(BackLines(), 1) << "the noise closed the port";

    // Unplugged; chosen again while away, which the port command reports; back
    // under the same name, it is found by itself.
    ASSERT_NO_FATAL_FAILURE(GoneWhileTheWheelTurns(1));
    ChoosePortAgain();
    ASSERT_EQ(alerts.boxes.size(), 3) << BoxTexts();
    EXPECT_TRUE(alerts.boxes[2].text.startsWith("VB6 runtime error (mnuPortsCom3_click): ")) << BoxTexts();
    ASSERT_TRUE(StartRadio()) << radio.ErrorString().toStdString();
    ASSERT_TRUE(WaitFor([&] { return LinkUp(); })) << BoxTexts();
    EXPECT_EQ(BackLines(), 2);
    EXPECT_TRUE(RadioGets("FA00014060010")) << radio.ReceivedCommands().join(' ').toStdString();
    EXPECT_EQ(alerts.boxes.size(), 3) << BoxTexts();
    EXPECT_EQ(t.store.Read("settings", "catport", ""), "3");
}

TEST_F(CatHealingTest, RadioOnTheNetworkIsPolledTunedAndConnectedAgain)
{
    ASSERT_TRUE(radio.Start({"--tcp", "0"})) << radio.ErrorString().toStdString();
    const int port = QUrl(radio.PtyPath()).port();
    // By name, as operators write it; the name is looked up while the window runs.
    t.store.Write("ports", "com3", QStringLiteral("tcp://localhost:%1").arg(port));
    StartProgram();
    ASSERT_TRUE(WaitFor([&] { return LinkUp() && CommandCount() >= 4; })) << BoxTexts();
    EXPECT_EQ(radio.ReceivedCommands().mid(0, 4), QStringList({"IF", "FB", "RT", "XT"}));
    ASSERT_TRUE(RadioGets("FA00014060010"));

    ASSERT_NO_FATAL_FAILURE(GoneWhileTheWheelTurns(0));
    EXPECT_TRUE(alerts.boxes[0].text.contains("tcp://localhost:")) << BoxTexts();
    ASSERT_TRUE(radio.Start({"--tcp", QString::number(port)})) << radio.ErrorString().toStdString();
    ASSERT_TRUE(WaitFor([&] { return LinkUp(); })) << BoxTexts();
    EXPECT_EQ(BackLines(), 1);
    EXPECT_TRUE(RadioGets("FA00014060010")) << radio.ReceivedCommands().join(' ').toStdString();
    EXPECT_EQ(alerts.boxes.size(), 1) << BoxTexts();
}

} // namespace
