// The poll's tick against the radio simulator (on COM6) paced at 38400 baud both ways:
// its pauses are timer steps, so the window and the wheel go on meanwhile.
#include "support/QtPrinters.h"
#include "support/RadioReply.h"
#include "support/SimCatRig.h"

#include <QRegularExpression>

TEST(PollSteps, TickLetsCommandsThroughAndKeepsItsOwnOrder)
{
    SimCatRig rig;
    ASSERT_NO_FATAL_FAILURE(rig.Connect({"--paced", "--freq-a", "00014060000"}, 6));
    ASSERT_TRUE(rig.PollUntil([&] { return rig.state.valid_cat_a; }));
    const int before = rig.radio.ReceivedCommands().size();

    // A wheel step while the tick waits for the radio, as the MIDI pump makes it.
    rig.poll.PollTimer_Timer();
    ASSERT_TRUE(rig.poll.TickRunning()) << "the tick blocked until its end";
    rig.state.vfo_a_str = "00014060010";
    rig.link.SendCAT("FA00014060010;");
    ASSERT_TRUE(rig.PollOnce());

    ASSERT_TRUE(WaitFor([&] { return rig.radio.ReceivedCommands().size() >= before + 5; }));
    const QStringList sent = rig.radio.ReceivedCommands().mid(before);
    EXPECT_EQ(sent.filter(QRegularExpression("^(IF|FB|RT|XT)$")), QStringList({"IF", "FB", "RT", "XT"}));
    EXPECT_TRUE(sent.contains("FA00014060010")) << sent.join(' ').toStdString();
    // The status reply answered a query from before the step: it proves the
    // link but must not take the step back, in this tick or (late) the next.
    EXPECT_EQ(rig.state.vfo_a_str + (rig.state.valid_cat_a ? " up" : " down"), "00014060010 up");
    ASSERT_TRUE(rig.PollOnce());
    EXPECT_EQ(rig.state.vfo_a_str, "00014060010");
    EXPECT_TRUE(rig.alerts.boxes.isEmpty()) << rig.alerts.texts().join(" | ").toStdString();
}

TEST(PollSteps, FirstStatusReplyAfterANoiseBurstBringsTheLinkBack)
{
    SimCatRig rig;
    // The burst follows the second tick's status query.
    ASSERT_NO_FATAL_FAILURE(rig.Connect({"--noise-burst", "5", "--seed", "5"}, 6));
    bool burst = false, statusAfterBurst = false;
    for (int tick = 0; tick < 30 && !statusAfterBurst; ++tick) {
        const int logged = rig.log.lines.size();
        ASSERT_TRUE(rig.PollOnce());
        statusAfterBurst = burst && rig.log.lines.mid(logged).join("").contains(IfReply());
        burst = burst || !rig.state.valid_cat_a;
    }
    ASSERT_TRUE(burst) << "the noise never took the link down";
    EXPECT_TRUE(rig.state.valid_cat_a && rig.lamp.color == IIndicator::kGreen && rig.alerts.boxes.isEmpty())
        << rig.alerts.texts().join(" | ").toStdString();
}
