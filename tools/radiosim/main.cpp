// vmc-radiosim: a K3-style transceiver on a pseudo-terminal, for tests and for
// trying the connector without a radio. See --help for its options.
#include "PtyRadioPort.h"
#include "RadioModel.h"
#include "SignalExit.h"
#include "SimOptions.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <cstdio>
#include <unistd.h>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    SimOptions options;
    QString error;
    if (!SimOptions::Parse(app.arguments(), options, error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 2;
    }
    RadioModel radio(options.radio);
    PtyRadioPort port(radio, options);
    if (!port.Open(error)) {
        std::fprintf(stderr, "vmc-radiosim: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("%s\n", qPrintable(port.slavePath()));
    std::fflush(stdout);

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
