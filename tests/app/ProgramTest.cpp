// The whole program against the radio simulator and a JACK surface: the
// road of a wheel click, and what it does when the radio, the surface or the
// settings file fail under it. Each fault ends in one message at most, loses
// no setting, and the program works again once the fault is gone.
#include "ProgramHarness.h"
#include "UpdateServer.h"
#include "core/IniSettingsStore.h"
#include "core/KeyMap.h"
#include "mapedit/frmMap_Midi.h"
#include "update/frmUpdater.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QLocalServer>
#include <QRegularExpression>

namespace {

class ProgramTest : public ProgramHarness {};

QStringList Failures(const RecordingAlerts& alerts)
{
    return alerts.texts().filter(QRegularExpression("^VB6 runtime error \\("));
}

} // namespace

TEST_F(ProgramTest, TheSurfaceTunesTheRadioWithEitherMap)
{
    t.store.Write("settings", "rigtype", "flex");
    StartAll();
    EXPECT_TRUE(alerts.boxes.isEmpty()) << BoxTexts();
    EXPECT_TRUE(window->txtCATDump->toPlainText().contains("IF;"));
    EXPECT_TRUE(RadioGets("FA00014060010"));           // wheel: "#UP10"
    EXPECT_TRUE(RadioGets("PC 50", 0x68, 0x40));        // slider mode 2: "#TXPWR"
    EXPECT_TRUE(RadioGets("MD4", 0x06, 0x7F));          // button 6: "#MUP" from CW
    window->mnuElecraft->trigger();
    EXPECT_TRUE(RadioGets("UP1"));                     // the radio's own step
    EXPECT_TRUE(window->txtMidiInDump->toPlainText().contains("B0 64 41 Timestamp: "));

    // "None" closes the port; the poll goes on and says once that it cannot read.
    window->mnuPortsNone->trigger();
    ASSERT_TRUE(WaitFor([&] { return !alerts.boxes.isEmpty(); }));
    RunFor(3 * PollInterval());
    EXPECT_EQ(alerts.boxes.size(), 1);
    EXPECT_TRUE(alerts.boxes[0].text.startsWith("VB6 runtime error (GetCAT): ")) << BoxTexts();
}

TEST_F(ProgramTest, UpdateCommandClosesMidiAndRunsTheCheck)
{
    UpdateServer server;
    ASSERT_TRUE(server.started());
    t.store.Write("updater", "url", server.Url("/ctl/1.1.5/right"));
    StartAll();
    window->mnuUpdate->trigger();
    EXPECT_FALSE(Timer(*window, "tmrMIDI")->isActive());
    EXPECT_EQ(window->shpMidiEnabled->fillColor(), IIndicator::kRed);
    auto* updater = window->findChild<frmUpdater*>();
    ASSERT_NE(updater, nullptr);
    EXPECT_TRUE(updater->txtUpdateProgress->toPlainText().endsWith(
        "Update version is the same or older than current version, update aborted..."));
    EXPECT_EQ(alerts.texts(), QStringList{"Please reconnect MIDI device after update."});
}

// Silent, split, noisy and flooding radios: no message, a bounded log, and a
// plain radio on the same port afterwards is polled again.
TEST_F(ProgramTest, MisbehavingRadiosNeverBreakTheProgram)
{
    const struct {
        QStringList arguments;
        bool linkComesUp;
    } faults[] = {
        {{"--silent"}, false},
        {{"--split", "--seed", "11"}, true},
        {{"--split", "--latency", "15", "--seed", "5"}, true},
        {{"--garbage", "--seed", "3"}, true},  // noise in front of each reply is passed over
        {{"--flood"}, true},
    };
    t.store.Write("settings", "mautoconnect", "0");
    for (const auto& fault : faults) {
        SCOPED_TRACE(fault.arguments.join(' ').toStdString());
        ASSERT_TRUE(StartRadio(fault.arguments)) << radio.ErrorString().toStdString();
        if (window)
            ChoosePortAgain();
        else
            StartProgram();
        if (fault.linkComesUp)
            EXPECT_TRUE(WaitFor([&] { return LinkUp(); }));
        const int sent = CommandCount();
        EXPECT_TRUE(WaitFor([&] { return CommandCount() >= sent + 40; }));
        if (!fault.linkComesUp)
            EXPECT_TRUE(LinkDown());
        EXPECT_TRUE(alerts.boxes.isEmpty()) << BoxTexts();
        EXPECT_LE(window->txtCATDump->document()->blockCount(), LogView::kMaxLines);
    }
    ASSERT_TRUE(StartRadio());
    ChoosePortAgain();
    EXPECT_TRUE(WaitFor([&] { return LinkUp(); })) << BoxTexts();
}

