// What the updater takes from a server: files within their size limits, and
// redirects only to https or, from an http server, within the same host.
// Anything else ends the check with a log line, and nothing is started.
#include "UpdateServer.h"
#include "support/MemorySettingsStore.h"
#include "support/QtPrinters.h"
#include "support/RecordingAlerts.h"
#include "support/RecordingLog.h"
#include "update/HttpFileDownloader.h"
#include "update/IInstallerLauncher.h"
#include "update/Updater.h"

#include <QCoreApplication>
#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

namespace {

const QString kSameOrOlder =
    QStringLiteral("Update version is the same or older than current version, update aborted...");
const QStringList kControlAborted = {"Could not save XML file...", "Update aborted..."};
const QString kInstallerAborted = QStringLiteral("File did not download successfully, update aborted...");

class NoInstaller : public IInstallerLauncher {
public:
    bool Launch(const QString&, const QString&, const QString&) override
    {
        ADD_FAILURE() << "an installer was started";
        return false;
    }
};

struct Case {
    const char* path;
    QStringList lastLines;  // the log's last lines, "?q" standing for each request's query
    QStringList savedFiles;
};

class BoundedDownload : public ::testing::Test {
protected:
    static void SetUpTestSuite() { server = std::make_unique<UpdateServer>(); }
    static void TearDownTestSuite() { server.reset(); }

    // One whole check against `path` on the local server, answering No to
    // the question before an install.
    void Check(const Case& c)
    {
        SCOPED_TRACE(c.path);
        ASSERT_TRUE(server->started());
        QTemporaryDir downloads;
        MemorySettingsStore settings;
        settings.Write("updater", "url", server->Url(c.path));
        RecordingLog log;
        HttpFileDownloader downloader;
        NoInstaller launcher;
        Updater updater(log, alerts, settings, downloader, launcher,
                        [] { QCoreApplication::processEvents(); },
                        [] { ADD_FAILURE() << "the program was ended"; },
                        Updater::Setup{"Vorn-MIDI Connector", downloads.path(), "1.1.5"});
        updater.LoadServerUrl();
        updater.Run();

        const QStringList lines =
            log.lines.replaceInStrings(QRegularExpression("\\?[0-9.e-]+"), QStringLiteral("?q"));
        EXPECT_EQ(lines.mid(lines.size() - c.lastLines.size()), c.lastLines);
        EXPECT_EQ(QDir(downloads.path()).entryList(QDir::Files), c.savedFiles);
    }

    static std::unique_ptr<UpdateServer> server;
    RecordingAlerts alerts;
};

std::unique_ptr<UpdateServer> BoundedDownload::server;

const QString kControl = QStringLiteral("Vorn-MIDI_Connector_update.xml");
const QString kInstaller = QStringLiteral("Vorn-MIDI_Connector_setup.exe");

TEST_F(BoundedDownload, FilesOverTheirLimitAreNotTaken)
{
    const QString controlTooLarge = QStringLiteral("Error: the file is larger than 64 KiB...");
    const Case cases[] = {
        {"/big/65536/length", {kSameOrOlder}, {kControl}},
        {"/big/65536/stream", {kSameOrOlder}, {kControl}},
        {"/big/65537/length", QStringList{controlTooLarge} + kControlAborted, {}},
        {"/big/65537/stream", QStringList{controlTooLarge} + kControlAborted, {}},
        {"/huge",
         {"Downloading update file...", "Error: the file is larger than 256 MiB...", kInstallerAborted},
         {kControl}},
    };
    for (const Case& c : cases)
        Check(c);
    EXPECT_TRUE(alerts.boxes.isEmpty()) << alerts.texts().join('|').toStdString();
}

TEST_F(BoundedDownload, RedirectsOnlyToHttpsOrWithinTheSameHost)
{
    Check({"/redirect/same",
           {"Control file MD5 and update file MD5 match, continuing update...", "Update cancelled..."},
           {kInstaller, kControl}});
    EXPECT_EQ(server->Requests().filter("/redirect/same/").size(), 2);
    EXPECT_EQ(alerts.boxes.size(), 1);  // the question before the install

    server->ClearRequests();
    alerts.boxes.clear();
    const QString other = server->Url("").replace("127.0.0.1", "localhost");
    Check({"/redirect/other",
           QStringList{"Error: redirect to " + other + "/ctl/9.9.9/right/" + kControl +
                       " not followed (only to https, or to http on the same host)..."} +
               kControlAborted,
           {}});
    EXPECT_EQ(server->Requests().size(), 1) << server->Requests().join('|').toStdString();
    EXPECT_TRUE(alerts.boxes.isEmpty());

    // Followed: the https server it names is not there.
    Check({"/redirect/https", kControlAborted, {}});
    ASSERT_EQ(alerts.boxes.size(), 1);
    EXPECT_EQ(alerts.boxes[0].text,
              "Win32 error, server not found, please check download site URL in Settings menu.");
}

} // namespace
