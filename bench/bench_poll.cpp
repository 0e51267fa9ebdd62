// bench_poll: time of one status-poll tick (from its start to its last read)
// against the radio simulator paced at 38400 baud in both directions, median
// and spread over a number of ticks, and the longest time the event loop (the
// window) waited meanwhile. With "tcp" the simulator is reached as
// tcp://localhost:<port>, and the time the port choice took (the name is
// looked up while the event loop runs) and the time until the connection
// stood are shown too. Usage: bench_poll [ticks] [tcp]
#include "cat/CatLink.h"
#include "support/CatRig.h"
#include "core/Options.h"
#include "cat/CatPoll.h"
#include "cat/ComPortLine.h"
#include "support/RadioSimProcess.h"
#include "support/RecordingAlerts.h"
#include "support/RecordingLog.h"
#include "support/TempSettings.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (qEnvironmentVariableIsEmpty("VMC_RADIOSIM"))
        qputenv("VMC_RADIOSIM", VMC_RADIOSIM_PATH);
    const int ticks = argc > 1 ? std::max(1, atoi(argv[1])) : 50;
    const bool tcp = argc > 2 && QByteArray(argv[2]) == "tcp";
    TempSettings settings;
    RadioSimProcess radio;
    QStringList simArgs = {"--baud", "38400", "--paced"};
    if (tcp)
        simArgs << "--tcp" << "0";
    if (!radio.Start(simArgs)) {
        std::fprintf(stderr, "bench_poll: %s\n", qPrintable(radio.ErrorString()));
        return 1;
    }
    radio.MapToCom(settings.store, 1);
    if (tcp)
        settings.store.Write("ports", "com1", QStringLiteral("tcp://localhost:%1").arg(QUrl(radio.PtyPath()).port()));
    CatRig<ComPortLine> rig(settings.store);
    ComPortLine& port = rig.port;
    CatLink& link = rig.link;
    CatPoll& poll = rig.poll;
    QElapsedTimer opening;
    opening.start();
    link.SelectPort(1, [](int) {});
    const double choiceMs = opening.nsecsElapsed() / 1e6;
    while (!port.IsOpen() && port.IsOpening())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    if (tcp)
        std::printf("bench_poll: choosing tcp://localhost took %.3f ms; connected after %.2f ms\n",
                    choiceMs, opening.nsecsElapsed() / 1e6);

    // A 1 ms heartbeat: the longest gap between its beats is the longest the window waited.
    QElapsedTimer beat;
    qint64 longestWaitNs = 0;
    QTimer heartbeat;
    heartbeat.setTimerType(Qt::PreciseTimer);
    heartbeat.setInterval(1);
    QObject::connect(&heartbeat, &QTimer::timeout, [&] {
        longestWaitNs = std::max(longestWaitNs, beat.nsecsElapsed());
        beat.restart();
    });
    beat.start();
    heartbeat.start();

    std::vector<double> ms;
    int validAtEnd = 0;
    for (int i = 0; i < ticks; ++i) {
        QEventLoop loop;
        QObject::connect(&poll, &CatPoll::tickFinished, &loop, &QEventLoop::quit);
        QElapsedTimer clock;
        clock.start();
        poll.Tick();
        if (poll.TickRunning())
            loop.exec();
        ms.push_back(clock.nsecsElapsed() / 1e6);
        validAtEnd += rig.state().answering ? 1 : 0;
    }
    std::sort(ms.begin(), ms.end());
    std::printf("bench_poll: %d ticks at 38400 baud%s: median %.2f ms, min %.2f ms, max %.2f ms; "
                "longest wait of the event loop %.2f ms; VFO A valid after %d of %d ticks; "
                "%lld report boxes\n",
                ticks, tcp ? " over TCP" : "", ms[ms.size() / 2], ms.front(), ms.back(),
                longestWaitNs / 1e6, validAtEnd, ticks, static_cast<long long>(rig.alerts.boxes.size()));
    return rig.alerts.boxes.isEmpty() ? 0 : 1;
}
