// A link to Hamlib's dummy rig, in-process.
#include "LinkEvents.h"

#include <gtest/gtest.h>

namespace {
const HamlibConfig kDummy{1, {}, 0};
}

TEST(HamlibDummy, RequestsTakeEffectInOrderAndThePollReadsThemBack)
{
    LinkEvents rig;
    rig.link.SetPollInterval(100);
    rig.link.Open(kDummy);
    rig.link.Send([] { return HamlibCommand::SetFrequency(Vfo::A, 14060010); });
    rig.link.Send([] { return HamlibCommand::SetFrequency(Vfo::B, 7030000); });
    rig.link.Send([] { return HamlibCommand::SetMode("USB", 2400); });
    rig.link.Send([] { return HamlibCommand::SetSplit(true, Vfo::B); });
    rig.link.Send([] { return HamlibCommand::SetTransmit(true); });
    rig.link.Send([] { return HamlibCommand::SetRit(120); });
    rig.link.Send([] { return HamlibCommand::SetXit(-250); });
    rig.link.Send([] { return HamlibCommand::SetFunction("NB", true); });
    rig.link.Send([] { return HamlibCommand::SetFunction("RIT", true); });
    const HamlibReading r = rig.ReadingAfter("U RIT 1 -> RPRT 0");
    EXPECT_EQ(rig.Lines("[A-Z] "), QStringList({"F VFOA 14060010 -> RPRT 0", "F VFOB 7030000 -> RPRT 0",
                                                "M USB 2400 -> RPRT 0", "S 1 VFOB -> RPRT 0",
                                                "T 1 -> RPRT 0", "J 120 -> RPRT 0", "Z -250 -> RPRT 0",
                                                "U NB 1 -> RPRT 0", "U RIT 1 -> RPRT 0"}));
    EXPECT_TRUE(r.vfoA == 14060010 && r.vfoB == 7030000 && r.mode == "USB" && r.passband == 2400);
    EXPECT_TRUE(r.split == true && r.txVfo == Vfo::B && r.transmitting == true);
    EXPECT_TRUE(r.rit == 120 && r.xit == -250 && r.ritOn == true && r.noiseBlanker == true && r.vfoBInUse == false);
    EXPECT_TRUE(rig.failures.isEmpty() && rig.refusals.isEmpty());
}

TEST(HamlibDummy, RefusedRequestsAreEachReportedAndTheWorkerGoesOn)
{
    LinkEvents rig;
    rig.link.Open(kDummy);
    rig.link.Send([] { return HamlibCommand::SetLevel("LOUDNESS", 1); });
    rig.link.Send([] { return HamlibCommand::SetMode("SHOUT", 0); });
    rig.link.Send([] { return HamlibCommand::VfoOperation("JUMP"); });
    rig.link.Send([] { return HamlibCommand::SendRaw("FA;"); });
    rig.link.Send([] { return HamlibCommand::SetFrequency(Vfo::A, 7074000); });
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

// A burst of steps while the dummy rig (tens of ms per frequency) is busy
// with the first: the newest reaches it, in a few commands.
TEST(HamlibDummy, AStepBurstEndsAtTheNewestFrequencyInAFewCommands)
{
    LinkEvents rig;
    rig.link.SetPollInterval(100);
    rig.link.Open(kDummy);
    quint64 last = 0;
    for (int i = 1; i <= 1000; ++i)
        last = rig.link.PostStep(Vfo::A, 14000000 + 10 * i);
    const HamlibReading r = rig.ReadingAfter("F VFOA 14010000 -> RPRT 0");
    EXPECT_LT(rig.Lines("F VFOA").size(), 10);
    EXPECT_TRUE(r.vfoA == 14010000 && r.requestSerial == last);
    EXPECT_FALSE(rig.link.StepsWaiting());
}

TEST(HamlibDummy, AnUnknownModelIsOneFailureAndRequestsAreNotSent)
{
    LinkEvents rig;
    rig.link.Open({99999, {}, 0});
    rig.link.Send([] { return HamlibCommand::SetFrequency(Vfo::A, 7074000); });
    rig.link.PostStep(Vfo::A, 7074010);
    rig.link.Open(kDummy);
    ASSERT_TRUE(rig.WaitTrace("(requests not sent while no radio answered: 2)"));
    EXPECT_EQ(rig.failures, QStringList{"Hamlib knows no radio model 99999"});
    ASSERT_EQ(rig.refusals.size(), 1);
    EXPECT_EQ(rig.refusals[0].message, "not sent: no radio is open");
}

// "polltime" 0 reads the radio once it opens and then leaves it alone, as the program's own poll does.
TEST(HamlibDummy, APollIntervalOfZeroReadsOnlyAtOpen)
{
    LinkEvents rig;
    rig.link.SetPollInterval(0);
    rig.link.Open(kDummy);
    ASSERT_TRUE(WaitFor([&] { return rig.readings.size() == 1; }));
    WaitFor([] { return false; }, 500);
    EXPECT_EQ(rig.readings.size(), 1);
}
