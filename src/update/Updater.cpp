#include "update/Updater.h"

#include "core/IAlerts.h"
#include "core/ILogSink.h"
#include "core/ISettingsStore.h"
#include "core/FailureReport.h"
#include "update/IFileDownloader.h"
#include "update/IInstallerLauncher.h"
#include "update/MD5Hash.h"
#include "update/UpdateControlFile.h"
#include "update/VersionText.h"

#include <QDir>
#include <QRandomGenerator>

#include <utility>

namespace {
const QString kSection = QStringLiteral("updater");
const QString kUrlKey = QStringLiteral("url");
}

Updater::Updater(ILogSink& log, IAlerts& alerts, ISettingsStore& settings,
                 IFileDownloader& downloader, IInstallerLauncher& launcher,
                 Later later, std::function<void()> quitProgram, std::function<void()> ended, Setup setup)
    : log_(log), alerts_(alerts), settings_(settings), downloader_(downloader), launcher_(launcher),
      later_(std::move(later)), quitProgram_(std::move(quitProgram)), ended_(std::move(ended)),
      setup_(std::move(setup))
{
}

void Updater::LoadServerUrl()
{
    serverUrl_ = settings_.Read(kSection, kUrlKey, QString::fromLatin1(kDefaultServerUrl));
    settings_.Write(kSection, kUrlKey, serverUrl_);
}

void Updater::ChangeServerUrl()
{
    const QString answer = alerts_.AskForText(QStringLiteral("Enter new update server URL."),
                                              QStringLiteral("Enter Update Server URL"), serverUrl_);
    if (answer.isEmpty())
        return;
    settings_.Write(kSection, kUrlKey, answer);
    serverUrl_ = answer;
}

void Updater::Run()
{
    if (running_)
        return;
    running_ = true;
    stopped_ = false;
    const QString baseName = QString(setup_.applicationName).replace(QLatin1Char(' '), QLatin1Char('_'));
    const QString controlName = baseName + QStringLiteral("_update.xml");
    const QString installerName = baseName + QStringLiteral("_setup.exe");
    steps_ = {
        Line(QStringLiteral("Running updater version ") + QLatin1String(kUpdaterVersion)),
        Line(QStringLiteral("Initializing variables...")),
        Line(QStringLiteral("Checking for program updates...")),
        Line(QStringLiteral("Running version is ") + setup_.runningVersion),
        [=] { return FetchControlFile(controlName); },
        Line(QStringLiteral("Control file downloaded successfully...")),
        [=] { return ReadOffer(controlName); },
        [=] { return FetchInstaller(installerName); },
        Line(QStringLiteral("Update file downloaded successfully...")),
        Line(QStringLiteral("Calculating download MD5, please wait...")),
        [=] { return Verify(FilePath(installerName)); },
        [=] {
            Install(installerName);
            return false;
        },
    };
    nextStep_ = 0;
    // The first step waits until the freshly shown window has painted.
    later_([this] { Next(); });
}

void Updater::Next()
{
    if (stopped_ || nextStep_ >= steps_.size())
        return End();
    bool goOn = false;
    ReportFailures(alerts_, Routine::RunUpdate, [&] { goOn = steps_[nextStep_++](); });
    if (goOn)
        later_([this] { Next(); });
    else
        End();
}

void Updater::End()
{
    steps_.clear();
    running_ = false;
    if (ended_)
        ended_();
}

void Updater::Stop()
{
    stopped_ = true;
    downloader_.Abort();
}

Updater::Step Updater::Line(const QString& text)
{
    return [this, text] {
        WriteText(text);
        return true;
    };
}

bool Updater::FetchControlFile(const QString& controlName)
{
    if (DownloadFile(serverUrl_ + QLatin1Char('/') + controlName, FilePath(controlName), kControlFileLimit))
        return true;
    if (!stopped_) {
        WriteText(QStringLiteral("Could not save XML file..."));
        WriteText(QStringLiteral("Update aborted..."));
    }
    return false;
}

bool Updater::ReadOffer(const QString& controlName)
{
    UpdateControlFile controlFile;
    if (!controlFile.Load(FilePath(controlName))) {
        WriteText(QStringLiteral("Error loading XML: ") + controlFile.errorReason());
        return false;
    }
    offer_ = Offer();
    for (const UpdateControlFile::Entry& entry : controlFile.entries()) {
        WriteText(QStringLiteral("Control file ") + entry.name + QStringLiteral(": ") + entry.text);
        if (entry.name == QLatin1String("version"))
            offer_.version = entry.text;
        else if (entry.name == QLatin1String("md5"))
            offer_.md5 = entry.text;
    }
    if (!IsNewer(offer_.version))
        return false;
    WriteText(QStringLiteral("Update version is newer than current version, program will update..."));
    WriteText(QStringLiteral("Downloading update file..."));
    return true;
}

