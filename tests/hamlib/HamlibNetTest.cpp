// The worker with NET rigctl (model 2) against a rigctld of the test's own.
#include "RigctldProcess.h"
#include "WorkerEvents.h"

#include <QTimer>
#include <gtest/gtest.h>

TEST(HamlibNet, RequestsAndStepsReachTheServerButRawTextDoesNot)
{
    RigctldProcess server;
    ASSERT_TRUE(server.Start());
    WorkerEvents rig;
    rig.worker.Open({2, server.address(), 0});
    rig.worker.SetLevel("RFPOWER", 0.5);
    rig.worker.SetLevel("KEYSPD", 25);
    rig.worker.SetFunction("NB", true);
    rig.worker.PostStep(HamlibVfo::A, 14060010);
    rig.worker.SendRaw("FA;", true);
    ASSERT_TRUE(rig.WaitTrace("w FA; -> RPRT -11 (raw text does not go through NET rigctl)"));
    EXPECT_EQ(server.Ask({"f", "l", "RFPOWER", "l", "KEYSPD", "u", "NB"}), "14060010\n0.500000\n25\n1\n");
    EXPECT_TRUE(rig.failures.isEmpty());
}

// The wheel spins on while the server is killed and started again: one
// failure, one report of steps not sent, and once the poll has opened the
// radio again the steps tune it, the last one last.
TEST(HamlibNet, ServerGoneMidSpinIsOneFailureAndStepsTuneAgainOnceItIsBack)
{
    RigctldProcess server;
    ASSERT_TRUE(server.Start());
    WorkerEvents rig;
    rig.worker.SetPollInterval(100);
    rig.worker.Open({2, server.address(), 0});
    qint64 hertz = 14000000;
    QTimer spin;
    QObject::connect(&spin, &QTimer::timeout, [&] { rig.worker.PostStep(HamlibVfo::A, hertz += 10); });
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
    EXPECT_FALSE(rig.worker.StepsWaiting());
    EXPECT_EQ(server.Ask({"f"}), QStringLiteral("%1\n").arg(hertz));
    EXPECT_EQ(rig.failures.size(), 1);
    EXPECT_EQ(rig.refusals.size(), 1);
}
