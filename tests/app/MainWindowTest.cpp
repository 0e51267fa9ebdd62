// The main window offscreen, with COM numbers that open nothing: start-up,
// menus, placement, and the rule that no timer runs again under its own box.
#include "app/PortDevicesDialog.h"
#include "app/frmVornMidiConnector.h"
#include "core/KeyMap.h"
#include "support/MainWindowParts.h"
#include "support/RecordingAlerts.h"
#include "support/TempSettings.h"
#include "support/WaitFor.h"
#include "widgets/IndicatorShape.h"

#include <QAction>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QGuiApplication>
#include <QScreen>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

const QString kPortMessage = QStringLiteral("Please select a CAT Com port first.");
const QString kLoad = QStringLiteral("VB6 runtime error (frmVornMidiConnector_load): ");

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (int n = 1; n <= 16; ++n)
            t.store.Write("ports", QString("com%1").arg(n), t.dir.filePath(QString("no-such-tty%1").arg(n)));
    }
    std::unique_ptr<frmVornMidiConnector> Start()
    {
        auto w = std::make_unique<frmVornMidiConnector>(t.store, alerts);
        w->Form_Load();
        return w;
    }
    static QStringList CheckedPorts(const frmVornMidiConnector& w)
    {
        QStringList out;
        if (w.mnuPortsNone->isChecked())
            out << "None";
        for (QAction* a : w.mnuPortsCom)
            if (a->isChecked())
                out << a->text();
        return out;
    }
    QString Stored(const QString& key) const { return t.store.Read("settings", key, "<missing>"); }

    TempSettings t;
    RecordingAlerts alerts;
};

} // namespace

// Each start-up step reports its own failure and the next step still runs;
// whatever cannot be used is left as stored, for the user to mend.
TEST_F(MainWindowTest, StartUpTakesTheStoredSettingsOrTheDefaults)
{
    const struct {
        QList<std::pair<const char*, const char*>> stored;
        QStringList boxStarts;
        QStringList checkedPorts;
        QString catport;  // as stored afterwards
        bool polling;     // a chosen port is polled even while it is missing
    } cases[] = {
        {{}, {kPortMessage}, {"None"}, "0", false},
        {{{"catport", "03"}}, {"VB6 runtime error (mnuPortsCom3_click): "}, {"Com&3"}, "3", true},
        {{{"catport", "17"}}, {}, {}, "17", false},
        {{{"FormTop", "top"}, {"polltime", "fast"}, {"midipolltime", "99999999999"}, {"catport", "0"}},
         {kLoad + "13 - ", kPortMessage, kLoad + "13 - ", kLoad + "6 - "}, {"None"}, "0", false},
    };
    for (const auto& c : cases) {
        TempSettings s;
        for (int n = 1; n <= 16; ++n)
            s.store.Write("ports", QString("com%1").arg(n), s.dir.filePath("no-such-tty"));
        for (const auto& [key, value] : c.stored)
            s.store.Write("settings", key, value);
        RecordingAlerts local;
        frmVornMidiConnector w(s.store, local);
        w.Form_Load();
        ASSERT_EQ(local.boxes.size(), c.boxStarts.size()) << local.texts().join('|').toStdString();
        for (int i = 0; i < c.boxStarts.size(); ++i)
            EXPECT_TRUE(local.boxes[i].text.startsWith(c.boxStarts[i])) << local.boxes[i].text.toStdString();
        EXPECT_EQ(CheckedPorts(w), c.checkedPorts);
        EXPECT_EQ(s.store.Read("settings", "catport", ""), c.catport);
        EXPECT_TRUE(w.mnuFlex->isChecked() && !w.mnuElecraft->isChecked() && !w.mnuMautoconnect->isChecked());
        EXPECT_EQ(Timer(w, "PollTimer")->isActive(), c.polling);
        EXPECT_FALSE(Timer(w, "tmrMIDI")->isActive());
        EXPECT_EQ(Timer(w, "PollTimer")->interval(), 1000);
        EXPECT_EQ(Timer(w, "tmrMIDI")->interval(), 100);
        EXPECT_EQ(w.shpCATConnected->fillColor() + w.shpMidiEnabled->fillColor(), 2 * IIndicator::kRed);
        for (const auto& [key, value] : {std::pair{"rigtype", "flex"}, {"mautoconnect", "0"}})
            EXPECT_EQ(s.store.Read("settings", key, "<missing>"), value) << key;
        EXPECT_EQ(s.store.Read("midimap", "f6441", ""), "#UP10") << "the maps are loaded and stored";
    }
}

