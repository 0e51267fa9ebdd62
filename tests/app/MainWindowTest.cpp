// The main window offscreen, with COM numbers that open nothing: start-up,
// menus, placement, and the rule that no timer runs again under its own box.
#include "app/PortDevicesDialog.h"
#include "app/MainWindow.h"
#include "core/Routine.h"
#include "support/MainWindowParts.h"
#include "support/RecordingAlerts.h"
#include "support/TempSettings.h"
#include "support/WaitFor.h"
#include "widgets/Lamp.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <gtest/gtest.h>

const QString kPortMessage = QStringLiteral("Please select a CAT Com port first.");
const QString kLoad = "VB6 runtime error (" + RoutineName(Routine::MainWindowLoad) + "): ";

// Settings in which every COM number names a device that is not there.
struct NoDeviceSettings : TempSettings {
    NoDeviceSettings() { for (int n = 1; n <= 16; ++n) store.Write("ports", QString("com%1").arg(n), "/dev/no-such-tty"); }
};

class MainWindowTest : public ::testing::Test {
protected:
    static std::unique_ptr<MainWindow> Start(ISettingsStore& store, IAlerts& alerts)
    {
        auto w = std::make_unique<MainWindow>(store, alerts);
        w->Start();
        return w;
    }
    static QStringList CheckedPorts(const MainWindow& w)
    {
        QStringList out;
        if (w.Menus().IsChecked(MainMenus::Command::NoPort))
            out << "None";
        for (int n = 1; n <= 16; ++n)
            if (w.Menus().IsComPortChecked(n))
                out << QString("COM%1").arg(n);
        return out;
    }
    QString Stored(const QString& key) const { return t.store.Read("settings", key, "<missing>"); }
    std::string Texts() const { return alerts.texts().join('|').toStdString(); }

    NoDeviceSettings t;
    RecordingAlerts alerts;
};

// Each start-up step reports its own failure and the next step still runs;
// whatever cannot be used is left as stored, for the user to mend.
TEST_F(MainWindowTest, StartUpTakesTheStoredSettingsOrTheDefaults)
{
    // catport: as stored afterwards; polling: a chosen port is polled even while it is missing.
    const struct { QList<std::pair<const char*, const char*>> stored; QStringList boxStarts, checkedPorts;
                   QString catport; bool polling; } cases[] = {
        {{}, {kPortMessage}, {"None"}, "0", false},
        {{{"catport", "01"}}, {"VB6 runtime error (mnuPortsCom1_click): "}, {"COM1"}, "1", true},
        {{{"catport", "17"}}, {}, {}, "17", false},
        {{{"FormTop", "top"}, {"polltime", "fast"}, {"midipolltime", "99999999999"}, {"catport", "0"}},
         {kLoad + "13 - ", kPortMessage, kLoad + "13 - ", kLoad + "6 - "}, {"None"}, "0", false},
    };
    for (const auto& c : cases) {
        NoDeviceSettings s;
        for (const auto& [key, value] : c.stored)
            s.store.Write("settings", key, value);
        RecordingAlerts local;
        const auto w = Start(s.store, local);
        ASSERT_EQ(local.boxes.size(), c.boxStarts.size()) << local.texts().join('|').toStdString();
        for (int i = 0; i < c.boxStarts.size(); ++i)
            EXPECT_TRUE(local.boxes[i].text.startsWith(c.boxStarts[i])) << local.boxes[i].text.toStdString();
        EXPECT_EQ(CheckedPorts(*w), c.checkedPorts);
        EXPECT_EQ(s.store.Read("settings", "catport", ""), c.catport);
        EXPECT_TRUE(w->Menus().IsRigTypeChecked(RigType::Flex) && !w->Menus().IsRigTypeChecked(RigType::Elecraft) && !w->Menus().IsChecked(MainMenus::Command::Autoconnect));
        EXPECT_EQ(std::pair(Timer(*w, "catPollTimer")->isActive(), Timer(*w, "midiPumpTimer")->isActive()), std::pair(c.polling, false));
        EXPECT_EQ(std::pair(Timer(*w, "catPollTimer")->interval(), Timer(*w, "midiPumpTimer")->interval()), std::pair(1000, 100));
        EXPECT_FALSE(w->CatLampUp() || w->MidiLampUp());
        for (const auto& [key, value] : {std::pair{"rigtype", "flex"}, {"mautoconnect", "0"}})
            EXPECT_EQ(s.store.Read("settings", key, "<missing>"), value) << key;
        EXPECT_EQ(s.store.Read("midimap", "f6441", ""), "#UP10") << "the maps are loaded and stored";
    }
}

