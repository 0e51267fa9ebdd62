#include "core/VbError.h"
#include "support/CatRig.h"
#include "support/FakeSerialPort.h"

#include <gtest/gtest.h>

namespace {
// Alerts whose boxes let the poll timer fire underneath, as a modal box's event loop would.
class ReenteringAlerts : public RecordingAlerts {
public:
    Answer MsgBox(const QString& text, Buttons buttons, Icon icon, const QString& title) override
    {
        const Answer answer = RecordingAlerts::MsgBox(text, buttons, icon, title);
        if (poll)
            poll->PollTimer_Timer();
        return answer;
    }
    CatPoll* poll = nullptr;
};

// The poll's pauses are written down among the port's events.
struct PollRig : CatRig<FakeSerialPort, ReenteringAlerts> {
    CatPoll poll{link, alerts, [this](int ms) { port.events << QStringLiteral("pause %1").arg(ms); }};
};
}

TEST(PollTimer, AsksInOrderWithPausesBeforeAllButTheFirstRead)
{
    PollRig rig;
    rig.port.open = true;
    rig.poll.PollTimer_Timer();
    EXPECT_EQ(rig.port.events,
              QStringList({"write IF;", "read", "write FB;", "pause 10", "read", "write RT;",
                           "pause 10", "read", "write XT;", "pause 10", "read"}));
}

TEST(PollTimer, ReportBoxesDoNotLetTheTickRunAgain)
{
    PollRig rig;
    rig.alerts.poll = &rig.poll;
    rig.poll.PollTimer_Timer();
    // The closed port is reported once, and the box did not start a second tick.
    ASSERT_EQ(rig.alerts.boxes.size(), 1);
    EXPECT_TRUE(rig.alerts.boxes[0].text.startsWith("VB6 runtime error (GetCAT): 8018 - "))
        << rig.alerts.boxes[0].text.toStdString();
    EXPECT_EQ(rig.port.events.count("pause 10"), 3);
}

TEST(PollTimer, FailureOutsideSendAndGetEndsTheTickWithItsOwnReport)
{
    PollRig rig;
    rig.port.open = true;
    CatPoll poll(rig.link, rig.alerts, [](int) { throw VbError(VbError::kOverflow, "Overflow"); });
    poll.PollTimer_Timer();
    EXPECT_EQ(rig.alerts.texts(), QStringList({"VB6 runtime error (PollTimer_Timer): 6 - Overflow"}));
    EXPECT_EQ(rig.port.events, QStringList({"write IF;", "read", "write FB;"}));
}
