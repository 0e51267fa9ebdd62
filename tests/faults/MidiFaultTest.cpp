// The MIDI side fails while the program runs: the control surface's client
// quits, and the radio dies while the wheel turns.
#include "ProgramHarness.h"
#include "midi/frmConfig_Midi.h"
#include "support/JackMidiSource.h"

#include <QThread>

namespace {

constexpr unsigned char kWheelA = 0x64;
constexpr unsigned char kUpSpeed1 = 0x41;

class MidiFaultTest : public ProgramHarness {
protected:
    void SetUp() override
    {
        ProgramHarness::SetUp();
        // The surface is connected automatically at start, as operators run it.
        t.store.Write("settings", "mautoconnect", "1");
        t.store.Write("settings", "rigtype", "flex");
    }

    void StartAll()
    {
        surface = std::make_unique<JackMidiSource>();
        ASSERT_TRUE(StartRadio()) << radio.ErrorString().toStdString();
        StartProgram();
        ASSERT_EQ(window->shpMidiEnabled->fillColor(), IIndicator::kGreen) << BoxTexts().toStdString();
        ASSERT_TRUE(RunUntil([&] { return LinkUp(); })) << BoxTexts().toStdString();
    }

    // One wheel click up; true once the radio has been told the new frequency.
    bool TurnAndWaitForRadio(const QString& expectedCommand)
    {
        surface->SendControlChange(kWheelA, kUpSpeed1);
        return RunUntil([&] { return radio.ReceivedCommands().contains(expectedCommand); });
    }

    frmConfig_Midi* OpenMidiSetup()
    {
        window->cmdConfigMidi->click();
        auto* setup = window->findChild<frmConfig_Midi*>();
        EXPECT_NE(setup, nullptr);
        return setup;
    }
    // "E&xit": the window goes, and with it its monitor; input goes back to the pump.
    static void CloseMidiSetup(frmConfig_Midi* setup)
    {
        setup->cmdExit_Click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    std::unique_ptr<JackMidiSource> surface;
};

TEST_F(MidiFaultTest, SurfaceClientThatQuitsAndComesBackIsOpenedAgain)
{
    StartAll();
    ASSERT_TRUE(TurnAndWaitForRadio("FA00014060010"));

    // The surface quits while open: the program runs on, the radio link too.
    surface.reset();
    RunFor(5 * Timer(*window, "tmrMIDI")->interval());
    EXPECT_TRUE(alerts.boxes.isEmpty()) << BoxTexts().toStdString();
    EXPECT_TRUE(LinkUp());

    // Looked for while it is away: the setup window says so, the pump stops.
    CloseMidiSetup(OpenMidiSetup());
    ASSERT_EQ(alerts.texts(), QStringList({"No MIDI device found. Please connect one and try again."}));
    frmConfig_Midi* setup = OpenMidiSetup();
    setup->btnOpenInputDevice_Click();
    EXPECT_EQ(alerts.texts().last(), "No input device selected!");
    EXPECT_FALSE(Timer(*window, "tmrMIDI")->isActive());
    CloseMidiSetup(setup);

    // Back under the same name: the setup window connects it again.
    alerts.boxes.clear();
    surface = std::make_unique<JackMidiSource>();
    setup = OpenMidiSetup();
    EXPECT_EQ(window->shpMidiEnabled->fillColor(), IIndicator::kGreen);
    EXPECT_TRUE(Timer(*window, "tmrMIDI")->isActive());
    CloseMidiSetup(setup);
    EXPECT_TRUE(alerts.boxes.isEmpty()) << BoxTexts().toStdString();
    EXPECT_TRUE(TurnAndWaitForRadio("FA00014060020"));
}

TEST_F(MidiFaultTest, SurfaceThatQuitsAfterBeingListedFailsToOpenWithAReason)
{
    StartAll();
    frmConfig_Midi* setup = OpenMidiSetup();
    surface.reset();
    setup->btnOpenInputDevice_Click();
    ASSERT_EQ(alerts.boxes.size(), 1) << BoxTexts().toStdString();
    EXPECT_EQ(alerts.boxes[0].title, "Error:");
    EXPECT_EQ(alerts.boxes[0].icon, IAlerts::Icon::Critical);
    EXPECT_EQ(window->shpMidiEnabled->fillColor(), IIndicator::kRed);
    EXPECT_FALSE(Timer(*window, "tmrMIDI")->isActive());
    CloseMidiSetup(setup);

    alerts.boxes.clear();
    surface = std::make_unique<JackMidiSource>();
    CloseMidiSetup(OpenMidiSetup());
    EXPECT_TRUE(alerts.boxes.isEmpty()) << BoxTexts().toStdString();
    EXPECT_TRUE(TurnAndWaitForRadio("FA00014060010"));
}

TEST_F(MidiFaultTest, RadioThatDiesWhileTheWheelTurnsIsReportedOnce)
{
    StartAll();
    ASSERT_TRUE(TurnAndWaitForRadio("FA00014060010"));
    const int logged = window->txtMidiInDump->document()->blockCount();

    // Forty clicks at 100 per second; the radio dies after the tenth.
    for (int click = 0; click < 40; ++click) {
        if (click == 10)
            radio.Stop();
        surface->SendControlChange(kWheelA, kUpSpeed1);
        RunFor(10);
    }
    ASSERT_TRUE(RunUntil([&] { return LinkDown(); })) << BoxTexts().toStdString();
    RunFor(3 * Timer(*window, "tmrMIDI")->interval());
    // The program went on taking the wheel (the odd click may be lost on the
    // way through JACK while the simulator is being killed).
    EXPECT_GE(window->txtMidiInDump->document()->blockCount(), logged + 35);
    EXPECT_LE(alerts.boxes.size(), 2) << BoxTexts().toStdString();
    for (const RecordingAlerts::Box& box : alerts.boxes)
        EXPECT_TRUE(box.text.contains("COM3")) << box.text.toStdString();

    // The radio is back; once its port is chosen again, the wheel tunes it.
    alerts.boxes.clear();
    ASSERT_TRUE(StartRadio()) << radio.ErrorString().toStdString();
    ChoosePortAgain();
    ASSERT_TRUE(RunUntil([&] { return LinkUp(); })) << BoxTexts().toStdString();
    EXPECT_TRUE(TurnAndWaitForRadio("FA00014060010"))
        << radio.ReceivedCommands().join(' ').toStdString();
    EXPECT_TRUE(alerts.boxes.isEmpty()) << BoxTexts().toStdString();
}

} // namespace
