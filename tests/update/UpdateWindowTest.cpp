// The update check in its window against the local update server: every road
// it can take, the size limits and redirects included, the requests it makes,
// the server address and the end of the check from outside.
#include "UpdateServer.h"
#include "core/IniSettingsStore.h"
#include "core/Routine.h"
#include "support/RecordingAlerts.h"
#include "support/TempSettings.h"
#include "support/WaitFor.h"
#include "update/IInstallerLauncher.h"
#include "update/UpdateWindow.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>

namespace {

const QString kControlName = QStringLiteral("Vorn-MIDI_Connector_update.xml");
const QString kInstallerName = QStringLiteral("Vorn-MIDI_Connector_setup.exe");
const QString kServerNotFound = "Win32 error, server not found, please check download site URL in Settings menu.";
const QString kMalformedUrl = "Win32 error, possible malformed URL, please check download site URL in Settings menu. "
                              "Make sure to include the http:// part.";
const QString kDownloadFailure = "VB6 runtime error (" + RoutineName(Routine::DownloadUpdateFile) + "): ";

// The window with the installers it starts recorded.
class UpdaterWindow : public ::testing::Test, public IInstallerLauncher {
protected:
    static void SetUpTestSuite() { server = std::make_unique<UpdateServer>(); }
    static void TearDownTestSuite() { server.reset(); }
    static inline std::unique_ptr<UpdateServer> server;

    void SetUp() override
    {
        ASSERT_TRUE(server->started());
        window = new UpdateWindow(settings.store, alerts, *this, [this] { ++quitCalls; },
                                QStringLiteral("Vorn-MIDI Connector"), downloads.path());
        window->setRequestTimeoutMs(1000);
    }
    void TearDown() override { delete window.data(); }
    bool Launch(const QString& fileName, const QString& parameters, const QString& directory) override
    {
        launches << fileName + " " + parameters + " in " + directory;
        return launchSucceeds;
    }
    // One check against `url`, to its end; returns the progress log.
    QString RunAgainst(const QString& url)
    {
        settings.store.Write("updater", "url", url);
        QString log;
        QObject::connect(window, &UpdateWindow::checkEnded, window, [this, &log] { log = window->ProgressText(); });
        window->Start();
        EXPECT_TRUE(WaitFor([&] { return window.isNull() || !window->Checking(); }, 60000));
        return window.isNull() ? log : window->ProgressText();
    }

