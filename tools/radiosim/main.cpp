// vmc-radiosim: a K3-style transceiver on a pseudo-terminal or a TCP port, for
// tests and for trying the connector without a radio. See --help for its options.
#include "PtyRadioPort.h"
#include "RadioModel.h"
#include "RadioPanel.h"
#include "SimOptions.h"
#include "TcpRadioPort.h"
#include "desktop/SignalExit.h"

#include <QApplication>
#include <QSocketNotifier>
#include <cstdio>
#include <cstring>
#include <memory>
#include <unistd.h>

namespace {
bool AsksForPanel(int argc, char* argv[])
{
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--panel") == 0)
            return true;
    return false;
}

// Qt aborts when it finds no display; say why instead.
bool DisplayReachable()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    return qEnvironmentVariableIsSet("DISPLAY") || qEnvironmentVariableIsSet("WAYLAND_DISPLAY")
           || qEnvironmentVariableIsSet("QT_QPA_PLATFORM");
#else
    return true;
#endif
}
}

int main(int argc, char* argv[])
{
    // Decided before Qt starts: only the panel needs a display, so the simulator
    // alone keeps running headless (tests, CI) without one.
    const bool panelWanted = AsksForPanel(argc, argv);
    if (panelWanted && !DisplayReachable()) {
        std::fprintf(stderr, "vmc-radiosim: --panel needs a display (DISPLAY is not set)\n");
        return 2;
    }
    const std::unique_ptr<QCoreApplication> application =
        panelWanted ? std::make_unique<QApplication>(argc, argv)
                    : std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication& app = *application;
    SimOptions options;
    QString error;
    if (!SimOptions::Parse(app.arguments(), options, error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 2;
    }
    RadioModel radio(options.radio);
    std::unique_ptr<PtyRadioPort> terminal;
    std::unique_ptr<TcpRadioPort> network;
    QString line;
    if (options.tcpPort >= 0) {
        network = std::make_unique<TcpRadioPort>(radio, options);
        if (network->Open(error))
            line = network->Address();
    } else {
        terminal = std::make_unique<PtyRadioPort>(radio, options);
        if (terminal->Open(error))
            line = terminal->slavePath();
    }
    if (line.isEmpty()) {
        std::fprintf(stderr, "vmc-radiosim: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);

    std::unique_ptr<RadioPanel> panel;
    if (options.panel) {
        panel = std::make_unique<RadioPanel>(radio, options.linkPath.isEmpty() ? line : options.linkPath);
        panel->show();
    }

    SignalExit signalExit;
    QObject::connect(&signalExit, &SignalExit::received, &app, &QCoreApplication::quit);
    QSocketNotifier stdinWatch(STDIN_FILENO, QSocketNotifier::Read);
    stdinWatch.setEnabled(options.stdinExit);
    QObject::connect(&stdinWatch, &QSocketNotifier::activated, &app, [&] {
        char buffer[256];
        if (::read(STDIN_FILENO, buffer, sizeof buffer) <= 0)
            app.quit();
    });
    return app.exec();
}
