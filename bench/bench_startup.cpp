// bench_startup: milliseconds from the main window's construction to its
// first expose (constructed, Form_Load run, shown, painted once), on the
// first start with an empty settings store and on a later start; no serial port.
#include "app/MainWindow.h"
#include "support/RecordingAlerts.h"
#include "support/TempSettings.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QTimer>
#include <cstdio>

namespace {
class FirstExpose : public QObject {
public:
    bool seen = false;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Expose || event->type() == QEvent::Paint)
            seen = true;
        return false;
    }
};
} // namespace

// Constructs the main window, runs Form_Load, shows it and waits for its
// first expose; milliseconds spent in each step.
void StartOnce(ISettingsStore& store, const char* label)
{
    QElapsedTimer clock;
    clock.start();
    RecordingAlerts alerts;
    MainWindow window(store, alerts);
    const double constructedMs = clock.nsecsElapsed() / 1e6;
    window.Start();
    const double loadedMs = clock.nsecsElapsed() / 1e6;
    FirstExpose expose;
    window.installEventFilter(&expose);
    window.show();
    while (!expose.seen)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    std::printf("%s: window constructed %.1f ms, Form_Load done %.1f ms, first expose %.1f ms\n",
                label, constructedMs, loadedMs, clock.nsecsElapsed() / 1e6);
}

int main(int argc, char** argv)
{
    QElapsedTimer clock;
    clock.start();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::printf("QApplication ready %.1f ms after main began\n", clock.nsecsElapsed() / 1e6);
    TempSettings settings;
    settings.store.Write("settings", "catport", "17");  // no port, no question at start
    StartOnce(settings.store, "first start (every setting and map entry written)");
    StartOnce(settings.store, "later start (stored settings)   ");
    return 0;
}
