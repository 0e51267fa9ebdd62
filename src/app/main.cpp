#include "core/IniSettingsStore.h"
#include "widgets/QtAlerts.h"
#include "app/frmVornMidiConnector.h"
#include "desktop/SignalExit.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(IniSettingsStore::ApplicationName());
    QApplication::setQuitOnLastWindowClosed(false);

    IniSettingsStore store(IniSettingsStore::DefaultPath(IniSettingsStore::ApplicationName()));
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
