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
    ASSERT_TRUE(rig.PollUntil([&] { return rig.state().answering; }));
    const int before = rig.sim.ReceivedCommands().size();

    // A wheel step while the tick waits for the radio, as the MIDI pump makes it.
    rig.poll.Tick();
    ASSERT_TRUE(rig.poll.TickRunning()) << "the tick blocked until its end";
    rig.radio.SetFrequency(Vfo::A, 14060010);
    ASSERT_TRUE(rig.PollOnce());

    ASSERT_TRUE(WaitFor([&] { return rig.sim.ReceivedCommands().size() >= before + 5; }));
    const QStringList sent = rig.sim.ReceivedCommands().mid(before);
    EXPECT_EQ(sent.filter(QRegularExpression("^(IF|FB|RT|XT)$")), QStringList({"IF", "FB", "RT", "XT"}));
    EXPECT_TRUE(sent.contains("FA00014060010")) << sent.join(' ').toStdString();
    // The status reply answered a query from before the step: it proves the
    // link but must not take the step back, in this tick or (late) the next.
    EXPECT_EQ(QString::number(rig.state().vfoA) + (rig.state().answering ? " up" : " down"), "14060010 up");
    ASSERT_TRUE(rig.PollOnce());
    EXPECT_EQ(rig.state().vfoA, 14060010);
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
        burst = burst || !rig.state().answering;
    }
    ASSERT_TRUE(burst) << "the noise never took the link down";
    EXPECT_TRUE(rig.state().answering && rig.alerts.boxes.isEmpty())
        << rig.alerts.texts().join(" | ").toStdString();
}
