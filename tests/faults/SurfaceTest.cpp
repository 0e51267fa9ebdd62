// The whole program with a MIDI surface that goes away and comes back, with
// the ALSA "Midi Through" client listed before it, with a stored pump
// interval of 0, and with another controller whose controls it has learned.
#include "ProgramHarness.h"
#include "midi/frmConfig_Midi.h"
#include "midi/frmLearnControls.h"
#include "midi/MidiDeviceList.h"
#include "support/JackMidiSource.h"

#include <QLabel>
#include <QListWidget>

namespace {

constexpr unsigned char kWheelHome = 0x64;
constexpr unsigned char kUp = 0x41;

class SurfaceTest : public ProgramHarness {
protected:
    void SetUp() override
    {
        ProgramHarness::SetUp();
        t.store.Write("settings", "mautoconnect", "1");
        t.store.Write("settings", "rigtype", "flex");
    }

    void Start()
    {
        ASSERT_TRUE(StartRadio()) << radio.ErrorString().toStdString();
        StartProgram();
        ASSERT_TRUE(RunUntil([&] { return LinkUp(); })) << BoxTexts().toStdString();
    }

    bool MidiLampGreen() const { return window->shpMidiEnabled->fillColor() == IIndicator::kGreen; }
    QStringList MidiLog() const { return window->txtMidiInDump->toPlainText().split('\n'); }

    // Sends `message` every 100 ms until `done` holds: a first one may go out
    // before JACK has made the connection.
    template <class Done>
    bool SendUntil(JackMidiSource& source, const JackMidiSource::Bytes& message, Done done)
    {
        QDeadlineTimer next(0);
        return RunUntil([&] {
            if (next.hasExpired()) {
                source.Send(message);
                next.setRemainingTime(100);
            }
            return done();
        });
    }

    bool TurnUntilRadioHears(JackMidiSource& source, unsigned char control, const QString& command)
    {
        return SendUntil(source, {0xB0, control, kUp},
                         [&] { return radio.ReceivedCommands().contains(command); });
    }

