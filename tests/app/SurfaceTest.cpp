// The whole program with a MIDI surface that goes away and comes back, with
// the ALSA "Midi Through" client listed before it, with a stored pump
// interval of 0, and with another controller whose controls it has learned.
#include "ProgramHarness.h"
#include "midi/MidiDeviceList.h"
#include "midi/frmLearnControls.h"

#include <QLabel>
#include <QListWidget>
#include <QRegularExpression>

namespace {

class SurfaceTest : public ProgramHarness {
protected:
    void Start()
    {
        ASSERT_TRUE(StartRadio()) << radio.ErrorString().toStdString();
        StartProgram();
        ASSERT_TRUE(WaitFor([&] { return LinkUp(); })) << BoxTexts();
    }
    bool MidiLampGreen() const { return window->shpMidiEnabled->fillColor() == IIndicator::kGreen; }
    QStringList MidiLog() const { return window->txtMidiInDump->toPlainText().split('\n'); }
    // Sends `message` every 100 ms until `done` holds.
    bool SendUntil(const JackMidiSource::Bytes& message, const std::function<bool()>& done)
    {
        return WaitFor([&] {
            surface->Send(message);
            return WaitFor(done, 100);
        });
    }
};

} // namespace

TEST_F(SurfaceTest, SurfaceThatQuitsComesBackByItselfUntilMidiIsClosed)
{
    StartAll();
    ASSERT_TRUE(RadioGets("FA00014060010"));
    surface.reset();
    ASSERT_TRUE(WaitFor([&] { return !MidiLampGreen(); }));
    surface = std::make_unique<JackMidiSource>();
    ASSERT_TRUE(WaitFor([&] { return MidiLampGreen(); }));
    EXPECT_TRUE(RadioGets("FA00014060020"));
    EXPECT_EQ(MidiLog().filter("lost").size(), 1) << MidiLog().join('\n').toStdString();
    EXPECT_EQ(MidiLog().filter("is back").size(), 1);

    // "&Close MIDI" while the surface is away ends the watch: its return opens nothing.
    frmConfig_Midi* setup = OpenMidiSetup();
    surface.reset();
    ASSERT_TRUE(WaitFor([&] { return !MidiLampGreen(); }));
    setup->cmdClose_Click();
    surface = std::make_unique<JackMidiSource>();
    RunFor(3000);
    EXPECT_FALSE(MidiLampGreen());
    EXPECT_EQ(MidiLog().filter("is back").size(), 1);
    EXPECT_TRUE(alerts.boxes.isEmpty()) << BoxTexts();

    // Listed, then gone before it is opened: the open says why.
    surface.reset();
    setup->btnOpenInputDevice_Click();
    ASSERT_EQ(alerts.boxes.size(), 1) << BoxTexts();
    EXPECT_EQ(alerts.boxes[0].title, "Error:");
    EXPECT_FALSE(MidiLampGreen());
}

TEST_F(SurfaceTest, MidiThroughListedFirstIsLeftOutAndAPumpIntervalOfZeroIsIdle)
{
    t.store.Write("settings", "midipolltime", "0");
    JackMidiSource through("Midi Through", "Midi Through Port-0");
    surface = std::make_unique<JackMidiSource>();
    RtMidiIn probe(RtMidi::UNIX_JACK, "probe");
    ASSERT_EQ(MidiDeviceList::NameOf(probe.getPortName(0)), "Midi Through");  // as on an ALSA desk
    Start();
    EXPECT_TRUE(MidiLampGreen()) << BoxTexts();
    EXPECT_TRUE(OpenMidiSetup()->findChild<QListWidget*>("lstInDevs")->findItems("Midi Through", Qt::MatchExactly).isEmpty());
    CloseMidiSetup(window->findChild<frmConfig_Midi*>());

    QTimer* pump = Timer(*window, "tmrMIDI");
    EXPECT_FALSE(pump->isActive());
    surface->SendControlChange(0x64, 0x41);
    RunFor(1000);
    EXPECT_EQ(window->txtMidiInDump->toPlainText(), "");
    alerts.inputAnswers << "100";
    window->mnuMIDITmr->trigger();
    EXPECT_TRUE(pump->isActive());
    EXPECT_TRUE(RadioGets("FA00014060010"));
    EXPECT_TRUE(alerts.boxes.isEmpty()) << BoxTexts();
}

