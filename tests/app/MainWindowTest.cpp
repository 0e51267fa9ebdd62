#include "widgets/IndicatorShape.h"
#include "core/KeyMap.h"
#include "app/PortDevicesDialog.h"
#include "app/frmVornMidiConnector.h"
#include "support/MainWindowParts.h"
#include "support/RecordingAlerts.h"
#include "support/TempSettings.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

const QString kPortMessage = QStringLiteral("Please select a CAT Com port first.");

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // A COM number that must not open anything on a test machine.
        for (int n = 1; n <= 16; ++n)
            t.store.Write("ports", QString("com%1").arg(n),
                          t.dir.path() + QString("/no-such-tty%1").arg(n));
    }

    std::unique_ptr<frmVornMidiConnector> Start()
    {
        auto w = std::make_unique<frmVornMidiConnector>(t.store, alerts);
        w->Form_Load();
        return w;
    }

    QStringList CheckedPorts(frmVornMidiConnector& w)
    {
        QStringList out;
        if (w.mnuPortsNone->isChecked())
            out << "None";
        for (QAction* a : w.mnuPortsCom)
            if (a->isChecked())
                out << a->text();
        return out;
    }

    QString Stored(const QString& key) { return t.store.Read("settings", key, "<missing>"); }

    TempSettings t;
    RecordingAlerts alerts;
};

TEST_F(MainWindowTest, FirstStartWithEmptyStore)
{
    TempSettings empty;
    auto w = std::make_unique<frmVornMidiConnector>(empty.store, alerts);
    w->Form_Load();
    ASSERT_EQ(alerts.boxes.size(), 1);
    EXPECT_EQ(alerts.boxes[0].text, kPortMessage);
    EXPECT_EQ(alerts.boxes[0].title, "Com Port error");
    EXPECT_EQ(alerts.boxes[0].icon, IAlerts::Icon::None);
    EXPECT_EQ(CheckedPorts(*w), QStringList{"None"});
    EXPECT_TRUE(w->mnuFlex->isChecked());
    EXPECT_FALSE(w->mnuElecraft->isChecked());
    EXPECT_FALSE(w->mnuMautoconnect->isChecked());
    EXPECT_FALSE(Timer(*w, "PollTimer")->isActive());
    EXPECT_FALSE(Timer(*w, "tmrMIDI")->isActive());
    EXPECT_EQ(Timer(*w, "PollTimer")->interval(), 1000);
    EXPECT_EQ(Timer(*w, "tmrMIDI")->interval(), 100);
    EXPECT_EQ(w->shpMidiEnabled->fillColor(), 255);
    EXPECT_EQ(w->shpCATConnected->fillColor(), 255);
    EXPECT_EQ(w->pos(), QPoint(0, 0));

    const QList<QPair<QString, QString>> expected = {{"catport", "0"},     {"polltime", "1000"},
                                                     {"mautoconnect", "0"}, {"rigtype", "flex"},
                                                     {"midipolltime", "100"}};
    for (const auto& [key, value] : expected)
        EXPECT_EQ(empty.store.Read("settings", key, "<missing>"), value) << key.toStdString();
    EXPECT_EQ(empty.store.Read("settings", "FormTop", "<missing>"), "<missing>");
    for (int i = 0; i < KeyMap::Names().size(); ++i) {
        const QString name = KeyMap::Names()[i];
        const KeyMap::KeyDef& def = KeyMap::Suffixes()[i % 62];
        const QString want = name.startsWith('e') ? def.elecraftDefault : def.flexDefault;
        EXPECT_EQ(empty.store.Read("midimap", name, "<missing>"), want) << name.toStdString();
    }
}

TEST_F(MainWindowTest, StoredPortThatDoesNotExistIsReportedAndStaysChosen)
{
    t.store.Write("settings", "catport", "03");
    auto w = Start();
    EXPECT_EQ(CheckedPorts(*w), QStringList{"Com&3"});
    EXPECT_EQ(Stored("catport"), "3");
    ASSERT_EQ(alerts.boxes.size(), 1);
    EXPECT_TRUE(alerts.boxes[0].text.startsWith("VB6 runtime error (mnuPortsCom3_click): "))
        << alerts.boxes[0].text.toStdString();
    // The poll opens the port once it is there.
    EXPECT_TRUE(Timer(*w, "PollTimer")->isActive());
}

TEST_F(MainWindowTest, PortNumberOutOfRangeRunsNothing)
{
    t.store.Write("settings", "catport", "17");
    auto w = Start();
    EXPECT_TRUE(CheckedPorts(*w).isEmpty());
    EXPECT_TRUE(alerts.boxes.isEmpty()) << alerts.texts().join("|").toStdString();
    EXPECT_FALSE(Timer(*w, "PollTimer")->isActive());
    EXPECT_EQ(Stored("catport"), "17");
}

