#include "update/UpdateWindow.h"

#include "core/IAlerts.h"
#include "core/ProgramVersion.h"
#include "core/FailureReport.h"
#include "widgets/CaptionFit.h"
#include "widgets/FormFont.h"
#include "widgets/Twips.h"
#include "widgets/WrappingButton.h"

#include <QCloseEvent>
#include <QMenuBar>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>

UpdateWindow::UpdateWindow(ISettingsStore& settings, IAlerts& alerts, IInstallerLauncher& launcher,
                       std::function<void()> quitProgram, const QString& applicationName,
                       const QString& downloadFolder, QWidget* parent)
    : QMainWindow(parent), alerts_(alerts),
      updater_(*progressLog_, alerts, settings, downloader_, launcher,
               [this](std::function<void()> step) { QTimer::singleShot(0, this, std::move(step)); },
               std::move(quitProgram), [this] { CheckEnded(); },
               Updater::Setup{applicationName,
                              downloadFolder.isEmpty() ? DefaultDownloadFolder() : downloadFolder,
                              RunningVersion()})
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Program Updater"));
    FormFont::Apply(*this);

    auto* client = new QWidget(this);
    client->setFixedSize(Twips::Rect(0, 0, 6735, 3225).size());
    setCentralWidget(client);

    progressLog_->setParent(client);
    progressLog_->setObjectName(QStringLiteral("progressLog"));
    progressLog_->setGeometry(Twips::Rect(120, 120, 6495, 2415));

    auto* exit = new WrappingButton(QStringLiteral("E&xit"), client);
    exit->setObjectName(QStringLiteral("exitButton"));
    exit->setGeometry(Twips::Rect(3000, 2640, 855, 495));
    connect(exit, &QPushButton::clicked, this, &UpdateWindow::Exit);

    QMenu* settingsMenu = menuBar()->addMenu(QStringLiteral("&Settings"));
    settingsMenu->setObjectName(QStringLiteral("settingsMenu"));
    QAction* serverUrl = settingsMenu->addAction(QStringLiteral("&Set Update Server URL"));
    serverUrl->setObjectName(QStringLiteral("serverUrlItem"));
    connect(serverUrl, &QAction::triggered, this, &UpdateWindow::ChangeServerUrl);
    CaptionFit::Apply(*this);
}

void UpdateWindow::Start()
{
    if (updater_.running())
        return;
    const bool loaded =
        ReportFailures(alerts_, Routine::UpdateWindowLoad, [this] { updater_.LoadServerUrl(); });
    show();
    if (!loaded)
        return;
    updater_.Run();
}

void UpdateWindow::CheckEnded()
{
    emit checkEnded();
    if (deleteWhenStopped_)
        deleteLater();
}

void UpdateWindow::closeEvent(QCloseEvent* event)
{
    // Deleting the window now would pull the log and the check out from
    // under a download that is waiting in a nested event loop.
    if (updater_.running()) {
        updater_.Stop();
        if (testAttribute(Qt::WA_DeleteOnClose)) {
            setAttribute(Qt::WA_DeleteOnClose, false);
            deleteWhenStopped_ = true;
        }
    }
    event->accept();
}

void UpdateWindow::Exit()
{
    ReportFailures(alerts_, Routine::ExitUpdateWindow, [this] { close(); });
}

void UpdateWindow::ChangeServerUrl()
{
    ReportFailures(alerts_, Routine::ChangeServerUrl, [this] { updater_.ChangeServerUrl(); });
}

QString UpdateWindow::RunningVersion()
{
    return QString::fromLatin1(kProgramVersion);
}

QString UpdateWindow::DefaultDownloadFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
}
