#pragma once

#include <QString>

#include <functional>
#include <vector>

class IAlerts;
class IFileDownloader;
class IInstallerLauncher;
class ILogSink;
class ISettingsStore;

// The update check: fetches the server's control file, compares versions,
// downloads and verifies the installer and, when the user agrees, starts it
// and ends the program. Every step is a line in the progress log; the steps
// run one by one from the event loop, so the window shows each line before
// the next step begins and can be closed between them.
class Updater {
public:
    static constexpr const char* kUpdaterVersion = "1.0.1";
    static constexpr const char* kDefaultServerUrl = "https://update.vorn-midi.example";
    // The control file is a few hundred bytes; 64 KiB leaves room for any
    // element or comment a server may add.
    static constexpr qint64 kControlFileLimit = 64 * 1024;
    // An installer of a Qt program with its libraries weighs some 30 to 80 MB:
    // 256 MiB leaves room for years of growth, while a server gone wrong can
    // neither fill the download folder nor keep the digest check busy for long.
    static constexpr qint64 kInstallerLimit = 256LL * 1024 * 1024;

    struct Setup {
        QString applicationName;  // executable name without extension, blanks kept
        QString downloadFolder;
        QString runningVersion;   // e.g. "1.1.5"
    };

    // Runs a step from the event loop, once what is waiting there has run.
    using Later = std::function<void(std::function<void()> step)>;

    // `quitProgram` ends the program at once after the installer has been
    // started; `ended` is called when a check has ended, however it ended.
    Updater(ILogSink& log, IAlerts& alerts, ISettingsStore& settings, IFileDownloader& downloader,
            IInstallerLauncher& launcher, Later later, std::function<void()> quitProgram,
            std::function<void()> ended, Setup setup);

    // Reads the server URL (default when missing) and stores it straight back.
    void LoadServerUrl();
    // Asks for a new server URL; an empty answer changes nothing.
    void ChangeServerUrl();
    const QString& serverUrl() const { return serverUrl_; }

    // Begins the whole check; a failure of a step is reported in a box and ends it.
    void Run();
    bool running() const { return running_; }
    // Ends a running check at its next step without further lines or boxes.
    void Stop();

    // One file into `path`; false, with the reason logged or shown, when it
    // did not arrive whole, within `maxBytes`, with status 200.
    bool DownloadFile(const QString& url, const QString& path, qint64 maxBytes);

private:
    struct Offer {
        QString version;
        QString md5;
    };

    // A step of the check; false ends it.
    using Step = std::function<bool()>;

    void Next();
    void End();
    Step Line(const QString& text);
    bool FetchControlFile(const QString& controlName);
    bool ReadOffer(const QString& controlName);
    bool IsNewer(const QString& offeredVersion);
    bool FetchInstaller(const QString& installerName);
    bool Verify(const QString& installerPath);
    void Install(const QString& installerName);
    void WriteText(const QString& text);
    QString FreshQuery();
    QString FilePath(const QString& fileName) const;
    QString DownloadErrorText(qint64 number, const QString& description) const;

    ILogSink& log_;
    IAlerts& alerts_;
    ISettingsStore& settings_;
    IFileDownloader& downloader_;
    IInstallerLauncher& launcher_;
    Later later_;
    std::function<void()> quitProgram_;
    std::function<void()> ended_;
    Setup setup_;
    QString serverUrl_;
    QString lastQuery_;
    std::vector<Step> steps_;
    std::size_t nextStep_ = 0;
    Offer offer_;
    bool running_ = false;
    bool stopped_ = false;
};
