#include "hamlib/HamlibRequestQueue.h"
#include "support/QtPrinters.h"

#include <QStringList>
#include <gtest/gtest.h>

// Steps that wait keep only the newest frequency of each VFO, and a request
// made between steps keeps its place among them; the worker is woken once
// until it has found the queue empty.
TEST(HamlibRequestQueue, WaitingStepsKeepTheNewestPerVfoAndTheirPlaceAmongRequests)
{
    int wakes = 0;
    HamlibRequestQueue queue([&] { ++wakes; });
    for (int i = 1; i <= 100; ++i)
        queue.PutStep(Vfo::A, 14000000 + 10 * i);
    queue.PutStep(Vfo::B, 7000000);
    QStringList taken;
    queue.Put([&] { taken << "XCHG"; });
    queue.PutStep(Vfo::A, 21000000);
    EXPECT_TRUE(queue.StepsWaiting());
    for (bool more = true; more;) {
        const auto item = queue.Take(more);
        if (item->request)
            item->request();
        for (const auto& step : item->steps)
            taken << QStringLiteral("%1 %2 #%3").arg(step.vfo == Vfo::A ? "A" : "B").arg(step.hertz).arg(item->serial);
    }
    EXPECT_EQ(taken, QStringList({"A 14001000 #101", "B 7000000 #101", "XCHG", "A 21000000 #103"}));
    EXPECT_FALSE(queue.StepsWaiting());
    queue.Put([] {});
    EXPECT_EQ(wakes, 2);
}
