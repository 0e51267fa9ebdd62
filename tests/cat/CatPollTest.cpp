#include "core/NumberedError.h"
#include "support/CatRig.h"
#include "support/FakeCatLine.h"

#include <gtest/gtest.h>
#include <utility>

namespace {
// The poll's pauses are written down among the port's events and end at once,
// or fail with `pauseFails`. The timer fires during the first, as it does while
// a tick waits for its step or a report box runs its event loop; the ticks
// that finish are counted.
struct PollRig : CatRig<FakeCatLine> {
    PollRig() { QObject::connect(&poll, &CatPoll::tickFinished, [this] { ++ticks; }); }
    bool pauseFails = false;
    bool reenter = true;
    int ticks = 0;
    CatPoll poll{link, alerts, [this](int ms, std::function<void()> next) {
                     port.events << QStringLiteral("pause %1").arg(ms);
                     if (std::exchange(reenter, false))
                         poll.Tick();
                     pauseFails ? throw NumberedError(NumberedError::kOverflow, "Overflow") : next();
                 }};
};
}

// A tick asks in order, pausing before every read but the first; no second
// tick starts while it runs, and a failure ends it with its report. A chosen
// port that is gone is opened again at the next tick, which then asks as usual.
TEST(PollTimer, EachTickAsksInOrderAndEndsOnce)
{
    const QStringList tick = {"write IF;", "read", "write FB;", "pause 10", "read", "write RT;", "pause 10", "read",
                              "write XT;", "pause 10", "read", "write NB;", "pause 10", "read"};
    const QString closed = "VB6 runtime error (GetCAT): 8018 - Operation valid only when the port is open";
    const struct { int chosen; bool open, pauseFails; QStringList boxes, events; } cases[] = {
        {0, true, false, {}, tick},
        {0, false, false, {closed}, {}},
        {0, true, true, {"VB6 runtime error (PollTimer_Timer): 6 - Overflow"}, {"write IF;", "read", "write FB;", "pause 10"}},
        {3, false, false, {closed}, QStringList({"close", "open 3", "open 3"}) + tick},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.events.join(' ').toStdString());
        PollRig rig;
        if (c.chosen)
            rig.link.SelectPort(c.chosen, rig.setMarks);
        rig.port.open = c.open;
        rig.pauseFails = c.pauseFails;
        rig.poll.Tick();
        EXPECT_EQ(rig.alerts.texts(), c.boxes);
        EXPECT_EQ(rig.port.events, c.events);
        EXPECT_EQ(rig.log.lines.contains("COM3 is open again."), c.chosen == 3);
        EXPECT_TRUE(rig.ticks == 1 && !rig.poll.TickRunning());
    }
}
