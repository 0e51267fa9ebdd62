// The worker with Hamlib's dummy rig in-process.
#include "WorkerEvents.h"

#include <gtest/gtest.h>

namespace {
const HamlibConfig kDummy{1, {}, 0};
}

TEST(HamlibDummy, RequestsTakeEffectInOrderAndThePollReadsThemBack)
{
    WorkerEvents rig;
    rig.worker.SetPollInterval(100);
    rig.worker.Open(kDummy);
    rig.worker.SetFrequency(HamlibVfo::A, 14060010);
    rig.worker.SetFrequency(HamlibVfo::B, 7030000);
    rig.worker.VfoOperation("XCHG");
    rig.worker.SetMode("USB", 2400);
    rig.worker.SetSplit(true, HamlibVfo::B);
    rig.worker.SetTransmit(true);
    rig.worker.SetRit(120);
    rig.worker.SetXit(-250);
    rig.worker.SetFunction("RIT", true);
    const HamlibReading r = rig.ReadingAfter("U RIT 1 -> RPRT 0");
    EXPECT_EQ(rig.Lines("[A-Z] "), QStringList({"F VFOA 14060010 -> RPRT 0", "F VFOB 7030000 -> RPRT 0", "G XCHG -> RPRT 0",
                                                "M USB 2400 -> RPRT 0", "S 1 VFOB -> RPRT 0", "T 1 -> RPRT 0", "J 120 -> RPRT 0",
                                                "Z -250 -> RPRT 0", "U RIT 1 -> RPRT 0"}));
    EXPECT_TRUE(r.vfoA == 7030000 && r.vfoB == 14060010 && r.mode == "USB" && r.passband == 2400);
    EXPECT_TRUE(r.split == true && r.txVfo == HamlibVfo::B && r.transmitting == true);
    EXPECT_TRUE(r.rit == 120 && r.xit == -250 && r.ritOn == true);
    EXPECT_TRUE(rig.failures.isEmpty() && rig.refusals.isEmpty());
}

TEST(HamlibDummy, RefusedRequestsAreEachReportedAndTheWorkerGoesOn)
{
    WorkerEvents rig;
    rig.worker.Open(kDummy);
    rig.worker.SetLevel("LOUDNESS", 1);
    rig.worker.SetMode("SHOUT", 0);
    rig.worker.VfoOperation("JUMP");
    rig.worker.SendRaw("FA;", true);
    rig.worker.SetFrequency(HamlibVfo::A, 7074000);
    ASSERT_TRUE(rig.WaitTrace("F VFOA 7074000 -> RPRT 0"));
    const struct { QString command, message; bool unavailable; } expected[] = {
        {"L LOUDNESS 1", "Hamlib knows no level LOUDNESS", false},
        {"M SHOUT 0", "Hamlib knows no mode SHOUT", false},
        {"G JUMP", "Hamlib knows no VFO operation JUMP", false},
        {"w FA;", "Feature not available", true},
    };
    ASSERT_EQ(rig.refusals.size(), 4);
    for (int i = 0; i < 4; ++i) {
        const HamlibRefusal& r = rig.refusals[i];
        EXPECT_EQ(QStringList({r.command, r.message}), QStringList({expected[i].command, expected[i].message}));
        EXPECT_EQ(r.unavailable, expected[i].unavailable);
    }
    EXPECT_TRUE(rig.failures.isEmpty());
}

// Steps posted while the worker is busy: only the newest of each VFO goes
// out, and a request made between steps keeps its place among them.
TEST(HamlibDummy, StepsWhileBusyGoOutNewestPerVfoAroundOtherRequests)
{
    WorkerEvents rig;
    rig.worker.SetPollInterval(100);
    rig.worker.Open(kDummy);
    const auto gate = rig.Hold();
    for (int i = 1; i <= 100; ++i)
        rig.worker.PostStep(HamlibVfo::A, 14000000 + 10 * i);
    rig.worker.PostStep(HamlibVfo::B, 7000000);
    rig.worker.VfoOperation("XCHG");
    const quint64 last = rig.worker.PostStep(HamlibVfo::A, 21000000);
    gate->release();
    const HamlibReading r = rig.ReadingAfter("F VFOA 21000000 -> RPRT 0");
    EXPECT_EQ(rig.Lines("[FG] "), QStringList({"F VFOA 14001000 -> RPRT 0", "F VFOB 7000000 -> RPRT 0", "G XCHG -> RPRT 0",
                                               "F VFOA 21000000 -> RPRT 0"}));
    EXPECT_TRUE(r.vfoA == 21000000 && r.vfoB == 14001000 && r.stepSerial == last);
}

TEST(HamlibDummy, AnUnknownModelIsOneFailureAndRequestsAreNotSent)
{
    WorkerEvents rig;
    rig.worker.Open({99999, {}, 0});
    rig.worker.SetFrequency(HamlibVfo::A, 7074000);
    rig.worker.PostStep(HamlibVfo::A, 7074010);
    rig.worker.Open(kDummy);
    ASSERT_TRUE(rig.WaitTrace("(requests not sent while no radio answered: 2)"));
    EXPECT_EQ(rig.failures, QStringList{"Hamlib knows no radio model 99999"});
    ASSERT_EQ(rig.refusals.size(), 1);
    EXPECT_EQ(rig.refusals[0].message, "not sent: no radio is open");
}