TEST_F(MainWindowTest, MenuCommandsCheckTheirItemAndStoreAtOnce)
{
    auto w = Start();
    alerts.boxes.clear();
    w->mnuPortsCom[13]->trigger();
    EXPECT_EQ(CheckedPorts(*w), QStringList{"Com&14"});
    EXPECT_EQ(Stored("catport"), "14");
    w->mnuPortsCom[4]->trigger();
    ASSERT_EQ(alerts.boxes.size(), 2);
    EXPECT_TRUE(alerts.boxes[0].text.startsWith("VB6 runtime error (mnuPortsCom16_click): "));
    EXPECT_TRUE(alerts.boxes[1].text.startsWith("VB6 runtime error (mnuPortsCom5click): "));
    w->mnuPortsNone->trigger();
    EXPECT_EQ(CheckedPorts(*w), QStringList{"None"});
    EXPECT_EQ(Stored("catport"), "0");

    w->mnuElecraft->trigger();
    EXPECT_TRUE(w->mnuElecraft->isChecked() && !w->mnuFlex->isChecked());
    EXPECT_EQ(Stored("rigtype"), "elecraft");
    w->mnuMautoconnect->trigger();
    EXPECT_TRUE(w->mnuMautoconnect->isChecked());
    EXPECT_EQ(Stored("mautoconnect"), "1");
    w->mnuMautoconnect->trigger();
    EXPECT_EQ(Stored("mautoconnect"), "0");

    t.store.Write("settings", "mautoconnect", "yes");
    auto other = Start();
    other->mnuMautoconnect->trigger();
    EXPECT_EQ(Stored("mautoconnect"), "yes");
}

TEST_F(MainWindowTest, PollIntervalQuestions)
{
    const struct {
        bool midi;
        QString answer;
        int interval;  // 0: refused
    } cases[] = {
        {false, "99", 0},     {false, "100", 100},   {false, "10000", 10000}, {false, "10001", 0},
        {false, "250.5", 250}, {false, "251.5", 252}, {false, " 300 ", 300},   {true, "9", 0},
        {true, "10", 10},     {true, "1000", 1000},  {true, "1001", 0},       {true, "20.5", 20},
    };
    auto w = Start();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answer.toStdString());
        alerts.boxes.clear();
        alerts.inputs.clear();
        alerts.inputAnswers << c.answer;
        QTimer& timer = *Timer(*w, c.midi ? "tmrMIDI" : "PollTimer");
        const int before = timer.interval();
        const QString stored = Stored(c.midi ? "midipolltime" : "polltime");
        (c.midi ? w->mnuMIDITmr : w->mnuPollTimer)->trigger();
        ASSERT_EQ(alerts.inputs.size(), 1);
        EXPECT_EQ(alerts.inputs[0].title, c.midi ? "Enter MIDI Poll Timer Value" : "Enter Poll Timer Value");
        EXPECT_EQ(alerts.inputDefaults.last(), stored);
        if (c.interval) {
            EXPECT_TRUE(alerts.boxes.isEmpty());
            EXPECT_EQ(Stored(c.midi ? "midipolltime" : "polltime"), c.answer);
            EXPECT_EQ(timer.interval(), c.interval);
        } else {
            EXPECT_EQ(alerts.texts(), QStringList{c.midi ? "Please enter a timer value between 10 and 1000."
                                                         : "Please enter a timer value between 100 and 10000."});
            EXPECT_EQ(Stored(c.midi ? "midipolltime" : "polltime"), stored);
            EXPECT_EQ(timer.interval(), before);
        }
        EXPECT_FALSE(timer.isActive());
    }
    alerts.boxes.clear();
    alerts.inputAnswers << "soon" << "";
    w->mnuPollTimer->trigger();
    w->mnuPollTimer->trigger();
    ASSERT_EQ(alerts.boxes.size(), 1);
    EXPECT_TRUE(alerts.boxes[0].text.startsWith("VB6 runtime error (mnuPollTimer_Click): 13 - "));
}

