#include "support/QtPrinters.h"
#include "UpdateServer.h"
#include "core/IniSettingsStore.h"
#include "widgets/LogView.h"
#include "support/RecordingAlerts.h"
#include "support/RecordingLog.h"
#include "support/TempSettings.h"
#include "update/HttpFileDownloader.h"
#include "update/IInstallerLauncher.h"
#include "update/Updater.h"
#include "update/frmUpdater.h"

#include <QAction>
#include <QCryptographicHash>
#include <QFile>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>

namespace {

const QString kApp = QStringLiteral("Vorn-MIDI Connector");
const QString kControlName = QStringLiteral("Vorn-MIDI_Connector_update.xml");
const QString kInstallerName = QStringLiteral("Vorn-MIDI_Connector_setup.exe");
const QString kServerNotFound =
    QStringLiteral("Win32 error, server not found, please check download site URL in Settings menu.");
const QString kMalformedUrl = QStringLiteral(
    "Win32 error, possible malformed URL, please check download site URL in Settings menu. "
    "Make sure to include the http:// part.");

// What update_server.py serves as the installer.
QByteArray Installer()
{
    QByteArray bytes("MZ");
    for (int round = 0; round < 400; ++round)
        for (int b = 0; b < 256; ++b)
            bytes.append(static_cast<char>(b));
    return bytes;
}

QString InstallerMd5()
{
    return QString::fromLatin1(QCryptographicHash::hash(Installer(), QCryptographicHash::Md5).toHex());
}

struct Launch {
    QString fileName, parameters, directory;
};

class RecordingLauncher : public IInstallerLauncher {
public:
    bool Launch(const QString& fileName, const QString& parameters, const QString& directory) override
    {
        launches.append({fileName, parameters, directory});
        return succeeds;
    }
    QList<::Launch> launches;
    bool succeeds = true;
};

const QStringList kOpening = {
    "Running updater version 1.0.1",
    "Initializing variables...",
    "Checking for program updates...",
    "Running version is 1.1.5",
};

QStringList Opening(const QStringList& more)
{
    return kOpening + more;
}

QStringList ControlLines(const QString& version, const QString& md5)
{
    return {"Control file downloaded successfully...", "Control file name: Vorn-MIDI Connector",
            "Control file version: " + version, "Control file md5: " + md5};
}

const QStringList kDownloadLines = {
    "Update version is newer than current version, program will update...",
    "Downloading update file...",
    "Update file downloaded successfully...",
    "Calculating download MD5, please wait...",
};

class UpdaterWindow : public ::testing::Test {
protected:
    static void SetUpTestSuite() { server = std::make_unique<UpdateServer>(); }
    static void TearDownTestSuite() { server.reset(); }

    void SetUp() override
    {
        ASSERT_TRUE(server->started());
        server->ClearRequests();
        Reopen();
    }

    // A fresh window, as the main window creates one for every check.
    void Reopen(const QString& downloadFolder = QString())
    {
        delete window;
        window = new frmUpdater(settings.store, alerts, launcher, [this] { ++quitCalls; }, kApp,
                                downloadFolder.isEmpty() ? downloads.path() : downloadFolder);
        window->setRequestTimeoutMs(1000);
    }

    void TearDown() override { delete window; }

    // One opening of the window against `url`; returns the progress log.
    QStringList RunAgainst(const QString& url)
    {
        settings.store.Write("updater", "url", url);
        window->Form_Load();
        return Log();
    }

    QStringList Log() const
    {
        return window->txtUpdateProgress->toPlainText().split(QLatin1Char('\n'));
    }

    QString Downloaded(const QString& name) const { return downloads.filePath(name); }

