// Hamlib's Kenwood TS-480 driver (model 2028) against the radio simulator.
#include "support/ForkedRadioSim.h"
#include "support/RigctldProcess.h"
#include "LinkEvents.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>


TEST(HamlibRadioSim, Ts480OpensAndAStepTunesTheRadio)
{
    ForkedRadioSim radio;
    ASSERT_TRUE(radio.Start());
    LinkEvents rig;
    rig.link.Open({2028, radio.pty, 38400});
    rig.link.PostStep(Vfo::A, 14070000);
    rig.link.Send([] { return HamlibCommand::VfoOperation("XCHG"); });
    const HamlibReading r = rig.ReadingAfter("G XCHG -> RPRT -11 (the model has no VFO operation XCHG)");
    EXPECT_TRUE(r.vfoA == 14070000 && r.vfoB == 7030000 && r.mode == "CW");
    EXPECT_TRUE(radio.Received("FA00014070000"));
    ASSERT_EQ(rig.refusals.size(), 1);
    EXPECT_TRUE(rig.refusals[0].unavailable);
    EXPECT_TRUE(rig.failures.isEmpty());
}

// A radio that is not there when it is opened: one failure, nothing read from
// it and requests meanwhile not sent (reported once), and the poll opens it
// once it is there.
TEST(HamlibRadioSim, ARadioNotThereIsOneFailureUntilThePollFindsIt)
{
    QTemporaryDir dir;
    const QString link = dir.filePath("radio");
    ForkedRadioSim radio;
    RigctldProcess server;
    const struct { HamlibConfig config; QString failure; std::function<bool()> appear; } cases[] = {
        {{2028, link, 38400}, "Kenwood TS-480 on " + link + ": there is no such device",
         [&] { return radio.Start({"--link", link}); }},
        {{2, server.address(), 0}, "Hamlib NET rigctl on " + server.address() + ": IO error",
         [&] { return server.Start(); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.failure.toStdString());
        LinkEvents rig;
        rig.link.SetPollInterval(50);
        rig.link.Open(c.config);
        rig.link.Send([] { return HamlibCommand::SetFrequency(Vfo::A, 7074000); });
        rig.link.PostStep(Vfo::A, 7074010);
        ASSERT_TRUE(WaitFor([&] { return rig.refusals.size() == 1; }));
        EXPECT_EQ(rig.Lines("poll: "), QStringList()) << "read from a radio that did not open";
        ASSERT_TRUE(c.appear());
        ASSERT_TRUE(WaitFor([&] { return rig.recoveries == 1; }));
        rig.link.PostStep(Vfo::A, 7074020);
        ASSERT_TRUE(rig.WaitTrace("F VFOA 7074020 -> RPRT 0"));
        EXPECT_EQ(rig.failures, QStringList{c.failure});
        EXPECT_EQ(rig.refusals.size(), 1);
    }
}

// Hamlib's reads sleep 5 ms after each byte while errno holds EAGAIN, and
// Qt's mutex waits leave it there on the worker's thread: each call into
// Hamlib starts with it cleared. Ten frequencies on the paced line, errno
// left at EAGAIN before each, take about as long as ten with errno 0 (a
// reply a byte at a time would take ten times as long).
TEST(HamlibRadioSim, ErrnoLeftOnTheThreadDoesNotSlowTheRadioDown)
{
    ForkedRadioSim radio;
    ASSERT_TRUE(radio.Start({"--paced"}));
    LinkEvents rig;
    rig.link.SetPollInterval(0);
    rig.link.Open({2028, radio.pty, 38400});
    const auto tenSteps = [&](int leftErrno, qint64 from) {
        QElapsedTimer clock;
        clock.start();
        for (qint64 hertz = from; hertz < from + 100; hertz += 10)
            rig.link.Send([=] {
                errno = leftErrno;
                return HamlibCommand::SetFrequency(Vfo::A, hertz);
            });
        EXPECT_TRUE(rig.WaitTrace(QStringLiteral("F VFOA %1 -> RPRT 0").arg(from + 90)));
        return clock.elapsed();
    };
    tenSteps(0, 14000000);  // the line and the driver warmed up
    const qint64 clean = tenSteps(0, 14010000);
    const qint64 left = tenSteps(EAGAIN, 14020000);
    EXPECT_LT(left, 3 * clean + 100) << "errno 0: " << clean << " ms, EAGAIN: " << left << " ms";
}
