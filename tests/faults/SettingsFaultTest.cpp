// The settings file and the download folder become unusable under the
// running program: every change says so, nothing stored is lost, and the
// program carries on and writes again once the fault is gone.
#include "ProgramHarness.h"
#include "UpdateServer.h"
#include "core/KeyMap.h"
#include "mapedit/frmMap_Midi.h"
#include "midi/frmConfig_Midi.h"
#include "update/frmUpdater.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLineEdit>
#include <QTemporaryDir>

namespace {

const QString kAppFile = QStringLiteral("/vorn-midi-connector.ini");

bool MakeFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write("not a folder\n") > 0;
}

class SettingsFaultTest : public ::testing::Test {
protected:
    std::unique_ptr<frmVornMidiConnector> Start(ISettingsStore& store)
    {
        auto w = std::make_unique<frmVornMidiConnector>(store, alerts);
        w->Form_Load();
        return w;
    }

    // The live Flex map as its editor shows it, opened through the MIDI setup window.
    frmMap_Midi* OpenFlexEditor(frmVornMidiConnector& w)
    {
        w.cmdConfigMidi->click();
        auto* setup = w.findChild<frmConfig_Midi*>();
        if (!setup)
            return nullptr;
        setup->cmdMapMidi_Click();
        return w.findChild<frmMap_Midi*>(QStringLiteral("frmMap_Midi_Flex"));
    }

    QStringList Failures() const
    {
        QStringList out;
        for (const QString& text : alerts.texts())
            if (text.startsWith("VB6 runtime error ("))
                out << text;
        return out;
    }

    QTemporaryDir dir;
    RecordingAlerts alerts;
};

// The settings file's name is taken by a folder: nothing can be read or written.
TEST_F(SettingsFaultTest, UnwritableStoreAtStartStillLoadsEveryDefault)
{
    const QString path = dir.path() + kAppFile;
    ASSERT_TRUE(QDir().mkpath(path));
    IniSettingsStore store(path);
    auto w = Start(store);

    const QStringList failures = Failures();
    ASSERT_FALSE(failures.isEmpty());
    for (const QString& text : failures)
        EXPECT_TRUE(text.contains(": 75 - ") && text.contains(path)) << text.toStdString();
    EXPECT_EQ(Timer(*w, "PollTimer")->interval(), 1000);
    EXPECT_EQ(Timer(*w, "tmrMIDI")->interval(), 100);
    EXPECT_TRUE(w->mnuFlex->isChecked());

    frmMap_Midi* editor = OpenFlexEditor(*w);
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(editor->CanSave());
    EXPECT_EQ(editor->BoxOf("6441")->text(), "#UP10");
    EXPECT_EQ(editor->BoxOf("km3sldb")->text(), "#CWSPD");
    editor->cmdExit_Click();

    // The folder goes away: the next change is stored.
    ASSERT_TRUE(QDir(path).removeRecursively());
    alerts.boxes.clear();
    w->mnuElecraft->trigger();
    EXPECT_TRUE(Failures().isEmpty()) << Failures().join('|').toStdString();
    EXPECT_EQ(IniSettingsStore(path).Read("settings", "rigtype", ""), "elecraft");
}

// The settings folder turns into a plain file while the program runs.
TEST_F(SettingsFaultTest, StoreLostWhileRunningKeepsEverySetting)
{
    const QString folder = dir.filePath("config");
    const QString path = folder + kAppFile;
    {
        IniSettingsStore before(path);
        before.Write("settings", "catport", "17");
        before.Write("settings", "rigtype", "elecraft");
        before.Write("settings", "polltime", "500");
        before.Write("midimap", "e6441", "UP2;");
    }
    IniSettingsStore store(path);
    auto w = Start(store);
    ASSERT_TRUE(alerts.boxes.isEmpty()) << alerts.texts().join('|').toStdString();

    ASSERT_TRUE(QDir().rename(folder, folder + ".away"));
    ASSERT_TRUE(MakeFile(folder));
    w->mnuFlex->trigger();
    w->mnuMautoconnect->trigger();
    alerts.inputAnswers << "250";
    w->mnuPollTimer->trigger();
    const QStringList failures = Failures();
    ASSERT_EQ(failures.size(), 3) << alerts.texts().join('|').toStdString();
    EXPECT_TRUE(failures[0].startsWith("VB6 runtime error (mnuFlex_Click): 75 - "));
    EXPECT_TRUE(failures[1].startsWith("VB6 runtime error (mnuMautoconnect_Click): 75 - "));
    EXPECT_TRUE(failures[2].startsWith("VB6 runtime error (mnuPollTimer_Click): 75 - "));
    EXPECT_EQ(Timer(*w, "PollTimer")->interval(), 500) << "an interval that was not stored is not used";

    // The folder is back: the next change is stored beside everything else.
    ASSERT_TRUE(QFile::remove(folder));
    ASSERT_TRUE(QDir().rename(folder + ".away", folder));
    alerts.boxes.clear();
    w->mnuFlex->trigger();
    EXPECT_TRUE(alerts.boxes.isEmpty()) << alerts.texts().join('|').toStdString();
    IniSettingsStore after(path);
    EXPECT_EQ(after.Read("settings", "rigtype", ""), "flex");
    EXPECT_EQ(after.Read("settings", "polltime", ""), "500");
    EXPECT_EQ(after.Read("midimap", "e6441", ""), "UP2;");
    for (const QString& key : KeyMap::Names())
        EXPECT_NE(after.Read("midimap", key, "<missing>"), "<missing>") << key.toStdString();
}

