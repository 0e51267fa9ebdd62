#include "app/frmVornMidiConnector.h"
#include "core/IniSettingsStore.h"
#include "desktop/CommandLine.h"
#include "desktop/SignalExit.h"
#include "widgets/QtAlerts.h"

#include <QApplication>
#include <QTimer>

namespace {
QStringList ArgumentsOf(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}
} // namespace

int main(int argc, char* argv[])
{
    const CommandLine command = CommandLine::Parse(ArgumentsOf(argc, argv));
    if (command.action() != CommandLine::Action::Run)
        return command.Answer();

    QApplication app(argc, argv);
    QApplication::setApplicationName(IniSettingsStore::ApplicationName());
    QApplication::setQuitOnLastWindowClosed(false);
    const QString settingsFile = command.settingsFile().isEmpty()
                                     ? IniSettingsStore::DefaultPath(QApplication::applicationName())
                                     : command.settingsFile();

    IniSettingsStore store(settingsFile);
    QtAlerts alerts;
    frmVornMidiConnector window(store, alerts);
    QObject::connect(&window, &frmVornMidiConnector::programEnded, &app, &QApplication::quit);
    // Stopped from outside (a signal, the desktop session's end, any other
    // quit), the program ends as "E&xit" ends it.
    SignalExit signalExit;
    QObject::connect(&signalExit, &SignalExit::received, &window, &QWidget::close);
    QObject::connect(&app, &QCoreApplication::aboutToQuit, &window, &QWidget::close);

    // Started inside the event loop, so that an end requested while a
    // start-up box is open ends the program at once.
    QTimer::singleShot(0, &window, [&window] {
        window.Form_Load();
        if (!window.HasEnded())
            window.show();
    });
    return app.exec();
}
