#include "core/KeyMap.h"
#include "core/Options.h"
#include "mapedit/MapEditors.h"
#include "midi/MidiInput.h"
#include "midi/frmConfig_Midi.h"
#include "support/JackMidiSource.h"
#include "support/RecordingAlerts.h"
#include "support/RecordingIndicator.h"
#include "support/RecordingLog.h"
#include "support/TempSettings.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

// The setup window with the real MIDI layer, on this test's own JACK server.
namespace {

const QString kNoDevice = QStringLiteral("No MIDI device found. Please connect one and try again.");

QRect Px(int left, int top, int width, int height)
{
    return QRect(left / 15, top / 15, width / 15, height / 15);
}

class SetupWindow : public ::testing::Test {
protected:
    SetupWindow()
    {
        options.mautoconnect = "1";
        options.rigtype = "flex";
        keyMap.Load(temp.store);
        QObject::connect(&midi, &MidiInput::connectedChanged, [this](bool connected) {
            lamp.SetFillColor(connected ? IIndicator::kGreen : IIndicator::kRed);
        });
    }

    ~SetupWindow() override
    {
        delete window.data();
        midi.Close();
    }

    frmConfig_Midi* Open()
    {
        window = new frmConfig_Midi(midi, options, alerts);
        QObject::connect(window, &frmConfig_Midi::mapEditorWanted,
                         [this](const QString& rigtype) { editors.Show(rigtype); });
        window->show();
        return window;
    }

    template <class Child>
    Child* Find(const char* name) const
    {
        return window->findChild<Child*>(QLatin1String(name));
    }

    void Click(const char* button) { QTest::mouseClick(Find<QPushButton>(button), Qt::LeftButton); }

    QTimer* Timer1() const { return midi.findChild<QTimer*>("Timer1"); }
    QTimer* Pump() const { return midi.findChild<QTimer*>("tmrMIDI"); }
    QString MonitorText() const { return Find<QPlainTextEdit>("txtMidiInDump")->toPlainText(); }

    // Lets the window's timers run until `done` holds (bounded for a slow machine).
    template <class Done>
    static bool RunUntil(Done done)
    {
        const QDeadlineTimer deadline(10000);
        while (!deadline.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            if (done())
                return true;
            QTest::qWait(5);
        }
        return false;
    }

    RecordingAlerts alerts;
    RecordingLog log;
    MidiInput midi{log, alerts, [](const MidiEvent&) {}};
    RecordingIndicator lamp;
    Options options;
    TempSettings temp;
    KeyMap keyMap;
    MapEditors editors{keyMap, temp.store, alerts};
    QPointer<frmConfig_Midi> window;
};

} // namespace

TEST_F(SetupWindow, WithoutDevicesOpenRefusesAndStopsThePump)
{
    Pump()->start(100);
    Open();
    ASSERT_EQ(alerts.boxes.size(), 1);
    EXPECT_EQ(alerts.boxes[0].text, kNoDevice);
    EXPECT_EQ(alerts.boxes[0].icon, IAlerts::Icon::None);
    EXPECT_EQ(alerts.boxes[0].title, "");
    EXPECT_EQ(Find<QListWidget>("lstInDevs")->count(), 0);

    Click("btnOpenInputDevice");
    ASSERT_EQ(alerts.boxes.size(), 2);
    EXPECT_EQ(alerts.boxes[1].text, "No input device selected!");
    EXPECT_EQ(alerts.boxes[1].icon, IAlerts::Icon::Information);
    EXPECT_EQ(alerts.boxes[1].title, "Error:");
    EXPECT_FALSE(Pump()->isActive());
    EXPECT_FALSE(midi.IsOpen());
    EXPECT_TRUE(lamp.history.isEmpty());
}