// Menu commands check their item and store at once; the poll intervals are
// checked against their ranges; the end stores the window's position, the
// next start puts it there, or on the primary screen when the stored place is
// on none; the readme is opened when it is there. (Update and About: ProgramTest.)
TEST_F(MainWindowTest, MenuCommandsStoreAtOnceAndTheEndStoresThePosition)
{
    auto w = Start(t.store, alerts);
    const struct { bool midi; const char* answer; int interval; } cases[] = {  // interval 0: refused
        {false, "99", 0},     {false, "100", 100},   {false, "10000", 10000}, {false, "10001", 0},
        {false, "250.5", 250}, {false, "251.5", 252}, {false, " 300 ", 300},   {true, "9", 0},
        {true, "10", 10},     {true, "1000", 1000},  {true, "1001", 0},       {true, "20.5", 20},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer);
        alerts.boxes.clear();
        alerts.inputAnswers << c.answer;
        QTimer& timer = *Timer(*w, c.midi ? "midiPumpTimer" : "catPollTimer");
        const int before = timer.interval();
        const QString key = c.midi ? "midipolltime" : "polltime", stored = Stored(key);
        w->Menus().Choose(c.midi ? MainMenus::Command::MidiInterval : MainMenus::Command::PollInterval);
        ASSERT_TRUE(alerts.inputAnswers.isEmpty() && alerts.inputDefaults.last() == stored) << "not asked";
        const QString range = c.midi ? "10 and 1000." : "100 and 10000.";
        EXPECT_EQ(alerts.texts().join('|'), c.interval ? "" : "Please enter a timer value between " + range);
        EXPECT_EQ(Stored(key), c.interval ? QString(c.answer) : stored);
        EXPECT_EQ(timer.interval(), c.interval ? c.interval : before);
        EXPECT_FALSE(timer.isActive());
    }
    alerts.inputAnswers << "soon" << "";  // not a number; no answer
    w->Menus().Choose(MainMenus::Command::PollInterval);
    w->Menus().Choose(MainMenus::Command::PollInterval);
    EXPECT_TRUE(alerts.boxes.size() == 1 &&
                alerts.boxes[0].text.startsWith("VB6 runtime error (mnuPollTimer_Click): 13 - ")) << Texts();

    alerts.boxes.clear();
    w->Menus().ChooseComPort(14);
    EXPECT_TRUE(CheckedPorts(*w) == QStringList{"COM14"} && Stored("catport") == "14");
    w->Menus().ChooseComPort(5);
    EXPECT_TRUE(alerts.boxes.size() == 2 &&
                alerts.boxes[0].text.startsWith("VB6 runtime error (mnuPortsCom16_click): ") &&
                alerts.boxes[1].text.startsWith("VB6 runtime error (mnuPortsCom5click): ")) << Texts();
    w->Menus().Choose(MainMenus::Command::NoPort);
    EXPECT_TRUE(CheckedPorts(*w) == QStringList{"None"} && Stored("catport") == "0");
    w->Menus().ChooseRigType(RigType::Elecraft);
    EXPECT_TRUE(w->Menus().IsRigTypeChecked(RigType::Elecraft) && !w->Menus().IsRigTypeChecked(RigType::Flex) && Stored("rigtype") == "elecraft");
    w->Menus().Choose(MainMenus::Command::Autoconnect);
    EXPECT_TRUE(w->Menus().IsChecked(MainMenus::Command::Autoconnect) && Stored("mautoconnect") == "1");
    w->Menus().Choose(MainMenus::Command::Autoconnect);
    EXPECT_TRUE(!w->Menus().IsChecked(MainMenus::Command::Autoconnect) && Stored("mautoconnect") == "0");

    w->move(150, 90);
    w->PressExit();
    EXPECT_TRUE(w->HasEnded());
    EXPECT_EQ(Stored("FormLeft") + ' ' + Stored("FormTop"), "2250 1350");
    t.store.Write("settings", "mautoconnect", "yes");
    w = Start(t.store, alerts);
    EXPECT_EQ(w->pos(), QPoint(150, 90));
    w->Menus().Choose(MainMenus::Command::Autoconnect);
    EXPECT_EQ(Stored("mautoconnect"), "yes") << "a value the item cannot show is left alone";

    alerts.boxes.clear();
    QStringList opened;
    w->Menus().openDocument = [&](const QString& path) { opened << path; return true; };
    const QString readme = MainMenus::ReadmePath();
    QFile::remove(readme);
    w->Menus().Choose(MainMenus::Command::ViewReadme);
    QFile(readme).open(QIODevice::WriteOnly);
    w->Menus().Choose(MainMenus::Command::ViewReadme);
    QFile::remove(readme);
    EXPECT_TRUE(opened == QStringList{readme} && alerts.boxes.size() == 1 &&
                alerts.boxes[0].text.startsWith("VB6 runtime error (mnuViewReadme_click): 53 - ")) << Texts();

    t.store.Write("settings", "FormLeft", "-300000");
    t.store.Write("settings", "FormTop", "450000");
    EXPECT_EQ(Start(t.store, alerts)->pos(), QGuiApplication::primaryScreen()->availableGeometry().topLeft());

    // "&Devices..." shows the device of each number and stores a choice at once; a blank one is no choice.
    t.store.Write("ports", "com4", "/dev/serial/by-id/usb-radio");
    PortDevicesDialog dialog(t.store, alerts, {"/dev/ttyS0", "/dev/ttyUSB0"});
    EXPECT_EQ(dialog.ShownDevice(4), "/dev/serial/by-id/usb-radio");
    dialog.Choose(2, "/dev/ttyS0");
    EXPECT_EQ(QStringList({dialog.ShownDevice(2), t.store.Read("ports", "com2", "")}),
              QStringList({"/dev/ttyS0", "/dev/ttyS0"}));
    dialog.Choose(5, "   ");
    EXPECT_EQ(t.store.Read("ports", "com5", ""), "/dev/no-such-tty");
}

// A box that runs the event loop while it is open, as a modal dialog does.
struct ModalAlerts : RecordingAlerts {
    void Tell(const QString& text, Icon icon, const QString& title) override
    {
        maxDepth = std::max(maxDepth, ++depth);
        QTest::qWait(150);
        --depth;
        RecordingAlerts::Tell(text, icon, title);
    }
    int depth = 0, maxDepth = 0;
};

TEST_F(MainWindowTest, ATimerNeverRunsAgainUnderItsOwnMessageBox)
{
    ModalAlerts modal;
    const auto w = Start(t.store, modal);
    // Polling with no port: every read fails and is reported.
    Timer(*w, "catPollTimer")->start(20);
    QTest::qWait(500);
    // The start-up box, then the poll's, and never one under another.
    EXPECT_TRUE(modal.boxes.size() >= 2 && modal.maxDepth == 1) << modal.maxDepth;
}