TEST_F(MainWindowTest, UnreadableNumbersAreReportedAndStartUpGoesOn)
{
    t.store.Write("settings", "FormTop", "top");
    t.store.Write("settings", "polltime", "fast");
    t.store.Write("settings", "midipolltime", "99999999999");
    t.store.Write("settings", "catport", "0");
    t.store.Write("midimap", "f6441", "#UP7");
    auto w = Start();
    const QStringList texts = alerts.texts();
    ASSERT_EQ(texts.size(), 4) << texts.join("|").toStdString();
    EXPECT_TRUE(texts[0].startsWith("VB6 runtime error (frmVornMidiConnector_load): 13 - "));
    EXPECT_EQ(texts[1], kPortMessage);
    EXPECT_TRUE(texts[2].startsWith("VB6 runtime error (frmVornMidiConnector_load): 13 - "));
    EXPECT_TRUE(texts[3].startsWith("VB6 runtime error (frmVornMidiConnector_load): 6 - "));
    EXPECT_EQ(Timer(*w, "PollTimer")->interval(), 1000);
    EXPECT_EQ(Timer(*w, "tmrMIDI")->interval(), 100);
    // The stored texts are kept for the user to mend; the maps are loaded.
    EXPECT_EQ(Stored("polltime"), "fast");
    EXPECT_EQ(t.store.Read("midimap", "e6441", ""), "UP1;");
    EXPECT_EQ(t.store.Read("midimap", "f6441", ""), "#UP7");
}

TEST_F(MainWindowTest, PortMenuChecksOnlyTheChosenItem)
{
    auto w = Start();
    alerts.boxes.clear();
    w->mnuPortsCom[13]->trigger();
    EXPECT_EQ(CheckedPorts(*w), QStringList{"Com&14"});
    EXPECT_EQ(Stored("catport"), "14");
    ASSERT_EQ(alerts.boxes.size(), 1);
    EXPECT_TRUE(alerts.boxes[0].text.startsWith("VB6 runtime error (mnuPortsCom16_click): "));
    w->mnuPortsCom[4]->trigger();
    EXPECT_TRUE(alerts.boxes[1].text.startsWith("VB6 runtime error (mnuPortsCom5click): "));
    w->mnuPortsNone->trigger();
    EXPECT_EQ(CheckedPorts(*w), QStringList{"None"});
    EXPECT_EQ(Stored("catport"), "0");
}

TEST_F(MainWindowTest, RigTypeAndAutoconnectCommands)
{
    auto w = Start();
    w->mnuElecraft->trigger();
    EXPECT_TRUE(w->mnuElecraft->isChecked());
    EXPECT_FALSE(w->mnuFlex->isChecked());
    EXPECT_EQ(Stored("rigtype"), "elecraft");
    w->mnuFlex->trigger();
    EXPECT_EQ(Stored("rigtype"), "flex");

    w->mnuMautoconnect->trigger();
    EXPECT_TRUE(w->mnuMautoconnect->isChecked());
    EXPECT_EQ(Stored("mautoconnect"), "1");
    w->mnuMautoconnect->trigger();
    EXPECT_FALSE(w->mnuMautoconnect->isChecked());
    EXPECT_EQ(Stored("mautoconnect"), "0");
}

TEST_F(MainWindowTest, AutoconnectWithAnotherTextIsLeftAlone)
{
    t.store.Write("settings", "mautoconnect", "yes");
    auto w = Start();
    w->mnuMautoconnect->trigger();
    EXPECT_EQ(Stored("mautoconnect"), "yes");
}

struct TimerCase {
    bool midi;
    QString answer;
    bool accepted;
    int interval;
};

TEST_F(MainWindowTest, PollIntervalQuestions)
{
    const QList<TimerCase> cases = {
        {false, "99", false, 0},     {false, "100", true, 100},     {false, "10000", true, 10000},
        {false, "10001", false, 0},  {false, "250.5", true, 250},   {false, "251.5", true, 252},
        {false, " 300 ", true, 300}, {true, "9", false, 0},         {true, "10", true, 10},
        {true, "1000", true, 1000},  {true, "1001", false, 0},      {true, "20.5", true, 20},
    };
    for (const TimerCase& c : cases) {
        SCOPED_TRACE(c.answer.toStdString());
        RecordingAlerts local;
        TempSettings s;
        frmVornMidiConnector w(s.store, local);
        w.Form_Load();
        local.boxes.clear();
        local.inputAnswers << c.answer;
        (c.midi ? w.mnuMIDITmr : w.mnuPollTimer)->trigger();
        ASSERT_EQ(local.inputs.size(), 1);
        EXPECT_EQ(local.inputs[0].title,
                  c.midi ? "Enter MIDI Poll Timer Value" : "Enter Poll Timer Value");
        EXPECT_EQ(local.inputDefaults[0], c.midi ? "100" : "1000");
        const QString key = c.midi ? "midipolltime" : "polltime";
        QTimer& timer = *Timer(w, c.midi ? "tmrMIDI" : "PollTimer");
        if (c.accepted) {
            EXPECT_TRUE(local.boxes.isEmpty());
            EXPECT_EQ(s.store.Read("settings", key, ""), c.answer);
            EXPECT_EQ(timer.interval(), c.interval);
        } else {
            ASSERT_EQ(local.boxes.size(), 1);
            EXPECT_EQ(local.boxes[0].text, c.midi
                                               ? "Please enter a timer value between 10 and 1000."
                                               : "Please enter a timer value between 100 and 10000.");
            EXPECT_EQ(local.boxes[0].title,
                      c.midi ? "MIDI Poll Timer Value Error" : "Poll Timer Value Error");
            EXPECT_EQ(s.store.Read("settings", key, ""), c.midi ? "100" : "1000");
        }
        EXPECT_FALSE(timer.isActive());
    }
}