    TempSettings settings;
    RecordingAlerts alerts;
    QStringList launches;
    bool launchSucceeds = true;
    QTemporaryDir downloads;
    int quitCalls = 0;
    QPointer<UpdateWindow> window;
};

// A road: the URL (a path on the test server, or a whole URL), the answer to
// the question, whether the installer is started, the last lines of the log
// (the very last may go on), the start of the one box shown (empty for none),
// which of the files there were before are replaced.
struct Road {
    const char* what;
    QString url;
    bool answer;
    bool launches;
    QString tail, box;
    const char* saved;
};

class UpdaterRoads : public UpdaterWindow, public ::testing::WithParamInterface<Road> {};

// Every road of a check: the end of the log, the box, whether the installer
// starts (and the program ends), whether the files downloaded earlier stay.
TEST_P(UpdaterRoads, EndsWhereItShould)
{
    const Road& r = GetParam();
    SCOPED_TRACE(r.what);
    for (const QString& name : {kControlName, kInstallerName}) {
        QFile earlier(downloads.filePath(name));
        ASSERT_TRUE(earlier.open(QIODevice::WriteOnly) && earlier.write("earlier copy") == 12);
    }
    launchSucceeds = !r.tail.startsWith("Could not start");
    alerts.yesNoAnswers = {r.answer};
    const QString text = RunAgainst(r.url.startsWith('/') ? server->Url(r.url) : r.url);

    const QString tail = QString(r.tail).replace("LOCALHOST", server->Url("").replace("127.0.0.1", "localhost"));
    EXPECT_TRUE(text.contains(QRegularExpression("(^|\n)" + QRegularExpression::escape(tail) + "[^\n]*$")))
        << text.toStdString();
    const QStringList boxes = alerts.texts().filter(QRegularExpression("^(?!Close Vorn-MIDI)"));
    EXPECT_TRUE(r.box.isEmpty() ? boxes.isEmpty() : boxes.size() == 1 && boxes[0].startsWith(r.box))
        << boxes.join('|').toStdString();
    EXPECT_EQ(launches.join('|'), r.launches ? kInstallerName + " /run=yes /S in " + downloads.path() : QString());
    EXPECT_EQ(quitCalls, r.launches && launchSucceeds ? 1 : 0);
    QStringList saved;
    for (const QString& name : {kControlName, kInstallerName}) {
        QFile file(downloads.filePath(name));
        if (!file.open(QIODevice::ReadOnly) || file.readAll() != "earlier copy")
            saved << name.right(3);
    }
    EXPECT_EQ(saved.join(' ').toStdString(), r.saved);
}

const QString kMatch = QStringLiteral("Control file MD5 and update file MD5 match, continuing update...");
const QString kNoMatch = QStringLiteral("Control file MD5 and upgrade file MD5 do not match, update aborted...");
const QString kNotNewer = "Update version is the same or older than current version, update aborted...";
const QString kNotSaved = QStringLiteral("Could not save XML file...\nUpdate aborted...");
const QString kNotDownloaded = QStringLiteral("File did not download successfully, update aborted...");
const QString kTooLarge = QStringLiteral("Error: the file is larger than ");
constexpr bool kYes = true;
constexpr bool kNo = false;

const Road kRoads[] = {
    {"newer, matching digest, yes", "/ctl/1.1.10/right", kYes, true, kMatch, "", "xml exe"},
    {"upper-case digest, no", "/ctl/1.2/upper", kNo, false, "Update cancelled...", "", "xml exe"},
    {"no start", "/ctl/9.9.9/right", kYes, true, "Could not start the update file, update aborted...", "", "xml exe"},
    {"digest that does not match", "/ctl/9.9.9/wrong", kYes, false, kNoMatch, "", "xml exe"},
    {"no digest", "/ctl/9.9.9/none", kYes, false, kNoMatch, "", "xml exe"},
    {"same version", "/ctl/1.1.5/right", kYes, false, kNotNewer, "", "xml"},
    {"version not a number", "/ctl/1.2beta/right", kYes, false,
     "Update version \"1.2beta\" is not a version number...\n" + kNotNewer, "", "xml"},
    {"slow but steady installer", "/slow", kYes, true, kMatch, "", "xml exe"},
    {"control file not found", "/missing", kYes, false, "Error: 404 - Not Found...\n" + kNotSaved, "", ""},
    {"broken control file", "/badxml", kYes, false, "Error loading XML: ", "", "xml"},
    {"installer not found", "/noinstaller", kYes, false, "Error: 404 - Not Found...\n" + kNotDownloaded, "", "xml"},
    {"installer cut short", "/truncated", kYes, false, kNotDownloaded, kDownloadFailure, "xml"},
    {"server that never answers", "/never", kYes, false, kNotSaved, kServerNotFound, ""},
    {"refused connection", "http://127.0.0.1:1/updates", kYes, false, kNotSaved, kServerNotFound, ""},
    {"unknown host", "http://no-such-host.invalid", kYes, false, kNotSaved, kServerNotFound, ""},
    {"no scheme", "update.vorn-midi.example", kYes, false, kNotSaved, kMalformedUrl, ""},
    {"ftp", "ftp://127.0.0.1/updates", kYes, false, kNotSaved, kMalformedUrl, ""},
    {"no host", "http://", kYes, false, kNotSaved, kMalformedUrl, ""},
    // A control file of 64 KiB is taken, one byte more is not, with or without a length.
    {"control file at its limit", "/big/65536/length", kYes, false, kNotNewer, "", "xml"},
    {"unannounced control file at its limit", "/big/65536/stream", kYes, false, kNotNewer, "", "xml"},
    {"unannounced, a byte over", "/big/65537/stream", kYes, false, kTooLarge + "64 KiB...\n" + kNotSaved, "", ""},
    {"installer announced too large", "/huge", kYes, false, kTooLarge + "256 MiB...\n" + kNotDownloaded, "", "xml"},
    // Redirects are followed within the http host or to https (here to a server not there).
    {"redirect on the same host", "/redirect/same", kYes, true, kMatch, "", "xml exe"},
    {"redirect to another http host", "/redirect/other", kYes, false, "Error: redirect to LOCALHOST/ctl/9.9.9/right/" +
     kControlName + " not followed (only to https, or to http on the same host)...\n" + kNotSaved, "", ""},
    {"redirect to https", "/redirect/https", kYes, false, kNotSaved, kServerNotFound, ""},
};
INSTANTIATE_TEST_SUITE_P(EveryRoad, UpdaterRoads, ::testing::ValuesIn(kRoads));

// Each request goes to the stored URL with the file's name and a query unlike
// any before it, so that no cache answers with an old copy.
TEST_F(UpdaterWindow, RequestsUseTheStoredUrlWithAFreshQueryEachTime)
{
    alerts.yesNoAnswers = {false, false};
    RunAgainst(server->Url("/ctl/9.9.9/right/"));
    RunAgainst(server->Url("/ctl/9.9.9/right/"));
    const QStringList requests = server->Requests().filter(QRegularExpression("^/ctl/9\\.9\\.9/right//"));
    const QRegularExpression form("^/ctl/9\\.9\\.9/right//Vorn-MIDI_Connector_(update\\.xml|setup\\.exe)"
                                  "\\?(\\.[0-9]+|[0-9](\\.[0-9]+)?(e-[0-9]+)?)$");
    ASSERT_TRUE(requests.size() == 4 && requests.filter(form).size() == 4) << requests.join(' ').toStdString();
    QSet<QString> queries;
    for (const QString& r : requests)
        queries << r.mid(r.indexOf('?'));
    EXPECT_EQ(queries.size(), 4);
}

// Closing the window while a request hangs stops the check at once; the
// window goes away only after the check has unwound.
TEST_F(UpdaterWindow, ExitDuringADownloadStopsTheCheckCleanly)
{
    window->setRequestTimeoutMs(60000);
    QTimer::singleShot(300, window.data(), [this] { window->Exit(); });
    EXPECT_TRUE(RunAgainst(server->Url("/never")).endsWith("\nRunning version is 1.1.5"));
    EXPECT_TRUE(alerts.boxes.isEmpty());
    EXPECT_TRUE(WaitFor([&] { return window.isNull(); }, 5000));
}

TEST_F(UpdaterWindow, ServerUrlIsHttpsByDefaultAndChangesOnlyOnAnAnswer)
{
    window->setRequestTimeoutMs(1);
    window->Start();
    EXPECT_TRUE(WaitFor([&] { return !window->Checking(); }));
    EXPECT_EQ(IniSettingsStore(settings.store.filePath()).Read("updater", "url", ""),
              "https://update.vorn-midi.example");

    RunAgainst("http://old.example");
    alerts.inputAnswers = {"", "not checked at all"};
    window->ChangeServerUrl();
    EXPECT_EQ(alerts.inputDefaults, QStringList{"http://old.example"});
    EXPECT_EQ(settings.store.Read("updater", "url", ""), "http://old.example");
    window->ChangeServerUrl();
    EXPECT_EQ(settings.store.Read("updater", "url", ""), "not checked at all");
}

TEST_F(UpdaterWindow, DownloadFolderThatCannotBeWrittenIsReported)
{
    // A file where the download folder should be.
    ASSERT_TRUE(QDir(downloads.path()).removeRecursively() && QFile(downloads.path()).open(QIODevice::WriteOnly));
    EXPECT_TRUE(RunAgainst(server->Url("/ctl/9.9.9/right")).endsWith(kNotSaved));
    QFile::remove(downloads.path());
    EXPECT_TRUE(alerts.texts().size() == 1 && alerts.texts()[0].startsWith(kDownloadFailure + "75 - "))
        << alerts.texts().join('|').toStdString();
}

}  // namespace