    frmConfig_Midi* OpenSetup()
    {
        window->cmdConfigMidi->click();
        return window->findChild<frmConfig_Midi*>();
    }
};

TEST_F(SurfaceTest, SurfaceThatQuitsComesBackByItselfUntilMidiIsClosed)
{
    auto surface = std::make_unique<JackMidiSource>();
    Start();
    ASSERT_TRUE(MidiLampGreen()) << BoxTexts().toStdString();
    ASSERT_TRUE(TurnUntilRadioHears(*surface, kWheelHome, "FA00014060010"));

    surface.reset();
    ASSERT_TRUE(RunUntil([&] { return !MidiLampGreen(); }));
    surface = std::make_unique<JackMidiSource>();
    ASSERT_TRUE(RunUntil([&] { return MidiLampGreen(); }));
    EXPECT_TRUE(TurnUntilRadioHears(*surface, kWheelHome, "FA00014060020"));
    EXPECT_EQ(MidiLog().filter("lost").size(), 1) << MidiLog().join('\n').toStdString();
    EXPECT_EQ(MidiLog().filter("is back").size(), 1);

    // "&Close MIDI" while the surface is away ends the watch: its return opens nothing.
    frmConfig_Midi* setup = OpenSetup();
    surface.reset();
    ASSERT_TRUE(RunUntil([&] { return !MidiLampGreen(); }));
    setup->cmdClose_Click();
    surface = std::make_unique<JackMidiSource>();
    RunFor(3000);
    EXPECT_FALSE(MidiLampGreen());
    EXPECT_EQ(MidiLog().filter("is back").size(), 1);
    EXPECT_TRUE(alerts.boxes.isEmpty()) << BoxTexts().toStdString();
}

TEST_F(SurfaceTest, MidiThroughListedFirstIsLeftOutSoTheSurfaceConnectsAtStart)
{
    JackMidiSource through("Midi Through", "Midi Through Port-0");
    JackMidiSource surface;
    RtMidiIn probe(RtMidi::UNIX_JACK, "probe");
    ASSERT_GE(probe.getPortCount(), 2u);
    ASSERT_EQ(MidiDeviceList::NameOf(probe.getPortName(0)), "Midi Through");  // as on an ALSA desk

    Start();
    EXPECT_TRUE(MidiLampGreen()) << BoxTexts().toStdString();
    const auto* list = OpenSetup()->findChild<QListWidget*>("lstInDevs");
    EXPECT_TRUE(list->findItems("Midi Through", Qt::MatchExactly).isEmpty());
    EXPECT_TRUE(alerts.boxes.isEmpty()) << BoxTexts().toStdString();
}

TEST_F(SurfaceTest, StoredPumpIntervalOfZeroLeavesThePumpIdle)
{
    t.store.Write("settings", "midipolltime", "0");
    JackMidiSource surface;
    Start();
    ASSERT_TRUE(MidiLampGreen()) << BoxTexts().toStdString();
    QTimer* pump = Timer(*window, "tmrMIDI");
    EXPECT_FALSE(pump->isActive());
    surface.SendControlChange(kWheelHome, kUp);
    RunFor(1000);
    EXPECT_EQ(window->txtMidiInDump->toPlainText(), "");

    alerts.inputAnswers << "100";
    window->mnuMIDITmr->trigger();
    EXPECT_TRUE(pump->isActive());
    EXPECT_TRUE(TurnUntilRadioHears(surface, kWheelHome, "FA00014060010"));
    EXPECT_TRUE(alerts.boxes.isEmpty()) << BoxTexts().toStdString();
}

TEST_F(SurfaceTest, ControlsLearnedFromAnotherControllerTuneTheRadio)
{
    t.store.Write("settings", "mautoconnect", "0");
    JackMidiSource controller("DJ Controller");
    Start();
    frmConfig_Midi* setup = OpenSetup();
    auto* list = setup->findChild<QListWidget*>("lstInDevs");
    list->setCurrentItem(list->findItems("DJ Controller", Qt::MatchExactly).value(0));
    setup->btnOpenInputDevice_Click();
    ASSERT_TRUE(MidiLampGreen()) << BoxTexts().toStdString();

    setup->cmdLearn_Click();
    auto* learn = setup->findChild<frmLearnControls*>();
    ASSERT_NE(learn, nullptr) << BoxTexts().toStdString();
    const auto* heard = learn->findChild<QLabel*>("lblHeard");
    const auto* prompt = learn->findChild<QLabel*>("lblPrompt");
    ASSERT_TRUE(SendUntil(controller, {0xB0, 0x30, kUp}, [&] {
        return prompt->text() == "Turn the control to use as Wheel A (mode 1)";
    }));
    EXPECT_TRUE(heard->text().startsWith("Heard B0 30 41: 30 is")) << heard->text().toStdString();
    if (const QString dir = qEnvironmentVariable("VMC_SCREENSHOT_DIR"); !dir.isEmpty())
        learn->grab().save(dir + "/learn-controls.png");
    for (int skip = 0; skip < 3; ++skip)
        learn->cmdSkip_Click();
    ASSERT_TRUE(SendUntil(controller, {0x90, 0x30, 0x7F}, [&] { return heard->text().contains("already"); }));
    ASSERT_TRUE(SendUntil(controller, {0x90, 0x24, 0x7F}, [&] {
        return prompt->text() == "Press the button to use as Button 2";
    }));
    while (learn->findChild<QPushButton*>("cmdSkip")->isEnabled())
        learn->cmdSkip_Click();
    EXPECT_EQ(t.store.Read("surface", "wheelahome", "-"), "30");
    EXPECT_EQ(t.store.Read("surface", "button1", "-"), "24");
    EXPECT_EQ(t.store.Read("surface", "wheelamode1", "-"), "-");
    // What was heard while learning never reached the radio.
    EXPECT_TRUE(radio.ReceivedCommands().filter(QRegularExpression("^FA\\d")).isEmpty());

    learn->cmdCancel_Click();
    setup->cmdExit_Click();
    EXPECT_TRUE(TurnUntilRadioHears(controller, 0x30, "FA00014060010"));
    EXPECT_FALSE(MidiLog().filter(QRegularExpression("^B0 30 41 ")).isEmpty());  // as it arrived
    EXPECT_TRUE(alerts.boxes.isEmpty()) << BoxTexts().toStdString();

    alerts.yesNoAnswers << IAlerts::Answer::Yes;
    OpenSetup()->cmdForget_Click();
    EXPECT_EQ(t.store.Read("surface", "wheelahome", "-"), "");
}

TEST_F(SurfaceTest, UnreadableLearnedEntriesAreReportedOnceAndTheRestWorks)
{
    t.store.Write("surface", "wheelahome", "30");
    t.store.Write("surface", "button1", "zz");
    JackMidiSource surface;
    Start();
    ASSERT_EQ(alerts.boxes.size(), 1) << BoxTexts().toStdString();
    EXPECT_TRUE(alerts.boxes[0].text.contains("button1=zz"));
    EXPECT_TRUE(TurnUntilRadioHears(surface, 0x30, "FA00014060010"));
    EXPECT_EQ(alerts.boxes.size(), 1) << BoxTexts().toStdString();
    EXPECT_EQ(t.store.Read("surface", "button1", "-"), "zz");  // left for the user to mend
}

} // namespace