TEST_F(MainWindowTest, PositionIsStoredOnExitAndRestoredOnAScreen)
{
    {
        auto w = Start();
        w->move(150, 90);
        QSignalSpy ended(w.get(), &frmVornMidiConnector::programEnded);
        w->cmdExit->click();
        EXPECT_GE(ended.count(), 1);
    }
    EXPECT_EQ(Stored("FormLeft"), "2250");
    EXPECT_EQ(Stored("FormTop"), "1350");
    EXPECT_EQ(Start()->pos(), QPoint(150, 90));

    t.store.Write("settings", "FormLeft", "-300000");
    t.store.Write("settings", "FormTop", "450000");
    EXPECT_EQ(Start()->pos(), QGuiApplication::primaryScreen()->availableGeometry().topLeft());
}

TEST_F(MainWindowTest, AboutAndReadme)
{
    auto w = Start();
    alerts.boxes.clear();
    w->mnuHelpAbout->trigger();
    ASSERT_EQ(alerts.boxes.size(), 1);
    EXPECT_TRUE(alerts.boxes[0].text.startsWith("Vorn-MIDI Connector 1.1.5"));

    QStringList opened;
    w->openDocument = [&](const QString& path) {
        opened << path;
        return true;
    };
    const QString readme = frmVornMidiConnector::ReadmePath();
    QFile::remove(readme);
    w->mnuViewReadme->trigger();
    EXPECT_TRUE(opened.isEmpty());
    ASSERT_EQ(alerts.boxes.size(), 2);
    EXPECT_TRUE(alerts.boxes[1].text.startsWith("VB6 runtime error (mnuViewReadme_click): 53 - "));
    QFile(readme).open(QIODevice::WriteOnly);
    w->mnuViewReadme->trigger();
    QFile::remove(readme);
    EXPECT_EQ(opened, QStringList{readme});
}

// A box that runs the event loop while it is open, as a modal dialog does.
class ModalAlerts : public RecordingAlerts {
public:
    Answer MsgBox(const QString& text, Buttons buttons, Icon icon, const QString& title) override
    {
        RecordingAlerts::MsgBox(text, buttons, icon, title);
        maxDepth = std::max(maxDepth, ++depth);
        QEventLoop loop;
        QTimer::singleShot(150, &loop, &QEventLoop::quit);
        loop.exec();
        --depth;
        return Answer::Ok;
    }
    int depth = 0;
    int maxDepth = 0;
};

TEST_F(MainWindowTest, ATimerNeverRunsAgainUnderItsOwnMessageBox)
{
    ModalAlerts modal;
    frmVornMidiConnector w(t.store, modal);
    w.Form_Load();
    modal.boxes.clear();
    // Polling with no port: every read fails and is reported.
    Timer(w, "PollTimer")->start(20);
    WaitFor([] { return false; }, 500);
    Timer(w, "PollTimer")->stop();
    ASSERT_GE(modal.boxes.size(), 1);
    EXPECT_EQ(modal.maxDepth, 1) << "a box was opened underneath another";
}

TEST_F(MainWindowTest, DevicesDialogShowsAndStoresTheDeviceOfEachNumber)
{
    t.store.Write("ports", "com4", "/dev/serial/by-id/usb-radio");
    PortDevicesDialog dialog(t.store, alerts, {"/dev/ttyS0", "/dev/ttyUSB0"});
    EXPECT_EQ(dialog.deviceBox(4)->currentText(), "/dev/serial/by-id/usb-radio");
    dialog.deviceBox(2)->setCurrentIndex(0);
    emit dialog.deviceBox(2)->activated(0);
    EXPECT_EQ(t.store.Read("ports", "com2", ""), "/dev/ttyS0");
    dialog.deviceBox(5)->setEditText("   ");
    emit dialog.deviceBox(5)->lineEdit()->editingFinished();
    EXPECT_TRUE(t.store.Read("ports", "com5", "").endsWith("no-such-tty5"));
}
