#include "update/frmUpdater.h"

#include "core/IAlerts.h"
#include "core/ProgramVersion.h"
#include "core/RuntimeError.h"
#include "widgets/CaptionFit.h"
#include "widgets/FormFont.h"
#include "widgets/Twips.h"
#include "widgets/WrappingButton.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QMenuBar>
#include <QPushButton>
#include <QStandardPaths>

frmUpdater::frmUpdater(ISettingsStore& settings, IAlerts& alerts, IInstallerLauncher& launcher,
                       std::function<void()> quitProgram, const QString& applicationName,
                       const QString& downloadFolder, QWidget* parent)
    : QMainWindow(parent), alerts_(alerts),
      updater_(*txtUpdateProgress, alerts, settings, downloader_, launcher,
               [] { QCoreApplication::processEvents(); }, std::move(quitProgram),
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

    txtUpdateProgress->setParent(client);
    txtUpdateProgress->setObjectName(QStringLiteral("txtUpdateProgress"));
    txtUpdateProgress->setGeometry(Twips::Rect(120, 120, 6495, 2415));

    cmdExit = new WrappingButton(QStringLiteral("E&xit"), client);
    cmdExit->setObjectName(QStringLiteral("cmdExit"));
    cmdExit->setGeometry(Twips::Rect(3000, 2640, 855, 495));
    connect(cmdExit, &QPushButton::clicked, this, &frmUpdater::cmdExit_Click);

    mnuSettings = menuBar()->addMenu(QStringLiteral("&Settings"));
    mnuSettings->setObjectName(QStringLiteral("mnuSettings"));
    mnuServerURL = mnuSettings->addAction(QStringLiteral("&Set Update Server URL"));
    mnuServerURL->setObjectName(QStringLiteral("mnuServerURL"));
    connect(mnuServerURL, &QAction::triggered, this, &frmUpdater::mnuServerURL_Click);
    CaptionFit::Apply(*this);
}

void frmUpdater::Form_Load()
{
    if (updater_.running())
        return;
    const bool loaded =
        RunGuarded(alerts_, QStringLiteral("frmUpdater_Form_Load"), [this] { updater_.LoadServerUrl(); });
    show();
    if (!loaded)
        return;
    updater_.Run();
    if (deleteWhenStopped_)
        deleteLater();
}

void frmUpdater::closeEvent(QCloseEvent* event)
{
    // Deleting the window now would pull the log and the check out from
    // under the routine that is waiting in a nested event loop.
    if (updater_.running()) {
        updater_.Stop();
        if (testAttribute(Qt::WA_DeleteOnClose)) {
            setAttribute(Qt::WA_DeleteOnClose, false);
            deleteWhenStopped_ = true;
        }
    }
    event->accept();
}

void frmUpdater::cmdExit_Click()
{
    RunGuarded(alerts_, QStringLiteral("frmUpdater_cmdExit_Click"), [this] { close(); });
}

void frmUpdater::mnuServerURL_Click()
{
    RunGuarded(alerts_, QStringLiteral("mnuServerURL_Click"), [this] { updater_.ChangeServerUrl(); });
}

QString frmUpdater::RunningVersion()
{
    return QString::fromLatin1(kProgramVersion);
}

QString frmUpdater::DefaultDownloadFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
}