// The server URL is read again here: a change made from the menu while the
// control file was loading applies to the installer download.
bool Updater::FetchInstaller(const QString& installerName)
{
    if (DownloadFile(serverUrl_ + QLatin1Char('/') + installerName, FilePath(installerName), kInstallerLimit))
        return true;
    if (!stopped_)
        WriteText(QStringLiteral("File did not download successfully, update aborted..."));
    return false;
}

bool Updater::IsNewer(const QString& offeredVersion)
{
    if (VersionText::IsNewer(offeredVersion, setup_.runningVersion))
        return true;
    if (!VersionText::IsNumbersAndDots(offeredVersion))
        WriteText(QStringLiteral("Update version \"") + offeredVersion +
                  QStringLiteral("\" is not a version number..."));
    WriteText(QStringLiteral("Update version is the same or older than current version, update aborted..."));
    return false;
}

bool Updater::Verify(const QString& installerPath)
{
    MD5Hash hash;
    const QString digest = hash.HashFile(installerPath);
    if (offer_.md5.toLower() != digest.toLower()) {
        WriteText(QStringLiteral("Control file MD5 and upgrade file MD5 do not match, update aborted..."));
        return false;
    }
    WriteText(QStringLiteral("Control file MD5 and update file MD5 match, continuing update..."));
    return true;
}

void Updater::Install(const QString& installerName)
{
    const bool yes = alerts_.AskYesNo(QStringLiteral("Close ") + setup_.applicationName + QStringLiteral(" and update?"),
                                      IAlerts::Icon::None, QStringLiteral("Program Update"));
    if (stopped_)
        return;
    if (!yes) {
        WriteText(QStringLiteral("Update cancelled..."));
        return;
    }
    // Ending the program although nothing was started would leave the user
    // with neither the old program nor the new one running.
    if (!launcher_.Launch(installerName, QStringLiteral("/run=yes /S"), setup_.downloadFolder)) {
        WriteText(QStringLiteral("Could not start the update file, update aborted..."));
        return;
    }
    quitProgram_();
}

bool Updater::DownloadFile(const QString& url, const QString& path, qint64 maxBytes)
{
    IFileDownloader::Reply reply;
    try {
        reply = downloader_.Get(url + QLatin1Char('?') + FreshQuery(), path, maxBytes);
    } catch (const NumberedError& e) {
        if (!stopped_)
            alerts_.Tell(DownloadErrorText(e.number(), e.description()), IAlerts::Icon::Information);
        return false;
    }
    if (stopped_)
        return false;
    if (!reply.refusal.isEmpty()) {
        WriteText(QStringLiteral("Error: ") + reply.refusal + QStringLiteral("..."));
        return false;
    }
    if (reply.status == 200)
        return true;
    WriteText(QStringLiteral("Error: %1 - %2...").arg(reply.status).arg(reply.statusText));
    return false;
}

QString Updater::DownloadErrorText(qint64 number, const QString& description) const
{
    if (number == IFileDownloader::kServerNotFound)
        return QStringLiteral("Win32 error, server not found, please check download site URL in Settings menu.");
    if (number == IFileDownloader::kMalformedUrl)
        return QStringLiteral("Win32 error, possible malformed URL, please check download site URL in "
                              "Settings menu. Make sure to include the http:// part.");
    return FailureText(Routine::DownloadUpdateFile, number, description);
}

// A query that differs from the previous request's, so no cache between us
// and the server can answer with an old copy: "?" + a number in [0, 1) with
// up to seven significant digits and no zero before the point.
QString Updater::FreshQuery()
{
    constexpr quint32 kSteps = 1u << 24;  // every step is exact in single precision
    QString query;
    do {
        const float r = static_cast<float>(QRandomGenerator::global()->bounded(kSteps)) / kSteps;
        query = QString::number(r, 'g', 7);
        if (query.startsWith(QLatin1String("0.")))
            query.remove(0, 1);
    } while (query == lastQuery_);
    lastQuery_ = query;
    return query;
}

QString Updater::FilePath(const QString& fileName) const
{
    return QDir(setup_.downloadFolder).filePath(fileName);
}

void Updater::WriteText(const QString& text)
{
    log_.AppendLine(text);
}