// The radio dies while the wheel turns: one box, the wheel is still taken, and
// once the radio is back and its port chosen again the wheel tunes it.
TEST_F(ProgramTest, RadioThatDiesIsReportedOnceAndComesBackOnItsPort)
{
    StartAll();
    ASSERT_TRUE(RadioGets("FA00014060010"));
    const int logged = window->txtMidiInDump->document()->blockCount();
    for (int click = 0; click < 40; ++click) {
        if (click == 10)
            radio.Stop();
        surface->SendControlChange(0x64, 0x41);
        RunFor(10);
    }
    ASSERT_TRUE(WaitFor([&] { return LinkDown(); })) << BoxTexts();
    RunFor(10 * PollInterval());
    EXPECT_GE(window->txtMidiInDump->document()->blockCount(), logged + 35);
    ASSERT_GE(alerts.boxes.size(), 1);
    EXPECT_LE(alerts.boxes.size(), 2) << BoxTexts();
    for (const RecordingAlerts::Box& box : alerts.boxes)
        EXPECT_TRUE(box.text.contains("COM3")) << box.text.toStdString();

    alerts.boxes.clear();
    ChoosePortAgain();  // while the radio is still away: the port command says so
    ASSERT_EQ(alerts.boxes.size(), 1) << BoxTexts();
    EXPECT_TRUE(alerts.boxes[0].text.startsWith("VB6 runtime error (mnuPortsCom3_click): ")) << BoxTexts();

    alerts.boxes.clear();
    ASSERT_TRUE(StartRadio());
    ChoosePortAgain();
    ASSERT_TRUE(WaitFor([&] { return LinkUp(); })) << BoxTexts();
    EXPECT_TRUE(RadioGets("FA00014060010"));
    EXPECT_EQ(t.store.Read("settings", "catport", ""), "3");
    EXPECT_TRUE(alerts.boxes.isEmpty()) << BoxTexts();
}

// The settings file's name is taken by a folder at start, then freed: every
// default is in force meanwhile, and the next change is stored.
TEST_F(ProgramTest, UnusableSettingsFileStillGivesEveryDefault)
{
    const QString path = t.dir.filePath("blocked.ini");
    ASSERT_TRUE(QDir().mkpath(path));
    IniSettingsStore store(path);
    StartProgram(&store);
    const QStringList failures = Failures(alerts);
    ASSERT_FALSE(failures.isEmpty());
    for (const QString& text : failures)
        EXPECT_TRUE(text.contains(": 75 - ") && text.contains(path)) << text.toStdString();
    EXPECT_EQ(PollInterval(), 1000);
    EXPECT_TRUE(window->mnuFlex->isChecked());
    OpenMidiSetup()->cmdMapMidi_Click();
    auto* editor = window->findChild<frmMap_Midi*>("frmMap_Midi_Flex");
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->BoxOf("km3sldb")->text(), "#CWSPD");
    EXPECT_TRUE(editor->CanSave());

    ASSERT_TRUE(QDir(path).removeRecursively());
    alerts.boxes.clear();
    window->mnuElecraft->trigger();
    EXPECT_TRUE(alerts.boxes.isEmpty()) << BoxTexts();
    EXPECT_EQ(IniSettingsStore(path).Read("settings", "rigtype", ""), "elecraft");
}

// The settings folder turns into a plain file while the program runs.
TEST_F(ProgramTest, SettingsLostWhileRunningAreNotLostForGood)
{
    const QString folder = t.dir.filePath("config");
    const QString path = folder + "/vorn-midi-connector.ini";
    IniSettingsStore store(path);
    store.Write("settings", "catport", "17");
    store.Write("settings", "polltime", "500");
    store.Write("midimap", "e6441", "UP2;");
    StartProgram(&store);
    ASSERT_TRUE(alerts.boxes.isEmpty()) << BoxTexts();

    ASSERT_TRUE(QDir().rename(folder, folder + ".away"));
    QFile blocker(folder);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    window->mnuElecraft->trigger();
    alerts.inputAnswers << "250";
    window->mnuPollTimer->trigger();
    const QStringList failures = Failures(alerts);
    ASSERT_EQ(failures.size(), 2) << BoxTexts();
    EXPECT_TRUE(failures[0].startsWith("VB6 runtime error (mnuElecraft_Click): 75 - "));
    EXPECT_TRUE(failures[1].startsWith("VB6 runtime error (mnuPollTimer_Click): 75 - "));
    EXPECT_EQ(PollInterval(), 500) << "an interval that was not stored is not used";

    ASSERT_TRUE(QFile::remove(folder));
    ASSERT_TRUE(QDir().rename(folder + ".away", folder));
    window->mnuFlex->trigger();
    IniSettingsStore after(path);
    EXPECT_EQ(after.Read("settings", "rigtype", ""), "flex");
    EXPECT_EQ(after.Read("settings", "polltime", ""), "500");
    for (const QString& key : KeyMap::Names())
        EXPECT_NE(after.Read("midimap", key, "<missing>"), "<missing>") << key.toStdString();
    EXPECT_EQ(after.Read("midimap", "e6441", ""), "UP2;");
}

// A settings file that exists but cannot be opened (here a socket, which even
// root cannot open) is never replaced; a missing folder is created.
TEST_F(ProgramTest, SettingsFileThatCannotBeReadIsNeverReplaced)
{
    const QString path = t.dir.filePath("socket.ini");
    QLocalServer unreadable;
    ASSERT_TRUE(unreadable.listen(path)) << unreadable.errorString().toStdString();
    IniSettingsStore store(path);
    StartProgram(&store);
    for (const QString& text : Failures(alerts))
        EXPECT_TRUE(text.contains("cannot be read")) << text.toStdString();
    window->mnuElecraft->trigger();
    EXPECT_TRUE(window->mnuElecraft->isChecked());
    EXPECT_FALSE(QFileInfo(path).isFile()) << "the unreadable file was replaced";

    const QString fresh = t.dir.filePath("not/yet/there/vorn-midi-connector.ini");
    IniSettingsStore created(fresh);
    alerts.boxes.clear();
    StartProgram(&created);
    EXPECT_TRUE(Failures(alerts).isEmpty()) << BoxTexts();
    EXPECT_EQ(IniSettingsStore(fresh).Read("midimap", "f6441", ""), "#UP10");
}