TEST_F(SetupWindow, AutomaticConnectionOnlyToAFirstDeviceNamedExactlyVornMidi)
{
    struct Case {
        const char* client;
        const char* mautoconnect;
        bool opens;
    };
    const Case cases[] = {
        {"Vorn-MIDI", "1", true},       {"Vorn-MIDI", " 1 ", true},
        {"Vorn-MIDI", "0", false},      {"Vorn-MIDI", "", false},
        {"Vorn-MIDI", "yes", false},    {"Vorn-MIDI Pro", "1", false},
        {"vorn-midi", "1", false},      {"My Vorn-MIDI", "1", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.client) + " / " + c.mautoconnect);
        JackMidiSource source(c.client);
        options.mautoconnect = c.mautoconnect;
        Pump()->stop();
        lamp.history.clear();
        Open();
        auto* list = Find<QListWidget>("lstInDevs");
        ASSERT_EQ(list->count(), 1);
        EXPECT_EQ(list->currentRow(), 0);
        EXPECT_EQ(list->item(0)->text(), c.client);
        EXPECT_EQ(midi.IsOpen(), c.opens);
        EXPECT_EQ(Pump()->isActive(), c.opens);
        EXPECT_EQ(Timer1()->isActive(), c.opens);
        EXPECT_EQ(lamp.history, c.opens ? QList<int>{IIndicator::kGreen} : QList<int>{});
        EXPECT_TRUE(alerts.boxes.isEmpty());
        delete window.data();
        midi.Close();
    }
}

TEST_F(SetupWindow, MonitorLogsInputInItsOwnLogWhileItFlows)
{
    JackMidiSource source;
    Open();
    ASSERT_TRUE(midi.IsOpen());
    EXPECT_EQ(Timer1()->interval(), 10);
    EXPECT_TRUE(MonitorText().isEmpty());
    ASSERT_TRUE(RunUntil([&] {
        source.SendControlChange(0x64, 0x41);
        return MonitorText().contains("B0 64 41 Timestamp: ");
    })) << MonitorText().toStdString();
    source.SendSysex(JackMidiSource::Sysex(12));
    ASSERT_TRUE(RunUntil([&] { return MonitorText().contains("12 Bytes:"); }));
    const QStringList lines = MonitorText().split('\n');
    EXPECT_TRUE(lines.contains("SysExclMsg recieved."));
    EXPECT_TRUE(lines.contains("F0 02 03 04 05 06 07 08 09 0A "));
    EXPECT_TRUE(lines.contains("0B F7 "));
    EXPECT_TRUE(alerts.boxes.isEmpty());
}

TEST_F(SetupWindow, CloseMidiTwiceAndOpenAgain)
{
    JackMidiSource source;
    Open();
    ASSERT_TRUE(midi.IsOpen());
    Click("cmdClose");
    EXPECT_FALSE(midi.IsOpen());
    EXPECT_FALSE(Pump()->isActive());
    EXPECT_FALSE(Timer1()->isActive());
    EXPECT_EQ(lamp.color, IIndicator::kRed);
    Click("cmdClose");
    EXPECT_EQ(lamp.history, QList<int>({IIndicator::kGreen, IIndicator::kRed}));
    EXPECT_TRUE(alerts.boxes.isEmpty());
    EXPECT_TRUE(window->isVisible()) << "the window stays open";

    // Opening again runs the main pump; the monitor stays off until the window is opened anew.
    Click("btnOpenInputDevice");
    EXPECT_TRUE(midi.IsOpen());
    EXPECT_TRUE(Pump()->isActive());
    EXPECT_FALSE(Timer1()->isActive());
    EXPECT_EQ(lamp.color, IIndicator::kGreen);
}

TEST_F(SetupWindow, FailedOpenLeavesTheLampRedAndThePumpStopped)
{
    options.mautoconnect = "0";
    auto source = std::make_unique<JackMidiSource>();
    Open();
    ASSERT_EQ(Find<QListWidget>("lstInDevs")->count(), 1);
    source.reset();  // the device goes away while it is still listed
    Pump()->start(100);
    Click("btnOpenInputDevice");
    ASSERT_EQ(alerts.boxes.size(), 1);
    EXPECT_EQ(alerts.boxes[0].icon, IAlerts::Icon::Critical);
    EXPECT_EQ(alerts.boxes[0].title, "Error:");
    EXPECT_FALSE(midi.IsOpen());
    EXPECT_FALSE(Pump()->isActive());
    EXPECT_FALSE(Timer1()->isActive());
    EXPECT_EQ(lamp.history, QList<int>{IIndicator::kRed});
}

TEST_F(SetupWindow, ExitKeepsTheDeviceAndThePump)
{
    JackMidiSource source;
    Open();
    ASSERT_TRUE(midi.IsOpen());
    Click("cmdExit");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
    EXPECT_TRUE(midi.IsOpen());
    EXPECT_TRUE(Pump()->isActive());
    EXPECT_EQ(lamp.color, IIndicator::kGreen);
}

