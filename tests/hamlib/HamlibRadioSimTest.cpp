// Hamlib's Kenwood TS-480 driver (model 2028) against the radio simulator.
#include "support/ForkedRadioSim.h"
#include "support/RigctldProcess.h"
#include "LinkEvents.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>


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

// A radio that is not there when it is opened: one failure, requests meanwhile
// not sent (reported once), and the poll opens it once it is there.
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
        ASSERT_TRUE(c.appear());
        ASSERT_TRUE(WaitFor([&] { return rig.recoveries == 1; }));
        rig.link.PostStep(Vfo::A, 7074020);
        ASSERT_TRUE(rig.WaitTrace("F VFOA 7074020 -> RPRT 0"));
        EXPECT_EQ(rig.failures, QStringList{c.failure});
        EXPECT_EQ(rig.refusals.size(), 1);
    }
}
