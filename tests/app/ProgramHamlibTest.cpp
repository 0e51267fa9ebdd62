// The whole program with a radio through Hamlib and a JACK surface: Hamlib's
// NET rigctl (model 2) against a rigctld of the test's own, Hamlib's TS-480
// driver against the radio simulator, and stored Hamlib radios that cannot be used.
#include "ProgramHarness.h"
#include "support/ForkedRadioSim.h"
#include "core/SurfaceControls.h"
#include "support/RigctlClient.h"
#include "support/RigctldProcess.h"

#include <QTcpSocket>

#include <QRegularExpression>

extern "C" const char* __asan_default_options()
{
    return "fast_unwind_on_malloc=0";
}

// Hamlib's NET rigctl leaks what each open after the first allocates.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:rig_open\n";
}

namespace {

class ProgramHamlibTest : public ProgramHarness {
protected:
    void Choose(const QString& model, const QString& port, const QString& speed = {})
    {
        for (const auto& [key, value] : {std::pair{"rigtype", QString("hamlib")}, {"hamlibmodel", model},
                                         {"hamlibport", port}, {"hamlibspeed", speed}})
            t.store.Write("settings", key, value);
    }
    static JackMidiSource::Bytes Press(SurfaceControls::Id button)
    {
        return {0xB0, SurfaceControls::Byte(button), SurfaceControls::kPressed};
    }
    // Turns the wheel a click every 300 ms until `done` holds.
    bool TunedUntil(const std::function<bool()>& done) { return SendUntil({0xB0, 0x64, 0x41}, done); }
    int CatLogLines(const QString& pattern) const
    {
        return window->CatLog().toPlainText().count(QRegularExpression(pattern, QRegularExpression::MultilineOption));
    }

    RigctldProcess server;
};

TEST_F(ProgramHamlibTest, TheSurfaceTunesRigctldAndTunesItAgainAfterItWasGone)
{
    ASSERT_TRUE(server.Start());
    Choose("2", server.address());
    const quint16 rigControlPort = RigctlClient::FreePort();
    t.store.Write("settings", "rigctld", "1");
    t.store.Write("settings", "rigctldport", QString::number(rigControlPort));
    StartProgram();
    ASSERT_TRUE(WaitFor([&] { return LinkUp(); })) << window->CatLog().toPlainText().toStdString();
    const qint64 start = server.Ask({"f"}).value(0).toLongLong();
    ASSERT_TRUE(TunedUntil([&] { return server.Ask({"f"}).value(0).toLongLong() > start; }));
    ASSERT_TRUE(SendUntil(Press(SurfaceControls::Id::Button1),
                          [&] { return server.Ask({"s"}, 2) == QStringList({"1", "VFOB"}); }));

    // A logger on the program's own network rig control moves the radio and reads it back.
    QTcpSocket logger;
    logger.connectToHost(QHostAddress::LocalHost, rigControlPort);
    logger.write("F 7074000\n");
    ASSERT_TRUE(WaitFor([&] { return server.Ask({"f"}).value(0) == "7074000"; }));
    RunFor(3 * PollInterval());
    logger.write("f\n");
    ASSERT_TRUE(WaitFor([&] { return logger.bytesAvailable() >= 15; }));
    EXPECT_EQ(logger.readAll(), "RPRT 0\n7074000\n");
    // Hamlib's own client uses the functions and levels the radio has,
    // which the program tells it of, and reads them back.
    EXPECT_EQ(RigctlClient::Run(rigControlPort, {"L", "RFPOWER", "0.25", "U", "NB", "1", "l", "RFPOWER", "u", "NB"}),
              "0.250000\n1\n");
    // The program answers at once and carries the requests out in turn.
    EXPECT_TRUE(WaitFor([&] { return server.Ask({"l RFPOWER", "u NB"}) == QStringList({"0.250000", "1"}); }));

    // Gone while the wheel turns, and back on the same port.
    server.Kill();
    ASSERT_TRUE(TunedUntil([&] { return !LinkUp(); }));
    RunFor(5 * PollInterval());
    ASSERT_TRUE(server.Start());
    ASSERT_TRUE(WaitFor([&] { return LinkUp(); }));
    const qint64 back = server.Ask({"f"}).value(0).toLongLong();
    EXPECT_TRUE(TunedUntil([&] { return server.Ask({"f"}).value(0).toLongLong() > back; }));
    EXPECT_EQ(CatLogLines("^Hamlib NET rigctl on .*: IO error"), 1) << window->CatLog().toPlainText().toStdString();
    EXPECT_TRUE(alerts.boxes.isEmpty()) << BoxTexts();
}

// The TS-480 has no VFO exchange: "#A/B" sets both frequencies instead.
TEST_F(ProgramHamlibTest, TheSurfaceTunesAKenwoodDriverOnTheSimulator)
{
    ForkedRadioSim sim;
    ASSERT_TRUE(sim.Start({"--freq-a", "00014060000"}));
    Choose("2028", sim.pty, "38400");
    StartProgram();
    ASSERT_TRUE(WaitFor([&] { return LinkUp(); })) << window->CatLog().toPlainText().toStdString();
    EXPECT_TRUE(TunedUntil([&] { return sim.Received("FA00014060010"); }));
    EXPECT_TRUE(SendUntil(Press(SurfaceControls::Id::Button4), [&] { return sim.Received("FB00014060010"); }));
    EXPECT_TRUE(sim.Received("FA00007030000"));
    EXPECT_TRUE(alerts.boxes.isEmpty()) << BoxTexts();
}

// One box at start-up; the rig type stays, nothing is written over and the COM port stays closed.
TEST_F(ProgramHamlibTest, AStoredRadioThatCannotBeUsedIsOneBox)
{
    const struct { QString model, port, speed, why; } cases[] = {
        {"99999", "/dev/ttyUSB0", "", "hamlibmodel=99999 is not a radio model Hamlib knows."},
        {"two", "/dev/ttyUSB0", "", "hamlibmodel=two is not a radio model Hamlib knows."},
        {"2028", "/dev/ttyUSB0", "fast", "hamlibspeed=fast is not a serial speed."},
        {"2028", "", "", "Please select a CAT Com port first."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why.toStdString());
        Choose(c.model, c.port, c.speed);
        alerts.boxes.clear();
        StartProgram();
        ASSERT_EQ(alerts.boxes.size(), 1) << BoxTexts();
        EXPECT_TRUE(alerts.boxes[0].text.contains(c.why)) << BoxTexts();
        EXPECT_TRUE(window->Menus().IsRigTypeChecked(RigType::Hamlib) && window->Menus().IsComPortChecked(3));
        EXPECT_EQ(QStringList({t.store.Read("settings", "rigtype", ""), t.store.Read("settings", "hamlibmodel", ""),
                               t.store.Read("settings", "hamlibspeed", "")}),
                  QStringList({"hamlib", c.model, c.speed}));
        EXPECT_FALSE(LinkUp());
        window.reset();
    }
}
} // namespace
