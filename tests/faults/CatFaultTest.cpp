// The radio misbehaves on the CAT line while the whole program polls it.
#include "ProgramHarness.h"


namespace {

class CatFaultTest : public ProgramHarness {
protected:
    // The radio is back (a plain one) and the operator chooses its port again.
    void BringRadioBack()
    {
        ASSERT_TRUE(StartRadio()) << radio.ErrorString().toStdString();
        ChoosePortAgain();
        ASSERT_TRUE(RunUntil([&] { return LinkUp(); })) << BoxTexts().toStdString();
        EXPECT_EQ(t.store.Read("settings", "catport", ""), QString::number(kCom));
    }
};

TEST_F(CatFaultTest, SilentRadioKeepsTheLinkDownWithoutAMessage)
{
    ASSERT_TRUE(StartRadio({"--silent"})) << radio.ErrorString().toStdString();
    StartProgram();
    ASSERT_TRUE(Timer(*window, "PollTimer")->isActive());
    ASSERT_TRUE(RunUntil([&] { return CommandCount() >= 12; }));
    EXPECT_TRUE(LinkDown());
    EXPECT_TRUE(alerts.boxes.isEmpty()) << BoxTexts().toStdString();
    EXPECT_TRUE(window->txtCATDump->toPlainText().contains("IF;"));

    radio.Stop();
    BringRadioBack();
}

struct LineFault {
    const char* name;
    QStringList arguments;
    bool linkComesUp;
};

// Split, noisy and flooding lines: the program keeps running, shows no
// message, and its CAT log stays bounded.
TEST_F(CatFaultTest, BadLinesNeverBreakTheProgram)
{
    const QList<LineFault> faults = {
        {"split", {"--split", "--seed", "11"}, true},
        {"split, slow radio", {"--split", "--latency", "15", "--seed", "5"}, true},
        {"garbage", {"--garbage", "--seed", "3"}, false},
        {"flood", {"--flood"}, true},
    };
    for (const LineFault& fault : faults) {
        SCOPED_TRACE(fault.name);
        alerts.boxes.clear();
        ASSERT_TRUE(StartRadio(fault.arguments)) << radio.ErrorString().toStdString();
        if (window)
            ChoosePortAgain();
        else
            StartProgram();
        if (fault.linkComesUp) {
            EXPECT_TRUE(RunUntil([&] { return LinkUp(); }));
        }
        // Ten more ticks of the same line.
        const int sent = CommandCount();
        EXPECT_TRUE(RunUntil([&] { return CommandCount() >= sent + 40; }));
        EXPECT_TRUE(alerts.boxes.isEmpty()) << BoxTexts().toStdString();
        EXPECT_LE(window->txtCATDump->document()->blockCount(), LogView::kMaxLines);
    }
    radio.Stop();
    BringRadioBack();
}

// The simulator dies while the program polls it: its terminal vanishes.
TEST_F(CatFaultTest, RadioThatVanishesIsReportedOnceAndComesBackOnItsPort)
{
    ASSERT_TRUE(StartRadio()) << radio.ErrorString().toStdString();
    StartProgram();
    ASSERT_TRUE(RunUntil([&] { return LinkUp(); })) << BoxTexts().toStdString();
    ASSERT_TRUE(alerts.boxes.isEmpty()) << BoxTexts().toStdString();

    radio.Stop();
    ASSERT_TRUE(RunUntil([&] { return LinkDown(); }));
    // Ten ticks later the operator has one box to read, not one per tick.
    const int ticks = 10;
    RunFor(ticks * Timer(*window, "PollTimer")->interval());
    ASSERT_EQ(alerts.boxes.size(), 1) << BoxTexts().toStdString();
    EXPECT_TRUE(alerts.boxes[0].text.startsWith("VB6 runtime error (GetCAT): ") ||
                alerts.boxes[0].text.startsWith("VB6 runtime error (SendCAT): "))
        << BoxTexts().toStdString();
    EXPECT_TRUE(alerts.boxes[0].text.contains("COM3")) << BoxTexts().toStdString();
    EXPECT_TRUE(LinkDown());
    EXPECT_TRUE(Timer(*window, "PollTimer")->isActive());

    // Chosen again while the radio is still away: the port command says so.
    alerts.boxes.clear();
    ChoosePortAgain();
    ASSERT_EQ(alerts.boxes.size(), 1) << BoxTexts().toStdString();
    EXPECT_TRUE(alerts.boxes[0].text.startsWith("VB6 runtime error (mnuPortsCom3_click): "))
        << BoxTexts().toStdString();
    RunFor(3 * Timer(*window, "PollTimer")->interval());
    EXPECT_LE(alerts.boxes.size(), 2) << BoxTexts().toStdString();

    BringRadioBack();
}

} // namespace
