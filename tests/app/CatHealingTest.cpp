// The radio link heals itself under the whole program: line noise, a radio
// whose adapter is missing at start or unplugged and plugged back under the
// same name, a radio on the network whose connection drops — and the wheel
// tunes it again without the operator doing anything.
#include "ProgramHarness.h"

#include <QRegularExpression>
#include <QUrl>

namespace {

const QString kBack = QStringLiteral("COM3 is open again.");

class CatHealingTest : public ProgramHarness {
protected:
    void SetUp() override
    {
        ProgramHarness::SetUp();
        surface = std::make_unique<JackMidiSource>();
    }

    int BackLines() const { return window->txtCATDump->toPlainText().count(kBack); }
    int PollMs() const { return Timer(*window, "PollTimer")->interval(); }

    // The radio goes; after ten ticks there is one more box, naming the port.
    void ExpectGoneOnce(int boxesBefore)
    {
        ASSERT_TRUE(WaitFor([&] { return LinkDown(); }));
        RunFor(10 * PollMs());
        ASSERT_EQ(alerts.boxes.size(), boxesBefore + 1) << BoxTexts();
        EXPECT_TRUE(alerts.boxes.last().text.contains("COM3")) << BoxTexts();
        EXPECT_TRUE(alerts.boxes.last().text.contains("is gone")) << BoxTexts();
        EXPECT_TRUE(LinkDown());
    }
};

TEST_F(CatHealingTest, SerialAdapterMissingAtStartAndReplugged)
{
    StartProgram();
    ASSERT_EQ(alerts.boxes.size(), 1) << BoxTexts();
    EXPECT_TRUE(alerts.boxes[0].text.startsWith("VB6 runtime error (mnuPortsCom3_click): "));
    RunFor(3 * PollMs());
    EXPECT_EQ(alerts.boxes.size(), 1) << BoxTexts();

    // Plugged in: the chosen port opens at the next tick.
    ASSERT_TRUE(StartRadio()) << radio.ErrorString().toStdString();
    ASSERT_TRUE(WaitFor([&] { return LinkUp(); })) << BoxTexts();
    EXPECT_EQ(BackLines(), 1);
    ASSERT_TRUE(RadioGets("FA00014060010"));

    // Unplugged, and back under the same name.
    radio.Stop();
    ASSERT_NO_FATAL_FAILURE(ExpectGoneOnce(1));
    ASSERT_TRUE(StartRadio()) << radio.ErrorString().toStdString();
    ASSERT_TRUE(WaitFor([&] { return LinkUp(); })) << BoxTexts();
    EXPECT_EQ(BackLines(), 2);
    EXPECT_TRUE(RadioGets("FA00014060010")) << radio.ReceivedCommands().join(' ').toStdString();
    EXPECT_EQ(alerts.boxes.size(), 2) << BoxTexts();
}

TEST_F(CatHealingTest, NoiseBurstDoesNotKeepTheLinkDown)
{
    constexpr int kBurstAt = 9;
    ASSERT_TRUE(StartRadio({"--noise-burst", QString::number(kBurstAt), "--seed", "2"}))
        << radio.ErrorString().toStdString();
    StartProgram();
    // The burst keeps the line busy for 0.3 s, three ticks; six ticks later the link is up.
    ASSERT_TRUE(WaitFor([&] { return CommandCount() >= kBurstAt + 4 * 6; }));
    ASSERT_TRUE(WaitFor([&] { return LinkUp(); })) << BoxTexts();
    EXPECT_TRUE(window->txtCATDump->toPlainText().contains(QRegularExpression("[\\x80-\\xff]")))
        << "no noise reached the program";
    EXPECT_TRUE(RadioGets("FA00014060010"));
    EXPECT_TRUE(alerts.boxes.isEmpty()) << BoxTexts();
    EXPECT_EQ(BackLines(), 0) << "the port was closed";
}

TEST_F(CatHealingTest, RadioOnTheNetworkIsPolledTunedAndConnectedAgain)
{
    ASSERT_TRUE(radio.Start({"--tcp", "0"})) << radio.ErrorString().toStdString();
    const int port = QUrl(radio.PtyPath()).port();
    ASSERT_GT(port, 0) << radio.PtyPath().toStdString();
    // By name, as operators write it; the name is looked up while the window runs.
    t.store.Write("ports", "com3", QStringLiteral("tcp://localhost:%1").arg(port));
    StartProgram();
    EXPECT_TRUE(alerts.boxes.isEmpty()) << BoxTexts();
    ASSERT_TRUE(WaitFor([&] { return LinkUp() && CommandCount() >= 4; })) << BoxTexts();
    EXPECT_EQ(radio.ReceivedCommands().mid(0, 4), QStringList({"IF", "FB", "RT", "XT"}));
    ASSERT_TRUE(RadioGets("FA00014060010"));

    radio.Stop();
    ASSERT_NO_FATAL_FAILURE(ExpectGoneOnce(0));
    EXPECT_TRUE(alerts.boxes[0].text.contains("tcp://localhost:")) << BoxTexts();
    ASSERT_TRUE(radio.Start({"--tcp", QString::number(port)})) << radio.ErrorString().toStdString();
    ASSERT_TRUE(WaitFor([&] { return LinkUp(); })) << BoxTexts();
    EXPECT_EQ(BackLines(), 1);
    EXPECT_TRUE(RadioGets("FA00014060010")) << radio.ReceivedCommands().join(' ').toStdString();
    EXPECT_EQ(alerts.boxes.size(), 1) << BoxTexts();
}

// On the original platform a timer of interval 0 never fires.
TEST_F(CatHealingTest, StoredPollIntervalOfZeroLeavesThePollIdle)
{
    ASSERT_TRUE(StartRadio()) << radio.ErrorString().toStdString();
    for (const char* polltime : {"0", "0.4"}) {
        SCOPED_TRACE(polltime);
        t.store.Write("settings", "polltime", polltime);
        StartProgram();
        EXPECT_FALSE(Timer(*window, "PollTimer")->isActive());
        RunFor(300);
        EXPECT_EQ(CommandCount(), 0);
        EXPECT_EQ(t.store.Read("settings", "polltime", ""), polltime);
    }
    EXPECT_TRUE(alerts.boxes.isEmpty()) << BoxTexts();
}

} // namespace
