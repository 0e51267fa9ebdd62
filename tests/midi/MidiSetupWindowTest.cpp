// The MIDI setup window with the real MIDI input, on a JACK server of this
// test's own, where every MIDI source there is belongs to the test.
#include "core/Options.h"
#include "midi/MidiInput.h"
#include "midi/MidiOutput.h"
#include "midi/MidiSetupWindow.h"
#include "support/JackMidiSource.h"
#include "support/RecordingAlerts.h"
#include "support/RecordingLog.h"
#include "support/WaitFor.h"

#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class SetupWindow : public ::testing::Test {
protected:
    ~SetupWindow() override { delete window.data(); }

    void Open() { (window = new MidiSetupWindow(midi, output, options, alerts))->show(); }
    void Click(const char* button) { QTest::mouseClick(window->findChild<QPushButton*>(button), Qt::LeftButton); }
    QString MonitorText() const { return window->MonitorText(); }
    bool Pumping() const { return midi.findChild<QTimer*>("midiPumpTimer")->isActive(); }
    bool Monitoring() const { return midi.findChild<QTimer*>("midiMonitorTimer")->isActive(); }

    RecordingAlerts alerts;
    RecordingLog log;
    MidiInput midi{log, alerts, [](const MidiEvent&) {}};
    MidiOutput output{log};
    QList<bool> connected;  // what the input reported, in order
    QMetaObject::Connection watch =
        QObject::connect(&midi, &MidiInput::connectedChanged, [this](bool up) { connected << up; });
    Options options;
    QPointer<MidiSetupWindow> window;
};

} // namespace

TEST_F(SetupWindow, AutomaticConnectionOnlyToAFirstDeviceNamedExactlyVornMidi)
{
    const struct { const char* client; const char* mautoconnect; bool opens; } cases[] = {
        {"Vorn-MIDI", "1", true},       {"Vorn-MIDI", " 1 ", true},
        {"Vorn-MIDI", "0", false},      {"Vorn-MIDI", "", false},
        {"Vorn-MIDI", "yes", false},    {"Vorn-MIDI Pro", "1", false},
        {"vorn-midi", "1", false},      {"My Vorn-MIDI", "1", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.client) + " / " + c.mautoconnect);
        JackMidiSource source(c.client);
        options.SetText(Options::Key::Autoconnect, c.mautoconnect);
        connected.clear();
        Open();
        EXPECT_EQ(window->ListedDevices(), QStringList{c.client});
        EXPECT_EQ(connected, c.opens ? QList<bool>{true} : QList<bool>{});
        EXPECT_EQ(Monitoring(), c.opens);
        EXPECT_TRUE(alerts.boxes.isEmpty());
        delete window.data();
        midi.Close();
    }
}

// (The map editor of the chosen rig type: WindowCaptionsTest and ProgramTest.)
TEST_F(SetupWindow, WithoutDevicesOpenIsRefusedAndThePumpStops)
{
    midi.findChild<QTimer*>("midiPumpTimer")->start();
    Open();
    Click("openButton");
    EXPECT_EQ(alerts.texts(), QStringList({"No MIDI device found. Please connect one and try again.",
                                           "No input device selected!"}));
    EXPECT_TRUE(alerts.boxes.size() == 2 && alerts.boxes[0].icon == IAlerts::Icon::None &&
                alerts.boxes[1].title == "Error:");
    EXPECT_FALSE(Pumping());
}

// Input shows in the window's own log while it is open; "&Close MIDI" ends the
// monitor for the window's life, "E&xit" leaves the device to the main pump.
TEST_F(SetupWindow, MonitorCloseOpenAndExit)
{
    JackMidiSource source;
    options.SetText(Options::Key::Autoconnect, "1");
    Open();
    ASSERT_TRUE(WaitFor([&] {
        source.SendControlChange(0x64, 0x41);
        return MonitorText().contains("B0 64 41 Timestamp: ");
    })) << MonitorText().toStdString();
    source.SendSysex(JackMidiSource::Sysex(12));
    ASSERT_TRUE(WaitFor([&] { return MonitorText().contains("0B F7 "); })) << MonitorText().toStdString();

    Click("closeMidiButton");
    Click("closeMidiButton");
    EXPECT_FALSE(midi.IsOpen() || Pumping());
    EXPECT_EQ(connected, QList<bool>({true, false}));
    EXPECT_TRUE(window->isVisible());
    Click("openButton");
    EXPECT_TRUE(midi.IsOpen() && Pumping() && !Monitoring());

    Click("exitButton");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull() && midi.IsOpen() && Pumping());
    EXPECT_TRUE(alerts.boxes.isEmpty());
}

// The lights go to a device that takes MIDI, never to the program's own input;
// a device chosen before that is not there now stays chosen; a choice is told.
TEST_F(SetupWindow, OutputsForTheLights)
{
    JackMidiSource source;
    RtMidiIn lightsBox(RtMidi::UNIX_JACK, "Lights Box");
    lightsBox.openVirtualPort("in");
    options.SetText(Options::Key::Autoconnect, "1");
    options.SetText(Options::Key::MidiOutput, "Gone Box");
    Open();
    ASSERT_TRUE(midi.IsOpen());
    delete window.data();
    Open();
    EXPECT_EQ(window->ListedOutputs(), QStringList({"(the input device)", "Lights Box", "Gone Box (not there)"}));
    QStringList chosen;
    QObject::connect(window, &MidiSetupWindow::outputChosen, [&](const QString& name) { chosen << name; });
    window->ChooseOutput("Lights Box");
    window->ChooseOutput("");
    EXPECT_EQ(chosen, QStringList({"Lights Box", ""}));
}
