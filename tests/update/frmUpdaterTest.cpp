#include "UpdateServer.h"
#include "core/IniSettingsStore.h"
#include "support/RecordingAlerts.h"
#include "support/TempSettings.h"
#include "update/IInstallerLauncher.h"
#include "update/frmUpdater.h"
#include "widgets/LogView.h"

#include <QAction>
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

const QString kInstallerName = QStringLiteral("Vorn-MIDI_Connector_setup.exe");
const QString kServerNotFound =
    QStringLiteral("Win32 error, server not found, please check download site URL in Settings menu.");
const QString kMalformedUrl = QStringLiteral(
    "Win32 error, possible malformed URL, please check download site URL in Settings menu. "
    "Make sure to include the http:// part.");
const QString kDownloadFailure = QStringLiteral("VB6 runtime error (frmUpdater_DownloadFileXML): ");

class RecordingLauncher : public IInstallerLauncher {
public:
    bool Launch(const QString& fileName, const QString& parameters, const QString& directory) override
    {
        launches << fileName + " " + parameters + " in " + directory;
        return succeeds;
    }
    QStringList launches;
    bool succeeds = true;
};

class UpdaterWindow : public ::testing::Test {
protected:
    static void SetUpTestSuite() { server = std::make_unique<UpdateServer>(); }
    static void TearDownTestSuite() { server.reset(); }

    void SetUp() override
    {
        ASSERT_TRUE(server->started());
        server->ClearRequests();
        window = new frmUpdater(settings.store, alerts, launcher, [this] { ++quitCalls; },
                                QStringLiteral("Vorn-MIDI Connector"), downloads.path());
        window->setRequestTimeoutMs(1000);
    }
    void TearDown() override { delete window.data(); }

    // One check against `url`; returns the progress log.
    QStringList RunAgainst(const QString& url)
    {
        settings.store.Write("updater", "url", url);
        window->Form_Load();
        return window->txtUpdateProgress->toPlainText().split(QLatin1Char('\n'));
    }
    QByteArray Downloaded() const
    {
        QFile file(downloads.filePath(kInstallerName));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
    }

    static std::unique_ptr<UpdateServer> server;
    TempSettings settings;
    RecordingAlerts alerts;
    RecordingLauncher launcher;
    QTemporaryDir downloads;
    int quitCalls = 0;
    QPointer<frmUpdater> window;
};

std::unique_ptr<UpdateServer> UpdaterWindow::server;

struct Road {
    const char* what;
    QString url;  // a path on the test server, or a whole URL
    IAlerts::Answer answer;
    bool launches;
    QString lastLine;  // the start of the log's last line
    QString box;  // the start of the one box shown, or empty for none
    bool installerKept;
};

class UpdaterRoads : public UpdaterWindow, public ::testing::WithParamInterface<Road> {};

// Every road of a check: the last line of the log, the box, whether the
// installer starts (and the program ends), whether the downloaded file stays.
TEST_P(UpdaterRoads, EndsWhereItShould)
{
    const Road& r = GetParam();
    {
        QFile earlier(downloads.filePath(kInstallerName));
        ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
        earlier.write("earlier copy");
    }
    launcher.succeeds = !r.lastLine.startsWith("Could not start");
    alerts.yesNoAnswers = {r.answer};
    const QString url = r.url.startsWith('/') ? server->Url(r.url) : r.url;
    const QStringList log = RunAgainst(url);

    EXPECT_TRUE(log.last().startsWith(r.lastLine)) << log.join('\n').toStdString();
    const QStringList boxes = alerts.texts().filter(QRegularExpression("^(?!Close Vorn-MIDI)"));
    if (r.box.isEmpty()) {
        EXPECT_TRUE(boxes.isEmpty()) << boxes.join('|').toStdString();
    } else {
        ASSERT_EQ(boxes.size(), 1);
        EXPECT_TRUE(boxes[0].startsWith(r.box)) << boxes[0].toStdString();
    }
    EXPECT_EQ(launcher.launches.size(), r.launches ? 1 : 0);
    EXPECT_EQ(quitCalls, r.launches && launcher.succeeds ? 1 : 0);
    if (r.launches)
        EXPECT_EQ(launcher.launches[0], kInstallerName + " /run=yes /S in " + downloads.path());
    EXPECT_EQ(Downloaded() != "earlier copy", r.installerKept);
}

const QString kMatch = QStringLiteral("Control file MD5 and update file MD5 match, continuing update...");
const QString kNotNewer =
    QStringLiteral("Update version is the same or older than current version, update aborted...");
const QString kNotSaved = QStringLiteral("Update aborted...");
const QString kNotDownloaded = QStringLiteral("File did not download successfully, update aborted...");
constexpr auto kYes = IAlerts::Answer::Yes;
constexpr auto kNo = IAlerts::Answer::No;

