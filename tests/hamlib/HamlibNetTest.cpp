// A link through NET rigctl (model 2) against a rigctld of the test's own.
#include "support/RigctldProcess.h"
#include "LinkEvents.h"

#include <QTimer>
#include <gtest/gtest.h>

// For the AddressSanitizer run's leak check (with tests/support/lsan.supp):
// Hamlib 4.5.4's NET rigctl driver keeps what each open allocates in its
// model's shared description and drops it, unfreed, at the next open in the
// process (752 bytes each time, however the handles are cleaned up). Hamlib
// is built without frame pointers: only the slower unwinder finds rig_open.
extern "C" const char* __asan_default_options()
{
    return "fast_unwind_on_malloc=0";
}

extern "C" const char* __lsan_default_suppressions()
{
    return "leak:rig_open\n";
}

TEST(HamlibNet, RequestsAndStepsReachTheServerButRawTextDoesNot)
{
    RigctldProcess server;
    ASSERT_TRUE(server.Start());
    LinkEvents rig;
    rig.link.Open({2, server.address(), 0});
    rig.link.Send([] { return HamlibCommand::SetLevel("RFPOWER", 0.5); });
    rig.link.Send([] { return HamlibCommand::SetLevel("KEYSPD", 25); });
    rig.link.Send([] { return HamlibCommand::SetFunction("NB", true); });
    rig.link.PostStep(Vfo::A, 14060010);
    rig.link.Send([] { return HamlibCommand::SendRaw("FA;"); });
    ASSERT_TRUE(rig.WaitTrace("w FA; -> RPRT -11 (raw text does not go through NET rigctl)"));
    EXPECT_EQ(server.Ask({"f", "l RFPOWER", "l KEYSPD", "u NB"}), QStringList({"14060010", "0.500000", "25", "1"}));
    EXPECT_TRUE(rig.failures.isEmpty());
}

// The wheel spins on while the server is killed and started again: one
// failure, one report of steps not sent, and once the poll has opened the
// radio again the steps tune it, the last one last.
TEST(HamlibNet, ServerGoneMidSpinIsOneFailureAndStepsTuneAgainOnceItIsBack)
{
    RigctldProcess server;
    ASSERT_TRUE(server.Start());
    LinkEvents rig;
    rig.link.SetPollInterval(100);
    rig.link.Open({2, server.address(), 0});
    qint64 hertz = 14000000;
    QTimer spin;
    QObject::connect(&spin, &QTimer::timeout, [&] { rig.link.PostStep(Vfo::A, hertz += 10); });
    spin.start(5);
    const auto tuned = [&](int steps) { return WaitFor([&] { return rig.Lines("F VFOA").size() >= steps; }); };
    ASSERT_TRUE(tuned(20));
    server.Kill();
    ASSERT_TRUE(WaitFor([&] { return !rig.failures.isEmpty() && !rig.refusals.isEmpty(); }));
    ASSERT_TRUE(server.Start());
    ASSERT_TRUE(WaitFor([&] { return rig.recoveries == 1; }));
    ASSERT_TRUE(tuned(rig.Lines("F VFOA").size() + 20));
    spin.stop();
    ASSERT_TRUE(rig.WaitTrace(QStringLiteral("F VFOA %1 -> RPRT 0").arg(hertz)));
    EXPECT_FALSE(rig.link.StepsWaiting());
    EXPECT_EQ(server.Ask({"f"}), QStringList{QString::number(hertz)});
    EXPECT_EQ(rig.failures.size(), 1);
    EXPECT_EQ(rig.refusals.size(), 1);
}
