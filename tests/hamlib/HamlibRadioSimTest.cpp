// Hamlib's Kenwood TS-480 driver (model 2028) against the radio simulator.
#include "RigctldProcess.h"
#include "LinkEvents.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
// The radio simulator on its pseudo-terminal (as support/RadioSimProcess.h
// runs it, but forked: see ForkedProcess.h), logging every command.
struct RadioSim {
    bool Start(const QStringList& arguments = {})
    {
        return process.Start(qEnvironmentVariable("VMC_RADIOSIM"), QStringList(arguments) << "--log" << log) &&
               !(pty = process.FirstLine()).isEmpty();
    }
    bool Received(const QString& command) const
    {
        QFile file(log);
        return file.open(QIODevice::ReadOnly) && QString::fromLatin1(file.readAll()).contains(' ' + command + '\n');
    }

    QTemporaryDir dir;
    const QString log = dir.filePath("radiosim.log");
    QString pty;
    ForkedProcess process;
};
}

TEST(HamlibRadioSim, Ts480OpensAndAStepTunesTheRadio)
{
    RadioSim radio;
    ASSERT_TRUE(radio.Start());
    LinkEvents rig;
    rig.link.Open({2028, radio.pty, 38400});
    rig.link.PostStep(HamlibVfo::A, 14070000);
    rig.link.VfoOperation("XCHG");
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
    RadioSim radio;
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
        rig.link.SetFrequency(HamlibVfo::A, 7074000);
        rig.link.PostStep(HamlibVfo::A, 7074010);
        ASSERT_TRUE(WaitFor([&] { return rig.refusals.size() == 1; }));
        ASSERT_TRUE(c.appear());
        ASSERT_TRUE(WaitFor([&] { return rig.recoveries == 1; }));
        rig.link.PostStep(HamlibVfo::A, 7074020);
        ASSERT_TRUE(rig.WaitTrace("F VFOA 7074020 -> RPRT 0"));
        EXPECT_EQ(rig.failures, QStringList{c.failure});
        EXPECT_EQ(rig.refusals.size(), 1);
    }
}
