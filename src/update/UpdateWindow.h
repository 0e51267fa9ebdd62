#pragma once

#include "widgets/LogView.h"
#include "update/HttpFileDownloader.h"
#include "update/Updater.h"

#include <QMainWindow>

#include <functional>

class IAlerts;
class IInstallerLauncher;
class ISettingsStore;
class QAction;
class QMenu;
class QPushButton;

// "Program Updater": shows the progress of the update check in its log.
// The window deletes itself when closed; while a check runs, closing it
// stops the check and the deletion waits until the check has ended.
class UpdateWindow : public QMainWindow {
    Q_OBJECT
public:
    // `applicationName` is the executable's name without extension, e.g.
    // "Vorn-MIDI Connector"; the update files are named after it. An empty
    // `downloadFolder` means the user's download folder. `quitProgram` must
    // end the program at once; it is called after the installer started.
    UpdateWindow(ISettingsStore& settings, IAlerts& alerts, IInstallerLauncher& launcher,
               std::function<void()> quitProgram, const QString& applicationName,
               const QString& downloadFolder = QString(), QWidget* parent = nullptr);

    // Loads the server URL, shows the window and begins the check, which
    // goes on from the event loop; the window stays open with its log.
    void Start();
    // A check runs.
    bool Checking() const { return updater_.running(); }

    // Longest silence from the server before a request fails (default 30 s).
    void setRequestTimeoutMs(int ms) { downloader_.setTimeoutMs(ms); }
    const QString& serverUrl() const { return updater_.serverUrl(); }

    // The progress log's text.
    QString ProgressText() const { return progressLog_->toPlainText(); }
    // "Settings" > "&Set Update Server URL" and "E&xit".
    void ChangeServerUrl();
    void Exit();

signals:
    // The check has ended, however it ended.
    void checkEnded();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void CheckEnded();
    static QString RunningVersion();
    static QString DefaultDownloadFolder();

    // Created first: the check writes its progress lines into it.
    LogView* progressLog_ = new LogView;
    IAlerts& alerts_;
    HttpFileDownloader downloader_;
    Updater updater_;
    bool deleteWhenStopped_ = false;
};
