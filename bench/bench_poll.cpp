// bench_poll: time of one status-poll tick against the radio simulator at
// 38400 baud, median and spread over a number of ticks.
#include "cat/CatLink.h"
#include "cat/CatParser.h"
#include "cat/CatPoll.h"
#include "cat/QtSerialPort.h"
#include "core/RadioState.h"
#include "support/RadioSimProcess.h"
#include "support/RecordingAlerts.h"
#include "support/RecordingIndicator.h"
#include "support/RecordingLog.h"
#include "support/TempSettings.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (qEnvironmentVariableIsEmpty("VMC_RADIOSIM"))
        qputenv("VMC_RADIOSIM", VMC_RADIOSIM_PATH);
    const int ticks = argc > 1 ? std::max(1, atoi(argv[1])) : 50;
    TempSettings settings;
    RadioSimProcess radio;
    if (!radio.Start({"--baud", "38400"})) {
        std::fprintf(stderr, "bench_poll: %s\n", qPrintable(radio.ErrorString()));
        return 1;
    }
    radio.MapToCom(settings.store, 1);
    QtSerialPort port(settings.store);
    RecordingLog log;
    RecordingIndicator lamp;
    RecordingAlerts alerts;
    RadioState state;
    CatParser parser(state, lamp, alerts);
    CatLink link(port, log, lamp, alerts, state, parser);
    CatPoll poll(link, alerts);
    link.SelectPort(1, [](int) {});

    std::vector<double> ms;
    int validAtEnd = 0;
    for (int i = 0; i < ticks; ++i) {
        QElapsedTimer clock;
        clock.start();
        poll.PollTimer_Timer();
        ms.push_back(clock.nsecsElapsed() / 1e6);
        validAtEnd += state.valid_cat_a ? 1 : 0;
    }
    std::sort(ms.begin(), ms.end());
    std::printf("bench_poll: %d ticks at 38400 baud: median %.2f ms, min %.2f ms, max %.2f ms; "
                "VFO A valid after %d of %d ticks; %lld report boxes\n",
                ticks, ms[ms.size() / 2], ms.front(), ms.back(), validAtEnd, ticks,
                static_cast<long long>(alerts.boxes.size()));
    return alerts.boxes.isEmpty() ? 0 : 1;
}
