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
                 std::function<void()> yield, std::function<void()> quitProgram, Setup setup)
    : log_(log), alerts_(alerts), settings_(settings), downloader_(downloader), launcher_(launcher),
      yield_(std::move(yield)), quitProgram_(std::move(quitProgram)), setup_(std::move(setup))
{
}

void Updater::LoadServerUrl()
{
    serverUrl_ = settings_.Read(kSection, kUrlKey, QString::fromLatin1(kDefaultServerUrl));
    settings_.Write(kSection, kUrlKey, serverUrl_);
}

void Updater::ChangeServerUrl()
{
    const QString answer = alerts_.InputBox(QStringLiteral("Enter new update server URL."),
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
    // The first yield lets the freshly shown window paint before any work.
    ReportFailures(alerts_, Routine::RunUpdate, [this] {
        if (Yield())
            RunSteps();
    });
    running_ = false;
}

void Updater::Stop()
{
    stopped_ = true;
    downloader_.Abort();
}

void Updater::RunSteps()
{
    if (!WriteAndYield(QStringLiteral("Running updater version ") + QLatin1String(kUpdaterVersion)) ||
        !WriteAndYield(QStringLiteral("Initializing variables...")))
        return;
    const QString baseName = QString(setup_.applicationName).replace(QLatin1Char(' '), QLatin1Char('_'));
    const QString controlName = baseName + QStringLiteral("_update.xml");
    const QString installerName = baseName + QStringLiteral("_setup.exe");
    if (!WriteAndYield(QStringLiteral("Checking for program updates...")) ||
        !WriteAndYield(QStringLiteral("Running version is ") + setup_.runningVersion))
        return;

    if (!DownloadFileXML(serverUrl_ + QLatin1Char('/') + controlName, FilePath(controlName),
                         kControlFileLimit)) {
        if (stopped_)
            return;
        WriteText(QStringLiteral("Could not save XML file..."));
        WriteText(QStringLiteral("Update aborted..."));
        Yield();
        return;
    }
    if (!WriteAndYield(QStringLiteral("Control file downloaded successfully...")))
        return;

    Offer offer;
    if (!ReadControlFile(FilePath(controlName), offer) || !IsNewer(offer.version))
        return;
    WriteText(QStringLiteral("Update version is newer than current version, program will update..."));
    if (!WriteAndYield(QStringLiteral("Downloading update file...")))
        return;

    // The server URL is read again here: a change made from the menu while
    // the control file was loading applies to the installer download.
    if (!DownloadFileXML(serverUrl_ + QLatin1Char('/') + installerName, FilePath(installerName),
                         kInstallerLimit)) {
        if (!stopped_)
            WriteAndYield(QStringLiteral("File did not download successfully, update aborted..."));
        return;
    }
    if (!WriteAndYield(QStringLiteral("Update file downloaded successfully...")) ||
        !WriteAndYield(QStringLiteral("Calculating download MD5, please wait...")) ||
        !Verify(FilePath(installerName), offer.md5))
        return;
    Install(installerName);
}

bool Updater::ReadControlFile(const QString& path, Offer& offer)
{
    UpdateControlFile controlFile;
    if (!controlFile.Load(path)) {
        WriteText(QStringLiteral("Error loading XML: ") + controlFile.errorReason());
        return false;
    }
    for (const UpdateControlFile::Entry& entry : controlFile.entries()) {
        if (!WriteAndYield(QStringLiteral("Control file ") + entry.name + QStringLiteral(": ") + entry.text))
            return false;
        if (entry.name == QLatin1String("version"))
            offer.version = entry.text;
        else if (entry.name == QLatin1String("md5"))
            offer.md5 = entry.text;
    }
    return true;
}

bool Updater::IsNewer(const QString& offeredVersion)
{
    if (VersionText::IsNewer(offeredVersion, setup_.runningVersion))
        return true;
    if (!VersionText::IsNumbersAndDots(offeredVersion))
        WriteText(QStringLiteral("Update version \"") + offeredVersion +
                  QStringLiteral("\" is not a version number..."));
    WriteAndYield(QStringLiteral("Update version is the same or older than current version, update aborted..."));
    return false;
}

bool Updater::Verify(const QString& installerPath, const QString& md5)
{
    MD5Hash hash;
    const QString digest = hash.HashFile(installerPath);
    if (md5.toLower() != digest.toLower()) {
        WriteAndYield(QStringLiteral("Control file MD5 and upgrade file MD5 do not match, update aborted..."));
        return false;
    }
    return WriteAndYield(QStringLiteral("Control file MD5 and update file MD5 match, continuing update..."));
}

void Updater::Install(const QString& installerName)
{
    const IAlerts::Answer answer =
        alerts_.MsgBox(QStringLiteral("Close ") + setup_.applicationName + QStringLiteral(" and update?"),
                       IAlerts::Buttons::YesNo, IAlerts::Icon::None, QStringLiteral("Program Update"));
    if (stopped_)
        return;
    if (answer != IAlerts::Answer::Yes) {
        WriteAndYield(QStringLiteral("Update cancelled..."));
        return;
    }
    // Ending the program although nothing was started would leave the user
    // with neither the old program nor the new one running.
    if (!launcher_.Launch(installerName, QStringLiteral("/run=yes /S"), setup_.downloadFolder)) {
        WriteAndYield(QStringLiteral("Could not start the update file, update aborted..."));
        return;
    }
    quitProgram_();
}

bool Updater::DownloadFileXML(const QString& sURL, const QString& sPath, qint64 maxBytes)
{
    IFileDownloader::Reply reply;
    try {
        reply = downloader_.Get(sURL + QLatin1Char('?') + FreshQuery(), sPath, maxBytes);
    } catch (const NumberedError& e) {
        if (!stopped_)
            alerts_.MsgBox(DownloadErrorText(e.number(), e.description()), IAlerts::Buttons::Ok,
                           IAlerts::Icon::Information);
        return false;
    }
    if (!Yield())
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

bool Updater::Yield()
{
    yield_();
    return !stopped_;
}

bool Updater::WriteAndYield(const QString& text)
{
    WriteText(text);
    return Yield();
}