TEST_F(SurfaceTest, ControlsLearnedFromAnotherControllerTuneTheRadio)
{
    t.store.Write("settings", "mautoconnect", "0");
    surface = std::make_unique<JackMidiSource>("DJ Controller");
    Start();
    frmConfig_Midi* setup = OpenMidiSetup();
    auto* list = setup->findChild<QListWidget*>("lstInDevs");
    list->setCurrentItem(list->findItems("DJ Controller", Qt::MatchExactly).value(0));
    setup->btnOpenInputDevice_Click();
    ASSERT_TRUE(MidiLampGreen()) << BoxTexts();

    setup->cmdLearn_Click();
    auto* learn = setup->findChild<frmLearnControls*>();
    ASSERT_NE(learn, nullptr) << BoxTexts();
    const auto* heard = learn->findChild<QLabel*>("lblHeard");
    const auto* prompt = learn->findChild<QLabel*>("lblPrompt");
    ASSERT_TRUE(SendUntil({0xB0, 0x30, 0x41}, [&] { return prompt->text() == "Turn the control to use as Wheel A (mode 1)"; }));
    EXPECT_TRUE(heard->text().startsWith("Heard B0 30 41: 30 is")) << heard->text().toStdString();
    if (const QString dir = qEnvironmentVariable("VMC_SCREENSHOT_DIR"); !dir.isEmpty())
        learn->grab().save(dir + "/learn-controls.png");
    for (int skip = 0; skip < 3; ++skip)
        learn->cmdSkip_Click();
    ASSERT_TRUE(SendUntil({0x90, 0x30, 0x7F}, [&] { return heard->text().contains("already"); }));
    ASSERT_TRUE(SendUntil({0x90, 0x24, 0x7F}, [&] { return prompt->text() == "Press the button to use as Button 2"; }));
    while (learn->findChild<QPushButton*>("cmdSkip")->isEnabled())
        learn->cmdSkip_Click();
    EXPECT_EQ(t.store.Read("surface", "wheelahome", "-"), "30");
    EXPECT_EQ(t.store.Read("surface", "button1", "-"), "24");
    EXPECT_EQ(t.store.Read("surface", "wheelamode1", "-"), "-");
    EXPECT_TRUE(radio.ReceivedCommands().filter(QRegularExpression("^FA\\d")).isEmpty()) << "heard while learning";

    learn->cmdCancel_Click();
    setup->cmdExit_Click();
    EXPECT_TRUE(RadioGets("FA00014060010", 0x30));
    EXPECT_FALSE(MidiLog().filter(QRegularExpression("^B0 30 41 ")).isEmpty()) << "logged as it arrived";
    alerts.yesNoAnswers << IAlerts::Answer::Yes;
    OpenMidiSetup()->cmdForget_Click();
    EXPECT_EQ(t.store.Read("surface", "wheelahome", "-"), "");
    EXPECT_TRUE(alerts.boxes.size() == 1 && alerts.boxes[0].buttons == IAlerts::Buttons::YesNo) << BoxTexts();
}

TEST_F(SurfaceTest, UnreadableLearnedEntriesAreReportedOnceAndTheRestWorks)
{
    t.store.Write("surface", "wheelahome", "30");
    t.store.Write("surface", "button1", "zz");
    surface = std::make_unique<JackMidiSource>();
    Start();
    ASSERT_EQ(alerts.boxes.size(), 1) << BoxTexts();
    EXPECT_TRUE(alerts.boxes[0].text.contains("button1=zz"));
    EXPECT_TRUE(RadioGets("FA00014060010", 0x30));
    EXPECT_EQ(alerts.boxes.size(), 1) << BoxTexts();
    EXPECT_EQ(t.store.Read("surface", "button1", "-"), "zz");  // left for the user to mend
}
