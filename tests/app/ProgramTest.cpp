// The whole program against the radio simulator and a JACK surface: the
// road of a wheel click, and what it does when the radio or the settings file
// fail under it. Each fault ends in one message at most, loses no setting,
// and the program works again once the fault is gone. (A radio that dies and
// comes back: CatHealingTest.)
#include "ProgramHarness.h"
#include "UpdateServer.h"
#include "core/IniSettingsStore.h"
#include "core/KeyMap.h"
#include "mapedit/KeyMapEditor.h"
#include "update/UpdateWindow.h"
#include "widgets/QtAlerts.h"

#include <QDir>
#include <QLineEdit>
#include <QLocalServer>
#include <QMessageBox>
#include <QRegularExpression>

namespace {

class ProgramTest : public ProgramHarness {};

QStringList Failures(const RecordingAlerts& alerts)
{
    return alerts.texts().filter(QRegularExpression("^VB6 runtime error \\("));
}

} // namespace

// Both maps carry the surface to the radio; the update command closes MIDI
// and runs the check; About names the version; "None" closes the port, and the poll, which goes on,
// says once that it cannot read.
TEST_F(ProgramTest, TheSurfaceTunesTheRadioWithEitherMapUntilUpdateOrNone)
{
    UpdateServer server;
    ASSERT_TRUE(server.started());
    t.store.Write("updater", "url", server.Url("/ctl/1.1.5/right"));
    t.store.Write("settings", "rigtype", "flex");
    StartAll();
    EXPECT_TRUE(alerts.boxes.isEmpty()) << BoxTexts();
    EXPECT_TRUE(window->CatLog().toPlainText().contains("IF;"));
    EXPECT_TRUE(RadioGets("FA00014060010"));           // wheel: "#UP10"
    EXPECT_TRUE(RadioGets("PC 50", 0x68, 0x40));        // slider mode 2: "#TXPWR"
    EXPECT_TRUE(RadioGets("MD4", 0x06, 0x7F));          // button 6: "#MUP" from CW
    window->Menus().ChooseRigType(RigType::Elecraft);
    EXPECT_TRUE(RadioGets("UP1"));                     // the radio's own step
    EXPECT_TRUE(window->MidiLog().toPlainText().contains("B0 64 41 Timestamp: "));

    window->Menus().Choose(MainMenus::Command::Update);
    EXPECT_FALSE(Timer(*window, "midiPumpTimer")->isActive());
    EXPECT_FALSE(window->MidiLampUp());
    auto* updater = window->findChild<UpdateWindow*>();
    ASSERT_NE(updater, nullptr);
    EXPECT_TRUE(WaitFor([&] { return !updater->Checking(); }));
    EXPECT_TRUE(updater->ProgressText().endsWith(
        "Update version is the same or older than current version, update aborted..."));
    EXPECT_EQ(alerts.texts(), QStringList{"Please reconnect MIDI device after update."});
    window->Menus().Choose(MainMenus::Command::About);
    EXPECT_EQ(alerts.texts().value(1).section('\n', 0, 0), "Vorn-MIDI Connector 1.1.5");

    alerts.boxes.clear();
    window->Menus().Choose(MainMenus::Command::NoPort);
    ASSERT_TRUE(WaitFor([&] { return !alerts.boxes.isEmpty(); }));
    RunFor(3 * PollInterval());
    EXPECT_EQ(alerts.boxes.size(), 1);
    EXPECT_TRUE(alerts.boxes[0].text.startsWith("VB6 runtime error (GetCAT): ")) << BoxTexts();
}

// Silent, split, noisy and flooding radios: no message, a bounded log, and a
// plain radio on the same port afterwards is polled again.
TEST_F(ProgramTest, MisbehavingRadiosNeverBreakTheProgram)
{
    const std::pair<QStringList, bool> faults[] = {  // the simulator's arguments, the link comes up
        {{"--silent"}, false},
        {{"--split", "--seed", "11"}, true},
        {{"--split", "--latency", "15", "--seed", "5"}, true},
        {{"--garbage", "--seed", "3"}, true},  // noise in front of each reply is passed over
        {{"--flood"}, true},
    };
    t.store.Write("settings", "mautoconnect", "0");
    for (const auto& [arguments, linkComesUp] : faults) {
        SCOPED_TRACE(arguments.join(' ').toStdString());
        ASSERT_TRUE(StartRadio(arguments)) << radio.ErrorString().toStdString();
        if (window)
            ChoosePortAgain();
        else
            StartProgram();
        if (linkComesUp) {
            EXPECT_TRUE(WaitFor([&] { return LinkUp(); }));
        }
        const int sent = CommandCount();
        EXPECT_TRUE(WaitFor([&] { return CommandCount() >= sent + 40; }));
        if (!linkComesUp) {
            EXPECT_FALSE(LinkUp());
        }
        EXPECT_TRUE(alerts.boxes.isEmpty()) << BoxTexts();
        EXPECT_LE(window->CatLog().document()->blockCount(), LogView::kMaxLines);
    }
    ASSERT_TRUE(StartRadio());
    ChoosePortAgain();
    EXPECT_TRUE(WaitFor([&] { return LinkUp(); })) << BoxTexts();
}

