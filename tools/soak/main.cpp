#include "SoakOptions.h"
#include "SoakRun.h"

#include <QCoreApplication>
#include <QTimer>
#include <cstdio>

// vmc-soak: the whole program for a long while under a station's every day
// and its faults; scripts/soak.sh starts it with a display and a JACK server.
int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    SoakOptions options;
    QString error;
    if (!SoakOptions::Parse(app.arguments(), options, error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 2;
    }
    SoakRun run(options);
    QObject::connect(&run, &SoakRun::finished, &app, [&app](bool passed) { app.exit(passed ? 0 : 1); });
    QTimer::singleShot(0, &run, &SoakRun::Start);
    return app.exec();
}
