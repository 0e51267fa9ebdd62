#pragma once

#include <QString>

#include <functional>

class IAlerts;
class IFileDownloader;
class IInstallerLauncher;
class ILogSink;
class ISettingsStore;

// The update check: fetches the server's control file, compares versions,
// downloads and verifies the installer and, when the user agrees, starts it
// and ends the program. Every step is a line in the progress log.
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

    // `yield` runs one pass of the message loop; `quitProgram` ends the
    // program at once after the installer has been started.
    Updater(ILogSink& log, IAlerts& alerts, ISettingsStore& settings, IFileDownloader& downloader,
            IInstallerLauncher& launcher, std::function<void()> yield,
            std::function<void()> quitProgram, Setup setup);

    // Reads the server URL (default when missing) and stores it straight back.
    void LoadServerUrl();
    // Asks for a new server URL; an empty answer changes nothing.
    void ChangeServerUrl();
    const QString& serverUrl() const { return serverUrl_; }

    // The whole check; its failures are reported in a box.
    void Run();
    bool running() const { return running_; }
    // Ends a running check at its next step without further lines or boxes.
    void Stop();

    // One file into `sPath`; false, with the reason logged or shown, when it
    // did not arrive whole, within `maxBytes`, with status 200.
    bool DownloadFileXML(const QString& sURL, const QString& sPath, qint64 maxBytes);

private:
    struct Offer {
        QString version;
        QString md5;
    };

    void RunSteps();
    bool ReadControlFile(const QString& path, Offer& offer);
    bool IsNewer(const QString& offeredVersion);
    bool Verify(const QString& installerPath, const QString& md5);
    void Install(const QString& installerName);
    void WriteText(const QString& text);
    bool Yield();
    bool WriteAndYield(const QString& text);
    QString FreshQuery();
    QString FilePath(const QString& fileName) const;
    QString DownloadErrorText(qint64 number, const QString& description) const;

    ILogSink& log_;
    IAlerts& alerts_;
    ISettingsStore& settings_;
    IFileDownloader& downloader_;
    IInstallerLauncher& launcher_;
    std::function<void()> yield_;
    std::function<void()> quitProgram_;
    Setup setup_;
    QString serverUrl_;
    QString lastQuery_;
    bool running_ = false;
    bool stopped_ = false;
};
