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

// The poll's pauses are written down among the port's events and end at once.
struct PollRig : CatRig<FakeSerialPort, ReenteringAlerts> {
    CatPoll poll{link, alerts, [this](int ms, std::function<void()> next) {
                     port.events << QStringLiteral("pause %1").arg(ms);
                     next();
                 }};
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
    // The closed port is reported once, the box did not start a second tick,
    // and with nothing to ask the tick ended there.
    ASSERT_EQ(rig.alerts.boxes.size(), 1);
    EXPECT_TRUE(rig.alerts.boxes[0].text.startsWith("VB6 runtime error (GetCAT): 8018 - "))
        << rig.alerts.boxes[0].text.toStdString();
    EXPECT_FALSE(rig.poll.TickRunning());
    EXPECT_TRUE(rig.port.events.isEmpty()) << rig.port.events.join(" ").toStdString();
}

TEST(PollTimer, FailureOutsideSendAndGetEndsTheTickWithItsOwnReport)
{
    PollRig rig;
    rig.port.open = true;
    CatPoll poll(rig.link, rig.alerts,
                 [](int, std::function<void()>) { throw VbError(VbError::kOverflow, "Overflow"); });
    poll.PollTimer_Timer();
    EXPECT_EQ(rig.alerts.texts(), QStringList({"VB6 runtime error (PollTimer_Timer): 6 - Overflow"}));
    EXPECT_EQ(rig.port.events, QStringList({"write IF;", "read", "write FB;"}));
}