    static std::unique_ptr<UpdateServer> server;
    TempSettings settings;
    RecordingAlerts alerts;
    RecordingLauncher launcher;
    QTemporaryDir downloads;
    int quitCalls = 0;
    QPointer<frmUpdater> window;
};

std::unique_ptr<UpdateServer> UpdaterWindow::server;

TEST_F(UpdaterWindow, LayoutAndCaptions)
{
    EXPECT_EQ(window->windowTitle(), "Program Updater");
    EXPECT_EQ(window->centralWidget()->size(), QSize(449, 215));
    EXPECT_EQ(window->txtUpdateProgress->geometry(), QRect(8, 8, 433, 161));
    EXPECT_EQ(window->cmdExit->geometry(), QRect(200, 176, 57, 33));
    EXPECT_EQ(window->cmdExit->text(), "E&xit");
    EXPECT_EQ(window->mnuSettings->title(), "&Settings");
    EXPECT_EQ(window->mnuServerURL->text(), "&Set Update Server URL");
}

TEST_F(UpdaterWindow, NewerVersionMatchingDigestAndYesStartsInstallerAndEndsProgram)
{
    alerts.yesNoAnswers = {IAlerts::Answer::Yes};
    const QStringList log = RunAgainst(server->Url("/ctl/1.1.10/right"));

    EXPECT_EQ(log, Opening(ControlLines("1.1.10", InstallerMd5()) + kDownloadLines +
                           QStringList{"Control file MD5 and update file MD5 match, continuing update..."}));
    ASSERT_EQ(alerts.boxes.size(), 1);
    EXPECT_EQ(alerts.boxes[0].text, "Close Vorn-MIDI Connector and update?");
    EXPECT_EQ(alerts.boxes[0].title, "Program Update");
    EXPECT_EQ(alerts.boxes[0].buttons, IAlerts::Buttons::YesNo);
    EXPECT_EQ(alerts.boxes[0].icon, IAlerts::Icon::None);
    ASSERT_EQ(launcher.launches.size(), 1);
    EXPECT_EQ(launcher.launches[0].fileName, kInstallerName);
    EXPECT_EQ(launcher.launches[0].parameters, "/run=yes /S");
    EXPECT_EQ(launcher.launches[0].directory, downloads.path());
    EXPECT_EQ(quitCalls, 1);

    QFile saved(Downloaded(kInstallerName));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), Installer());
    EXPECT_TRUE(QFile::exists(Downloaded(kControlName)));
}

TEST_F(UpdaterWindow, UpperCaseDigestMatchesAndNoCancels)
{
    alerts.yesNoAnswers = {IAlerts::Answer::No};
    const QStringList log = RunAgainst(server->Url("/ctl/1.2/upper"));

    EXPECT_EQ(log, Opening(ControlLines("1.2", InstallerMd5().toUpper()) + kDownloadLines +
                           QStringList{"Control file MD5 and update file MD5 match, continuing update...",
                                       "Update cancelled..."}));
    EXPECT_EQ(alerts.boxes.size(), 1);
    EXPECT_TRUE(launcher.launches.isEmpty());
    EXPECT_EQ(quitCalls, 0);
    EXPECT_TRUE(QFile::exists(Downloaded(kInstallerName)));  // left for the user
}

