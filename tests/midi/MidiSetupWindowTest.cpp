// The MIDI setup window with the real MIDI input, on a JACK server of this
// test's own, where every MIDI source there is belongs to the test.
#include "core/IIndicator.h"
#include "core/Options.h"
#include "midi/MidiInput.h"
#include "midi/frmConfig_Midi.h"
#include "support/JackMidiSource.h"
#include "support/RecordingAlerts.h"
#include "support/RecordingLog.h"
#include "support/WaitFor.h"

#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class SetupWindow : public ::testing::Test {
protected:
    SetupWindow()
    {
        options.mautoconnect = "1";
        options.rigtype = "flex";
        QObject::connect(&midi, &MidiInput::connectedChanged, [this](bool connected) {
            lamp << (connected ? IIndicator::kGreen : IIndicator::kRed);
        });
    }
    ~SetupWindow() override { delete window.data(); }

    void Open()
    {
        window = new frmConfig_Midi(midi, options, alerts);
        QObject::connect(window, &frmConfig_Midi::mapEditorWanted,
                         [this](const QString& rigtype) { editorsWanted << rigtype; });
        window->show();
    }
    void Click(const char* button)
    {
        QTest::mouseClick(window->findChild<QPushButton*>(button), Qt::LeftButton);
    }
    QString MonitorText() const { return window->findChild<QPlainTextEdit*>()->toPlainText(); }
    bool Pumping() const { return midi.findChild<QTimer*>("tmrMIDI")->isActive(); }
    bool Monitoring() const { return midi.findChild<QTimer*>("Timer1")->isActive(); }

    RecordingAlerts alerts;
    RecordingLog log;
    MidiInput midi{log, alerts, [](const MidiEvent&) {}};
    QList<int> lamp;
    QStringList editorsWanted;
    Options options;
    QPointer<frmConfig_Midi> window;
};

} // namespace

TEST_F(SetupWindow, AutomaticConnectionOnlyToAFirstDeviceNamedExactlyVornMidi)
{
    const struct {
        const char* client;
        const char* mautoconnect;
        bool opens;
    } cases[] = {
        {"Vorn-MIDI", "1", true},       {"Vorn-MIDI", " 1 ", true},
        {"Vorn-MIDI", "0", false},      {"Vorn-MIDI", "", false},
        {"Vorn-MIDI", "yes", false},    {"Vorn-MIDI Pro", "1", false},
        {"vorn-midi", "1", false},      {"My Vorn-MIDI", "1", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.client) + " / " + c.mautoconnect);
        JackMidiSource source(c.client);
        options.mautoconnect = c.mautoconnect;
        lamp.clear();
        Open();
        auto* list = window->findChild<QListWidget*>("lstInDevs");
        ASSERT_EQ(list->count(), 1);
        EXPECT_EQ(list->currentItem()->text(), c.client);
        EXPECT_EQ(midi.IsOpen(), c.opens);
        EXPECT_EQ(Pumping(), c.opens);
        EXPECT_EQ(Monitoring(), c.opens);
        EXPECT_EQ(lamp, c.opens ? QList<int>{IIndicator::kGreen} : QList<int>{});
        EXPECT_TRUE(alerts.boxes.isEmpty());
        delete window.data();
        midi.Close();
    }
}

TEST_F(SetupWindow, WithoutDevicesOpenIsRefusedAndThePumpStops)
{
    midi.findChild<QTimer*>("tmrMIDI")->start();
    Open();
    Click("btnOpenInputDevice");
    ASSERT_EQ(alerts.boxes.size(), 2);
    EXPECT_EQ(alerts.boxes[0].text, "No MIDI device found. Please connect one and try again.");
    EXPECT_EQ(alerts.boxes[0].icon, IAlerts::Icon::None);
    EXPECT_EQ(alerts.boxes[1].text, "No input device selected!");
    EXPECT_EQ(alerts.boxes[1].title, "Error:");
    EXPECT_FALSE(Pumping());
    EXPECT_TRUE(lamp.isEmpty());

    options.rigtype = "elecraft";
    Click("cmdMapMidi");
    EXPECT_EQ(editorsWanted, QStringList{"elecraft"});
}

// Input shows in the window's own log while it is open; "&Close MIDI" ends the
// monitor for the window's life, "E&xit" leaves the device to the main pump.
TEST_F(SetupWindow, MonitorCloseOpenAndExit)
{
    JackMidiSource source;
    Open();
    ASSERT_TRUE(midi.IsOpen());
    ASSERT_TRUE(WaitFor([&] {
        source.SendControlChange(0x64, 0x41);
        return MonitorText().contains("B0 64 41 Timestamp: ");
    })) << MonitorText().toStdString();
    source.SendSysex(JackMidiSource::Sysex(12));
    ASSERT_TRUE(WaitFor([&] { return MonitorText().contains("0B F7 "); })) << MonitorText().toStdString();

    Click("cmdClose");
    Click("cmdClose");
    EXPECT_FALSE(midi.IsOpen());
    EXPECT_FALSE(Pumping());
    EXPECT_EQ(lamp, QList<int>({IIndicator::kGreen, IIndicator::kRed}));
    EXPECT_TRUE(window->isVisible());
    Click("btnOpenInputDevice");
    EXPECT_TRUE(midi.IsOpen());
    EXPECT_TRUE(Pumping());
    EXPECT_FALSE(Monitoring());

    Click("cmdExit");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
    EXPECT_TRUE(midi.IsOpen());
    EXPECT_TRUE(Pumping());
    EXPECT_TRUE(alerts.boxes.isEmpty());
}