TEST_F(SetupWindow, MapMidiOpensTheEditorOfTheCurrentRigType)
{
    options.mautoconnect = "0";
    Open();
    alerts.boxes.clear();
    const struct {
        const char* rigtype;
        bool elecraft;
        bool flex;
    } cases[] = {{"kenwood", false, false}, {"flex", false, true}, {"elecraft", true, true}};
    for (const auto& c : cases) {
        options.rigtype = c.rigtype;
        Click("cmdMapMidi");
        EXPECT_EQ(editors.Editor(frmMap_Midi::Rig::Elecraft) != nullptr, c.elecraft) << c.rigtype;
        EXPECT_EQ(editors.Editor(frmMap_Midi::Rig::Flex) != nullptr, c.flex) << c.rigtype;
    }
    EXPECT_TRUE(editors.Editor(frmMap_Midi::Rig::Flex)->isVisible());
    EXPECT_TRUE(alerts.boxes.isEmpty());
}

TEST_F(SetupWindow, LayoutAndTabOrder)
{
    options.mautoconnect = "0";
    Open();
    EXPECT_EQ(window->windowTitle(), "Configure Midi Input");
    EXPECT_EQ(window->size(), QSize(4725 / 15, 4575 / 15));
    const struct {
        const char* name;
        const char* text;
        QRect rect;
    } controls[] = {
        {"Label1", "Input Devices", Px(1800, 120, 1695, 255)},
        {"lstInDevs", "", Px(120, 360, 4455, 1035)},
        {"Label2", "MIDI Received Data", Px(1560, 1440, 1695, 255)},
        {"txtMidiInDump", "", Px(120, 1800, 4455, 2055)},
        {"btnOpenInputDevice", "&Open Selected Input Device", Px(120, 3960, 1575, 495)},
        {"cmdMapMidi", "&Map MIDI", Px(1800, 3960, 855, 495)},
        {"cmdClose", "&Close MIDI", Px(2760, 3960, 855, 495)},
        {"cmdExit", "E&xit", Px(3720, 3960, 855, 495)},
    };
    for (const auto& c : controls) {
        auto* w = Find<QWidget>(c.name);
        ASSERT_NE(w, nullptr) << c.name;
        EXPECT_EQ(w->pos(), c.rect.topLeft()) << c.name;
        if (auto* label = qobject_cast<QLabel*>(w)) {
            EXPECT_EQ(label->text(), c.text);
        }
        if (auto* button = qobject_cast<QPushButton*>(w)) {
            EXPECT_EQ(button->text(), c.text);
        }
    }
    EXPECT_TRUE(Find<QPlainTextEdit>("txtMidiInDump")->isReadOnly());
    EXPECT_FALSE(Timer1()->isActive());

    QStringList chain;
    QWidget* w = Find<QWidget>("cmdExit");
    for (int i = 0; i < 5; ++i) {
        chain << w->objectName();
        do
            w = w->nextInFocusChain();
        while (!(w->focusPolicy() & Qt::TabFocus));
    }
    EXPECT_EQ(chain, QStringList({"cmdExit", "lstInDevs", "btnOpenInputDevice", "cmdMapMidi",
                                  "cmdClose"}));
}

// Saves the window with a connected device and some input as a PNG file into
// $VMC_SCREENSHOT_DIR (run under xvfb-run).
TEST_F(SetupWindow, Screenshot)
{
    const QString dir = qEnvironmentVariable("VMC_SCREENSHOT_DIR");
    if (dir.isEmpty())
        GTEST_SKIP() << "set VMC_SCREENSHOT_DIR to save a screenshot";
    JackMidiSource source;
    Open();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    ASSERT_TRUE(RunUntil([&] {
        source.SendControlChange(0x64, 0x41);
        return MonitorText().count('\n') >= 3;
    }));
    source.SendControlChange(0x01, 0x7F);
    source.SendSysex(JackMidiSource::Sysex(12));
    ASSERT_TRUE(RunUntil([&] { return MonitorText().contains("0B F7 "); }));
    EXPECT_TRUE(window->grab().save(dir + "/frmConfig_Midi.png"));
}
