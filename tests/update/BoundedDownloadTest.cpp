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
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kSameOrOlder =
    QStringLiteral("Update version is the same or older than current version, update aborted...");
const QStringList kControlAborted = {"Could not save XML file...", "Update aborted..."};
const QString kInstallerAborted =
    QStringLiteral("File did not download successfully, update aborted...");

class NoInstaller : public IInstallerLauncher {
public:
    bool Launch(const QString&, const QString&, const QString&) override
    {
        ADD_FAILURE() << "an installer was started";
        return false;
    }
};

const QString kControl = QStringLiteral("Vorn-MIDI_Connector_update.xml");
const QString kInstaller = QStringLiteral("Vorn-MIDI_Connector_setup.exe");

struct Case {
    const char* path;
    QStringList lastLines;  // of the progress log
    QStringList savedFiles;
    QStringList boxes;
};

// One whole check against `path` on the local update server, answering No
// to the question before an install.
void Check(const UpdateServer& server, const Case& c)
{
    SCOPED_TRACE(c.path);
    QTemporaryDir downloads;
    MemorySettingsStore settings;
    settings.Write("updater", "url", server.Url(c.path));
    RecordingLog log;
    RecordingAlerts alerts;
    HttpFileDownloader downloader;
    NoInstaller launcher;
    Updater updater(log, alerts, settings, downloader, launcher, [] { QCoreApplication::processEvents(); },
                    [] {}, Updater::Setup{"Vorn-MIDI Connector", downloads.path(), "1.1.5"});
    updater.LoadServerUrl();
    updater.Run();

    EXPECT_EQ(log.lines.mid(log.lines.size() - c.lastLines.size()), c.lastLines);
    EXPECT_EQ(QDir(downloads.path()).entryList(QDir::Files), c.savedFiles);
    EXPECT_EQ(alerts.texts(), c.boxes);
}

} // namespace

TEST(BoundedDownload, OnlyFilesWithinTheirLimitFromAllowedPlacesAreTaken)
{
    UpdateServer server;
    ASSERT_TRUE(server.started());
    const QString controlTooLarge = QStringLiteral("Error: the file is larger than 64 KiB...");
    const QString otherHost = server.Url("/ctl/9.9.9/right/").replace("127.0.0.1", "localhost");
    const Case cases[] = {
        {"/big/65536/length", {kSameOrOlder}, {kControl}, {}},
        {"/big/65536/stream", {kSameOrOlder}, {kControl}, {}},
        {"/big/65537/length", QStringList{controlTooLarge} + kControlAborted, {}, {}},
        {"/big/65537/stream", QStringList{controlTooLarge} + kControlAborted, {}, {}},
        {"/huge", {"Error: the file is larger than 256 MiB...", kInstallerAborted}, {kControl}, {}},
        {"/redirect/same", {"Update cancelled..."}, {kInstaller, kControl},
         {"Close Vorn-MIDI Connector and update?"}},
        {"/redirect/other",
         QStringList{"Error: redirect to " + otherHost + kControl +
                     " not followed (only to https, or to http on the same host)..."} + kControlAborted,
         {}, {}},
        // Followed: the https server it names is not there.
        {"/redirect/https", kControlAborted, {},
         {"Win32 error, server not found, please check download site URL in Settings menu."}},
    };
    for (const Case& c : cases)
        Check(server, c);
}