INSTANTIATE_TEST_SUITE_P(
    EveryRoad, UpdaterRoads,
    ::testing::Values(
        Road{"newer, matching digest, yes", "/ctl/1.1.10/right", kYes, true, kMatch, "", true},
        Road{"upper-case digest, no", "/ctl/1.2/upper", kNo, false, "Update cancelled...", "", true},
        Road{"installer that cannot start", "/ctl/9.9.9/right", kYes, true,
             "Could not start the update file, update aborted...", "", true},
        Road{"digest that does not match", "/ctl/9.9.9/wrong", kYes, false,
             "Control file MD5 and upgrade file MD5 do not match, update aborted...", "", true},
        Road{"no digest", "/ctl/9.9.9/none", kYes, false,
             "Control file MD5 and upgrade file MD5 do not match, update aborted...", "", true},
        Road{"same version", "/ctl/1.1.5/right", kYes, false, kNotNewer, "", false},
        Road{"older version", "/ctl/1.0.99/right", kYes, false, kNotNewer, "", false},
        Road{"version that is not a number", "/ctl/1.2beta/right", kYes, false, kNotNewer, "", false},
        Road{"no version", "/ctl/none/right", kYes, false, kNotNewer, "", false},
        Road{"slow but steady installer", "/slow", kYes, true, kMatch, "", true},
        Road{"control file not found", "/missing", kYes, false, kNotSaved, "", false},
        Road{"broken control file", "/badxml", kYes, false, "Error loading XML: ", "", false},
        Road{"installer not found", "/noinstaller", kYes, false, kNotDownloaded, "", false},
        Road{"installer cut short", "/truncated", kYes, false, kNotDownloaded, kDownloadFailure, false},
        Road{"server that never answers", "/never", kYes, false, kNotSaved, kServerNotFound, false},
        Road{"refused connection", "http://127.0.0.1:1/updates", kYes, false, kNotSaved,
             kServerNotFound, false},
        Road{"unknown host", "http://no-such-host.invalid", kYes, false, kNotSaved, kServerNotFound, false},
        Road{"no scheme", "update.vorn-midi.example", kYes, false, kNotSaved, kMalformedUrl, false},
        Road{"ftp", "ftp://127.0.0.1/updates", kYes, false, kNotSaved, kMalformedUrl, false},
        Road{"no host", "http://", kYes, false, kNotSaved, kMalformedUrl, false}),
    [](const ::testing::TestParamInfo<Road>& info) {
        return QString(info.param.what).replace(QRegularExpression("[^A-Za-z0-9]"), "_").toStdString();
    });

TEST_F(UpdaterWindow, RequestsUseTheStoredUrlWithAFreshQueryEachTime)
{
    alerts.yesNoAnswers = {IAlerts::Answer::No, IAlerts::Answer::No};
    RunAgainst(server->Url("/ctl/9.9.9/right/"));
    window->Form_Load();
    const QStringList requests = server->Requests();
    ASSERT_EQ(requests.size(), 4);
    const QRegularExpression form("^/ctl/9\\.9\\.9/right//Vorn-MIDI_Connector_(update\\.xml|setup\\.exe)"
                                  "\\?(\\.[0-9]+|[0-9](\\.[0-9]+)?(e-[0-9]+)?)$");
    QSet<QString> queries;
    for (const QString& r : requests) {
        EXPECT_TRUE(form.match(r).hasMatch()) << r.toStdString();
        queries << r.mid(r.indexOf('?'));
    }
    EXPECT_EQ(queries.size(), 4);
}

// Closing the window while a request hangs stops the check at once; the
// window goes away only after the check has unwound.
TEST_F(UpdaterWindow, ExitDuringADownloadStopsTheCheckCleanly)
{
    window->setRequestTimeoutMs(60000);
    QTimer::singleShot(300, window.data(), [this] { QTest::mouseClick(window->cmdExit, Qt::LeftButton); });
    const QStringList log = RunAgainst(server->Url("/never"));
    EXPECT_EQ(log.last(), "Running version is 1.1.5");
    EXPECT_TRUE(alerts.boxes.isEmpty());
    ASSERT_FALSE(window.isNull());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(window.isNull());
}

TEST_F(UpdaterWindow, ServerUrlIsHttpsByDefaultAndChangesOnlyOnAnAnswer)
{
    TempSettings fresh;
    frmUpdater other(fresh.store, alerts, launcher, [] {}, QStringLiteral("x"), downloads.path());
    other.setRequestTimeoutMs(1);
    other.Form_Load();
    EXPECT_EQ(IniSettingsStore(fresh.store.filePath()).Read("updater", "url", ""),
              "https://update.vorn-midi.example");

    RunAgainst("http://old.example");
    alerts.inputAnswers = {"", "not checked at all"};
    window->mnuServerURL->trigger();
    EXPECT_EQ(alerts.inputDefaults, QStringList{"http://old.example"});
    EXPECT_EQ(settings.store.Read("updater", "url", ""), "http://old.example");
    window->mnuServerURL->trigger();
    EXPECT_EQ(settings.store.Read("updater", "url", ""), "not checked at all");
}

TEST_F(UpdaterWindow, DownloadFolderThatCannotBeWrittenIsReported)
{
    QTemporaryDir other;
    QFile(other.filePath("file")).open(QIODevice::WriteOnly);
    delete window.data();
    window = new frmUpdater(settings.store, alerts, launcher, [] {}, QStringLiteral("Vorn-MIDI Connector"),
                            other.filePath("file"));
    EXPECT_EQ(RunAgainst(server->Url("/ctl/9.9.9/right")).last(), kNotSaved);
    ASSERT_EQ(alerts.boxes.size(), 1);
    EXPECT_TRUE(alerts.boxes[0].text.startsWith(kDownloadFailure + "75 - ")) << alerts.boxes[0].text.toStdString();
}

}  // namespace
