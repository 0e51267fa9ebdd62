#include "app/MainWindow.h"
#include "core/IniSettingsStore.h"
#include "core/ProgramVersion.h"
#include "desktop/CommandLine.h"
#include "desktop/DesktopPlatform.h"
#include "desktop/SignalExit.h"
#include "desktop/SingleInstance.h"
#include "widgets/QtAlerts.h"

#include <QApplication>
#include <QDir>
#include <QIcon>
#include <QTimer>
#include <cstdio>

namespace {
QStringList ArgumentsOf(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

void DescribeApplication()
{
    QApplication::setApplicationName(IniSettingsStore::ApplicationName());
    QApplication::setApplicationVersion(QLatin1String(kProgramVersion));
    // Ties the windows to the installed .desktop file and its icon.
    QApplication::setDesktopFileName(QStringLiteral(VMC_DESKTOP_ID));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("vorn-midi-connector")));
    QApplication::setQuitOnLastWindowClosed(false);
}

// A second start with the same settings file: says so, then lets the copy
// that runs come forward (after the box, so that its window keeps the focus).
int RefuseSecondCopy(SingleInstance& instance, const QString& settingsFile, QtAlerts& alerts)
{
    const QString text =
        QStringLiteral("Vorn-MIDI Connector already runs with the settings file\n%1\n\n"
                       "A second copy, for a second radio, needs a file of its own:\n"
                       "vorn-midi-connector --settings FILE")
            .arg(QDir::toNativeSeparators(settingsFile));
    std::fprintf(stderr, "vorn-midi-connector: %s\n", qPrintable(text));
    alerts.Tell(text, IAlerts::Icon::Information);
    alerts.WaitUntilAllClosed();
    instance.AskRunningCopyToShow();
    return 1;
}

// Shows the running copy to a second start: its window, or the box that
// holds it (a start-up question), restored when it is minimised.
void BringForward(QWidget& window)
{
    QWidget* front = QApplication::activeModalWidget();
    if (!front)
        front = &window;
    if (!front->isVisible())
        return;
    front->setWindowState(front->windowState() & ~Qt::WindowMinimized);
    front->raise();
    front->activateWindow();
}
} // namespace

int main(int argc, char* argv[])
{
    DesktopPlatform::UseParentConsole();
    const CommandLine command = CommandLine::Parse(ArgumentsOf(argc, argv));
    if (command.action() != CommandLine::Action::Run)
        return command.Answer();

    QApplication app(argc, argv);
    DescribeApplication();
    const QString settingsFile = command.settingsFile().isEmpty()
                                     ? DesktopPlatform::SettingsFile(QApplication::applicationName())
                                     : command.settingsFile();
    QtAlerts alerts;
    SingleInstance instance(settingsFile);
    if (!instance.TryToRun())
        return RefuseSecondCopy(instance, settingsFile, alerts);

    IniSettingsStore store(settingsFile);
    MainWindow window(store, alerts);
    QObject::connect(&window, &MainWindow::programEnded, &app, &QApplication::quit);
    QObject::connect(&instance, &SingleInstance::showRequested, &window,
                     [&window] { BringForward(window); });
    // Stopped from outside (a signal, the desktop session's end, any other
    // quit), the program ends as "E&xit" ends it.
    SignalExit signalExit;
    QObject::connect(&signalExit, &SignalExit::received, &window, &QWidget::close);
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &window, &QWidget::close);
    // The end of the desktop session asks first (Windows asks every program,
    // and ends it soon after): the program ends as "E&xit" ends it.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &window, &QWidget::close);

    // Started inside the event loop, so that an end requested while a
    // start-up box is open ends the program at once.
    QTimer::singleShot(0, &window, [&window] {
        window.Start();
        if (!window.HasEnded())
            window.show();
    });
    return app.exec();
}