TEST_F(MainWindowTest, PollIntervalThatIsNotANumberIsReported)
{
    auto w = Start();
    alerts.boxes.clear();
    alerts.inputAnswers << "soon" << "";
    w->mnuPollTimer->trigger();
    ASSERT_EQ(alerts.boxes.size(), 1);
    EXPECT_TRUE(alerts.boxes[0].text.startsWith("VB6 runtime error (mnuPollTimer_Click): 13 - "));
    w->mnuPollTimer->trigger();
    EXPECT_EQ(alerts.boxes.size(), 1);
    EXPECT_EQ(Stored("polltime"), "1000");
}

TEST_F(MainWindowTest, ExitStoresThePositionAndRestartRestoresIt)
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
    auto again = Start();
    EXPECT_EQ(again->pos(), QPoint(150, 90));
}

TEST_F(MainWindowTest, PositionOffEveryScreenIsMovedOntoThePrimaryScreen)
{
    t.store.Write("settings", "FormLeft", "-300000");
    t.store.Write("settings", "FormTop", "450000");
    auto w = Start();
    EXPECT_EQ(w->pos(), QGuiApplication::primaryScreen()->availableGeometry().topLeft());
}

TEST_F(MainWindowTest, AboutAndReadme)
{
    auto w = Start();
    alerts.boxes.clear();
    w->mnuHelpAbout->trigger();
    ASSERT_EQ(alerts.boxes.size(), 1);
    EXPECT_TRUE(alerts.boxes[0].text.startsWith("Vorn-MIDI Connector 1.1.5"));
    EXPECT_EQ(alerts.boxes[0].title, "Vorn-MIDI Connector");
    EXPECT_EQ(alerts.boxes[0].icon, IAlerts::Icon::None);

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

    QFile file(readme);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    w->mnuViewReadme->trigger();
    QFile::remove(readme);
    EXPECT_EQ(opened, QStringList{readme});
    EXPECT_EQ(alerts.boxes.size(), 2);
}

// An alerts box that behaves like a modal dialog: it runs the event loop
// while it is open, so timers keep firing underneath it.
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
    Timer(w, "PollTimer")->setInterval(20);
    Timer(w, "PollTimer")->start();
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 500)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    Timer(w, "PollTimer")->stop();
    ASSERT_GE(modal.boxes.size(), 1);
    EXPECT_EQ(modal.maxDepth, 1) << "a box was opened underneath another";
    EXPECT_TRUE(modal.boxes[0].text.startsWith("VB6 runtime error (GetCAT): "));
}

TEST_F(MainWindowTest, DevicesDialogShowsAndStoresTheDeviceOfEachNumber)
{
    TempSettings fresh;
    fresh.store.Write("ports", "com4", "/dev/serial/by-id/usb-radio");
    PortDevicesDialog dialog(fresh.store, alerts, {"/dev/ttyS0", "/dev/ttyUSB0"});
    EXPECT_EQ(dialog.deviceBox(1)->currentText(), "/dev/ttyUSB0");
    EXPECT_EQ(dialog.deviceBox(4)->currentText(), "/dev/serial/by-id/usb-radio");
    EXPECT_EQ(dialog.deviceBox(16)->currentText(), "/dev/ttyUSB15");
    EXPECT_EQ(dialog.deviceBox(2)->count(), 2);

    dialog.deviceBox(2)->setCurrentIndex(0);
    emit dialog.deviceBox(2)->activated(0);
    dialog.deviceBox(3)->setEditText(" /tmp/my pty ");
    emit dialog.deviceBox(3)->lineEdit()->editingFinished();
    EXPECT_EQ(fresh.store.Read("ports", "com2", ""), "/dev/ttyS0");
    EXPECT_EQ(fresh.store.Read("ports", "com3", ""), "/tmp/my pty");
    EXPECT_EQ(fresh.store.Read("ports", "com5", "<none>"), "<none>");
    EXPECT_TRUE(alerts.boxes.isEmpty());
}

} // namespace
