#include "core/IniSettingsStore.h"
#include "widgets/QtAlerts.h"
#include "app/frmVornMidiConnector.h"

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
    window.Form_Load();
    window.show();
    return app.exec();
}