// A settings file that is there but cannot be opened for reading (a user's
// file copied in without read access; here a socket, which even root cannot
// open): the program starts on the defaults, says so, and never replaces it.
TEST_F(SettingsFaultTest, SettingsFileThatCannotBeReadIsNeverReplaced)
{
    const QString path = dir.path() + kAppFile;
    QLocalServer unreadable;
    ASSERT_TRUE(unreadable.listen(path)) << unreadable.errorString().toStdString();
    IniSettingsStore store(path);
    auto w = Start(store);
    const QStringList failures = Failures();
    ASSERT_FALSE(failures.isEmpty());
    for (const QString& text : failures)
        EXPECT_TRUE(text.contains(": 75 - ") && text.contains("cannot be read")) << text.toStdString();
    EXPECT_TRUE(w->mnuFlex->isChecked());
    w->mnuElecraft->trigger();
    EXPECT_TRUE(w->mnuElecraft->isChecked());
    EXPECT_FALSE(QFileInfo(path).isFile()) << "the unreadable file was replaced";
}

TEST_F(SettingsFaultTest, MissingSettingsFolderIsCreated)
{
    const QString path = dir.filePath("not/yet/there") + kAppFile;
    IniSettingsStore store(path);
    auto w = Start(store);
    EXPECT_TRUE(Failures().isEmpty()) << Failures().join('|').toStdString();
    EXPECT_EQ(IniSettingsStore(path).Read("settings", "rigtype", ""), "flex");
    EXPECT_EQ(IniSettingsStore(path).Read("midimap", "f6441", ""), "#UP10");
}

// Points the user's download folder into `home` for the life of the object.
class ScopedHome {
public:
    explicit ScopedHome(const QString& home)
        : oldHome_(qgetenv("HOME")), oldConfig_(qgetenv("XDG_CONFIG_HOME"))
    {
        qputenv("HOME", home.toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", (home + "/.config").toLocal8Bit());
    }
    ~ScopedHome()
    {
        qputenv("HOME", oldHome_);
        qputenv("XDG_CONFIG_HOME", oldConfig_);
    }

private:
    QByteArray oldHome_;
    QByteArray oldConfig_;
};

struct FolderFault {
    const char* name;
    std::function<bool(const QString& downloads, const QString& controlFile)> make;
};

TEST_F(SettingsFaultTest, UnusableDownloadFolderAbortsTheUpdateWithAReason)
{
    UpdateServer server;
    ASSERT_TRUE(server.started());
    const QString home = dir.filePath("home");
    ASSERT_TRUE(QDir().mkpath(home));
    ScopedHome scopedHome(home);
    const QString downloads = home + "/Downloads";
    const QString controlFile = downloads + "/" + IniSettingsStore::ApplicationName() + "_update.xml";

    TempSettings settings;
    settings.store.Write("settings", "catport", "17");
    settings.store.Write("updater", "url", server.Url("/ctl/9.9.9/right"));
    auto w = Start(settings.store);

    const QList<FolderFault> faults = {
        {"folder is a file", [](const QString& d, const QString&) { return MakeFile(d); }},
        {"file name taken by a folder",
         [](const QString&, const QString& c) { return QDir().mkpath(c); }},
    };
    for (const FolderFault& fault : faults) {
        SCOPED_TRACE(fault.name);
        ASSERT_TRUE(fault.make(downloads, controlFile));
        alerts.boxes.clear();
        w->mnuUpdate->trigger();
        auto* updater = w->findChild<frmUpdater*>();
        ASSERT_NE(updater, nullptr);
        const QString log = updater->txtUpdateProgress->toPlainText();
        EXPECT_TRUE(log.endsWith("Could not save XML file...\nUpdate aborted...")) << log.toStdString();
        // Besides the setup window's own word that no MIDI device is there.
        ASSERT_EQ(Failures().size(), 1) << alerts.texts().join('|').toStdString();
        EXPECT_TRUE(Failures()[0].startsWith("VB6 runtime error (frmUpdater_DownloadFileXML): 75 - "))
            << Failures()[0].toStdString();
        EXPECT_TRUE(Failures()[0].contains(downloads)) << Failures()[0].toStdString();
        updater->close();
        QCoreApplication::processEvents();
        QFile::remove(downloads);
        QDir(downloads).removeRecursively();
    }

    // A usable folder again: the whole check runs to the question.
    alerts.boxes.clear();
    w->mnuUpdate->trigger();
    auto* updater = w->findChild<frmUpdater*>();
    ASSERT_NE(updater, nullptr);
    EXPECT_TRUE(updater->txtUpdateProgress->toPlainText().endsWith("Update cancelled..."))
        << updater->txtUpdateProgress->toPlainText().toStdString();
    EXPECT_TRUE(QFile::exists(controlFile));
}

} // namespace