TEST_F(UpdaterWindow, DigestThatDoesNotMatchIsNeverStarted)
{
    const struct {
        const char* path;
        QString md5Line;
    } cases[] = {
        {"/ctl/9.9.9/wrong", QString(32, '0')},
        {"/ctl/9.9.9/none", QString()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        alerts.yesNoAnswers = {IAlerts::Answer::Yes};
        Reopen();
        RunAgainst(server->Url(c.path));
        QStringList expected = Opening(ControlLines("9.9.9", c.md5Line));
        if (c.md5Line.isEmpty())
            expected.removeLast();
        expected += kDownloadLines;
        expected += "Control file MD5 and upgrade file MD5 do not match, update aborted...";
        EXPECT_EQ(Log(), expected);
        EXPECT_TRUE(alerts.boxes.isEmpty());
        EXPECT_TRUE(launcher.launches.isEmpty());
    }
}

TEST_F(UpdaterWindow, SameOlderOrUnreadableVersionAbortsBeforeTheInstaller)
{
    const struct {
        const char* path;
        const char* version;
        const char* ourLine;
    } cases[] = {
        {"/ctl/1.1.5/right", "1.1.5", nullptr},
        {"/ctl/1.1.4/right", "1.1.4", nullptr},
        {"/ctl/1.0.99/right", "1.0.99", nullptr},
        {"/ctl/1.2beta/right", "1.2beta", "Update version \"1.2beta\" is not a version number..."},
        {"/ctl/none/right", nullptr, "Update version \"\" is not a version number..."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        Reopen();
        server->ClearRequests();
        RunAgainst(server->Url(c.path));
        QStringList expected = Opening(ControlLines(c.version, InstallerMd5()));
        if (!c.version)
            expected.removeAt(expected.indexOf("Control file version: "));
        if (c.ourLine)
            expected += c.ourLine;
        expected += "Update version is the same or older than current version, update aborted...";
        EXPECT_EQ(Log(), expected);
        EXPECT_EQ(server->Requests().size(), 1);
    }
    EXPECT_TRUE(alerts.boxes.isEmpty());
}

TEST_F(UpdaterWindow, ControlFileNotFoundAborts)
{
    const QStringList log = RunAgainst(server->Url("/missing"));
    EXPECT_EQ(log, Opening({"Error: 404 - Not Found...", "Could not save XML file...", "Update aborted..."}));
    EXPECT_TRUE(alerts.boxes.isEmpty());
    EXPECT_FALSE(QFile::exists(Downloaded(kControlName)));
}

TEST_F(UpdaterWindow, BrokenControlFileAborts)
{
    const QStringList log = RunAgainst(server->Url("/badxml"));
    ASSERT_EQ(log.size(), kOpening.size() + 2);
    EXPECT_EQ(log.mid(0, kOpening.size() + 1), Opening({"Control file downloaded successfully..."}));
    EXPECT_TRUE(log.last().startsWith("Error loading XML: ")) << log.last().toStdString();
    EXPECT_GT(log.last().size(), QStringLiteral("Error loading XML: ").size());
}

TEST_F(UpdaterWindow, InstallerNotFoundAborts)
{
    const QStringList log = RunAgainst(server->Url("/noinstaller"));
    EXPECT_EQ(log.mid(log.size() - 4),
              QStringList({"Update version is newer than current version, program will update...",
                           "Downloading update file...", "Error: 404 - Not Found...",
                           "File did not download successfully, update aborted..."}));
    EXPECT_TRUE(launcher.launches.isEmpty());
}

// A body cut short must neither be kept nor replace an earlier copy.
TEST_F(UpdaterWindow, InstallerCutShortIsNotSaved)
{
    {
        QFile earlier(Downloaded(kInstallerName));
        ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
        earlier.write("earlier copy");
    }
    alerts.yesNoAnswers = {IAlerts::Answer::Yes};
    const QStringList log = RunAgainst(server->Url("/truncated"));

    EXPECT_EQ(log.last(), "File did not download successfully, update aborted...");
    ASSERT_EQ(alerts.boxes.size(), 1);
    EXPECT_TRUE(alerts.boxes[0].text.startsWith("VB6 runtime error (frmUpdater_DownloadFileXML): "))
        << alerts.boxes[0].text.toStdString();
    EXPECT_EQ(alerts.boxes[0].icon, IAlerts::Icon::Information);
    EXPECT_TRUE(launcher.launches.isEmpty());
    QFile kept(Downloaded(kInstallerName));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "earlier copy");
}

// The time-out counts silence: a body that keeps arriving may take longer.
TEST_F(UpdaterWindow, SlowButSteadyDownloadCompletes)
{
    alerts.yesNoAnswers = {IAlerts::Answer::Yes};
    const QStringList log = RunAgainst(server->Url("/slow"));
    EXPECT_EQ(log.last(), "Control file MD5 and update file MD5 match, continuing update...");
    EXPECT_EQ(launcher.launches.size(), 1);
}

TEST_F(UpdaterWindow, UnreachableServerIsServerNotFound)
{
    const QString urls[] = {
        server->Url("/never"),           // accepts, never answers: the time-out
        "http://127.0.0.1:1/updates",     // refused
        "http://no-such-host.invalid",    // unknown host
    };
    for (const QString& url : urls) {
        SCOPED_TRACE(url.toStdString());
        alerts.boxes.clear();
        Reopen();
        EXPECT_EQ(RunAgainst(url), Opening({"Could not save XML file...", "Update aborted..."}));
        ASSERT_EQ(alerts.boxes.size(), 1);
        EXPECT_EQ(alerts.boxes[0].text, kServerNotFound);
        EXPECT_EQ(alerts.boxes[0].icon, IAlerts::Icon::Information);
    }
}

TEST_F(UpdaterWindow, UnusableUrlIsMalformed)
{
    const QString urls[] = {
        "update.vorn-midi.example", "ftp://127.0.0.1/updates", "file:///tmp", "http://", "http://exa mple.com",
    };
    for (const QString& url : urls) {
        SCOPED_TRACE(url.toStdString());
        alerts.boxes.clear();
        Reopen();
        EXPECT_EQ(RunAgainst(url), Opening({"Could not save XML file...", "Update aborted..."}));
        ASSERT_EQ(alerts.boxes.size(), 1);
        EXPECT_EQ(alerts.boxes[0].text, kMalformedUrl);
    }
}

TEST_F(UpdaterWindow, DownloadFolderNotWritableIsReported)
{
    QTemporaryDir other;
    const QString blocker = other.filePath("file");
    QFile(blocker).open(QIODevice::WriteOnly);
    Reopen(blocker);
    EXPECT_EQ(RunAgainst(server->Url("/ctl/9.9.9/right")),
              Opening({"Could not save XML file...", "Update aborted..."}));
    ASSERT_EQ(alerts.boxes.size(), 1);
    EXPECT_TRUE(alerts.boxes[0].text.startsWith("VB6 runtime error (frmUpdater_DownloadFileXML): 75 - "))
        << alerts.boxes[0].text.toStdString();
}

TEST_F(UpdaterWindow, RequestsUseTheUrlAsStoredWithAFreshQuery)
{
    alerts.yesNoAnswers = {IAlerts::Answer::No, IAlerts::Answer::No};
    RunAgainst(server->Url("/ctl/9.9.9/right/"));
    Reopen();
    window->Form_Load();

    const QStringList requests = server->Requests();
    ASSERT_EQ(requests.size(), 4);
    const QRegularExpression form("^/ctl/9\\.9\\.9/right//Vorn-MIDI_Connector_(update\\.xml|setup\\.exe)"
                                  "\\?(\\.[0-9]+|[0-9](\\.[0-9]+)?(e-[0-9]+)?)$");
    QStringList queries;
    for (const QString& r : requests) {
        EXPECT_TRUE(form.match(r).hasMatch()) << r.toStdString();
        queries << r.mid(r.indexOf('?'));
    }
    EXPECT_TRUE(requests[0].contains("_update.xml?") && requests[2].contains("_update.xml?"));
    EXPECT_NE(queries[0], queries[1]);
    EXPECT_NE(queries[0], queries[2]);  // same file, new query
    EXPECT_NE(queries[1], queries[3]);
}

// Closing the window while a request hangs stops the check at once; the
// window goes away only after the check has unwound.
TEST_F(UpdaterWindow, ExitDuringADownloadStopsTheCheckCleanly)
{
    window->setRequestTimeoutMs(60000);
    QTimer::singleShot(300, window.data(), [this] { QTest::mouseClick(window->cmdExit, Qt::LeftButton); });
    const QStringList log = RunAgainst(server->Url("/never"));

    EXPECT_EQ(log, kOpening);
    EXPECT_TRUE(alerts.boxes.isEmpty());
    ASSERT_FALSE(window.isNull());
    EXPECT_FALSE(window->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
}

TEST_F(UpdaterWindow, ServerUrlMenuChangesUrlOnlyOnAnAnswer)
{
    settings.store.Write("updater", "url", "http://old.example");
    window->Form_Load();  // fails to connect; only the URL matters here
    alerts.inputAnswers = {""};
    window->mnuServerURL->trigger();
    ASSERT_EQ(alerts.inputs.size(), 1);
    EXPECT_EQ(alerts.inputs[0].text, "Enter new update server URL.");
    EXPECT_EQ(alerts.inputs[0].title, "Enter Update Server URL");
    EXPECT_EQ(alerts.inputDefaults[0], "http://old.example");
    EXPECT_EQ(window->serverUrl(), "http://old.example");
    EXPECT_EQ(settings.store.Read("updater", "url", ""), "http://old.example");

    alerts.inputAnswers = {"not checked at all"};
    window->mnuServerURL->trigger();
    EXPECT_EQ(window->serverUrl(), "not checked at all");
    EXPECT_EQ(settings.store.Read("updater", "url", ""), "not checked at all");
}

TEST(UpdaterSettings, DefaultServerUrlIsHttpsAndWrittenBack)
{
    TempSettings settings;
    RecordingLog log;
    RecordingAlerts alerts;
    RecordingLauncher launcher;
    HttpFileDownloader downloader;
    Updater updater(log, alerts, settings.store, downloader, launcher, [] {}, [] {},
                    Updater::Setup{kApp, settings.dir.path(), "1.1.5"});
    updater.LoadServerUrl();
    EXPECT_EQ(updater.serverUrl(), "https://update.vorn-midi.example");
    IniSettingsStore reread(settings.store.filePath());
    EXPECT_EQ(reread.Read("updater", "url", "missing"), "https://update.vorn-midi.example");
}

TEST_F(UpdaterWindow, InstallerThatCannotStartKeepsTheProgramRunning)
{
    launcher.succeeds = false;
    alerts.yesNoAnswers = {IAlerts::Answer::Yes};
    const QStringList log = RunAgainst(server->Url("/ctl/9.9.9/right"));
    EXPECT_EQ(log.last(), "Could not start the update file, update aborted...");
    EXPECT_EQ(launcher.launches.size(), 1);
    EXPECT_EQ(quitCalls, 0);
}

}  // namespace