// A settings file that cannot be used at start — its name taken by a folder,
// or a socket, which even root cannot open — is reported, never replaced, and
// every default is in force; freed, the file takes the next change.
TEST_F(ProgramTest, UnusableSettingsFileStillGivesEveryDefault)
{
    const QString socket = t.dir.filePath("socket.ini"), folder = t.dir.filePath("blocked.ini");
    QLocalServer unreadable;
    ASSERT_TRUE(unreadable.listen(socket)) << unreadable.errorString().toStdString();
    ASSERT_TRUE(QDir().mkpath(folder));
    IniSettingsStore socketStore(socket), folderStore(folder);
    for (const auto& [store, why] : {std::pair{&socketStore, "cannot be read"}, {&folderStore, ": 75 - "}}) {
        SCOPED_TRACE(store->filePath().toStdString());
        alerts.boxes.clear();
        StartProgram(store);
        ASSERT_FALSE(Failures(alerts).isEmpty());
        for (const QString& text : Failures(alerts))
            EXPECT_TRUE(text.contains(why) && text.contains(store->filePath())) << text.toStdString();
        EXPECT_EQ(PollInterval(), 1000);
        EXPECT_TRUE(window->Menus().IsRigTypeChecked(RigType::Flex));
        OpenMidiSetup()->ShowKeyMap();
        auto* editor = window->findChild<KeyMapEditor*>("keyMapEditorFlex");
        ASSERT_NE(editor, nullptr);
        EXPECT_EQ(editor->EntryText("km3sldb"), "#CWSPD");
        EXPECT_TRUE(editor->CanSave());
        window->Menus().ChooseRigType(RigType::Elecraft);
        EXPECT_TRUE(window->Menus().IsRigTypeChecked(RigType::Elecraft));
    }
    EXPECT_FALSE(QFileInfo(socket).isFile()) << "the unreadable file was replaced";

    ASSERT_TRUE(QDir(folder).removeRecursively());
    alerts.boxes.clear();
    window->Menus().ChooseRigType(RigType::Flex);
    EXPECT_TRUE(alerts.boxes.isEmpty()) << BoxTexts();
    EXPECT_EQ(IniSettingsStore(folder).Read("settings", "rigtype", ""), "flex");
}

// The settings folder turns into a plain file while the program runs: the
// commands that store say so, and once the folder is back the next change is
// stored beside every setting the file held.
TEST_F(ProgramTest, SettingsLostWhileRunningAreNotLostForGood)
{
    const QString folder = t.dir.filePath("config");
    const QString path = folder + "/vorn-midi-connector.ini";
    IniSettingsStore store(path);
    // The folder is not there yet: the first write makes it.
    store.Write("settings", "catport", "17");
    store.Write("settings", "polltime", "500");
    store.Write("midimap", "e6441", "UP2;");
    StartProgram(&store);
    ASSERT_TRUE(alerts.boxes.isEmpty()) << BoxTexts();

    ASSERT_TRUE(QDir().rename(folder, folder + ".away"));
    QFile blocker(folder);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    window->Menus().ChooseRigType(RigType::Elecraft);
    alerts.inputAnswers << "250";
    window->Menus().Choose(MainMenus::Command::PollInterval);
    const QStringList failures = Failures(alerts);
    ASSERT_EQ(failures.size(), 2) << BoxTexts();
    EXPECT_TRUE(failures[0].startsWith("VB6 runtime error (mnuElecraft_Click): 75 - "));
    EXPECT_TRUE(failures[1].startsWith("VB6 runtime error (mnuPollTimer_Click): 75 - "));
    EXPECT_EQ(PollInterval(), 500) << "an interval that was not stored is not used";

    ASSERT_TRUE(QFile::remove(folder));
    ASSERT_TRUE(QDir().rename(folder + ".away", folder));
    window->Menus().ChooseRigType(RigType::Flex);
    IniSettingsStore after(path);
    EXPECT_EQ(after.Read("settings", "rigtype", ""), "flex");
    EXPECT_EQ(after.Read("settings", "polltime", ""), "500");
    for (const QString& key : KeyMap::Names())
        EXPECT_NE(after.Read("midimap", key, "<missing>"), "<missing>") << key.toStdString();
    EXPECT_EQ(after.Read("midimap", "e6441", ""), "UP2;");
}

// With the real message boxes: a message without a map entry opens a box that
// stays open while the wheel tunes on; the same message again adds a line to
// the MIDI log, not a second box.
TEST_F(ProgramTest, BoxOfAMessageWithoutEntryWaitsWhileTheWheelTunes)
{
    QtAlerts boxes;
    ASSERT_TRUE(StartRadio());
    StartProgram(nullptr, &boxes);
    ASSERT_TRUE(WaitFor([&] { return LinkUp(); }));
    const auto openBoxes = [] {
        int open = 0;
        for (QWidget* w : QApplication::topLevelWidgets())
            open += qobject_cast<QMessageBox*>(w) && w->isVisible() ? 1 : 0;
        return open;
    };
    surface->SendControlChange(0x64, 0x40);
    ASSERT_TRUE(WaitFor([&] { return openBoxes() == 1; }));
    EXPECT_TRUE(RadioGets("FA00014060010"));
    surface->SendControlChange(0x64, 0x40);
    EXPECT_TRUE(WaitFor([&] {
        return window->MidiLog().toPlainText().contains(
            "Same message again (2 times in all) while its box is open: Object not found runtime error.");
    }));
    EXPECT_EQ(openBoxes(), 1);
    window.reset();  // before its boxes
}
