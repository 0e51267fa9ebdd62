// bench_latency: how long a wheel click takes to reach the radio. The whole
// program, the radio simulator paced at 38400 baud both ways (a command
// counts as arrived when its last character has crossed the line), poll
// every 1000 ms, JACK cycles of VMC_JACK_PERIOD frames (default 128, 2.7 ms).
// For each map and MIDI interval:
//   callback -> radio: from the moment JACK hands the click to the program
//     (a probe input on the same port is called in the same cycle) to the
//     arrival of the click's command;
//   send -> radio: from the surface's send to the same arrival.
// The clicks come 30 to 60 ms apart, so the line is free for each. With the
// Flex map a click's command is the first frequency command that reaches its
// frequency; with the Elecraft map the n-th "UP1;" belongs to the n-th click.
// Stamps are whole milliseconds (the simulator's log), taken as their middle.
// Usage: bench_latency [clicks per run, default 200]
#include "BenchRig.h"

#include <QApplication>
#include <QRandomGenerator>
#include <algorithm>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr qint64 kStartHz = 14060000;  // the simulator's VFO A
constexpr int kStepHz = 10;            // Flex map, wheel at speed 1

double Percentile(std::vector<double> values, double p)
{
    std::sort(values.begin(), values.end());
    const std::size_t at = std::min(values.size() - 1, std::size_t(p * double(values.size() - 1) + 0.5));
    return values[at];
}

// The arrival (epoch ms) of each click's command, in the order of the clicks.
std::vector<double> Arrivals(const BenchRig& rig, bool elecraft, int clicks)
{
    std::vector<double> arrivals;
    const auto commands = rig.Commands(elecraft ? "UP1" : "FA");
    for (int click = 1; click <= clicks; ++click) {
        double arrived = -1;
        for (int i = 0; i < commands.size() && arrived < 0; ++i) {
            const bool reaches = elecraft ? i + 1 == click
                                          : commands[i].first.mid(2).toLongLong() >= kStartHz + click * kStepHz;
            if (reaches)
                arrived = double(commands[i].second) + 0.5;
        }
        arrivals.push_back(arrived);
    }
    return arrivals;
}

bool Measure(const char* rigtype, int intervalMs, int clicks)
{
    BenchRig rig;
    if (!rig.Start(intervalMs, rigtype))
        return false;
    JackProbe probe;
    if (!probe.IsOpen()) {
        std::fprintf(stderr, "bench_latency: the probe found no surface\n");
        return false;
    }
    const bool elecraft = QByteArray(rigtype) == "elecraft";
    QRandomGenerator random(7);
    std::vector<Clock::time_point> sent;
    for (int i = 0; i < clicks; ++i) {
        const QDeadlineTimer pause(30 + int(random.bounded(31)));
        BenchRig::RunUntil([&] { return pause.hasExpired(); }, 1000);
        sent.push_back(Clock::now());
        rig.surface->SendControlChange(0x64, 0x41);
    }
    std::vector<double> arrived;
    BenchRig::RunUntil([&] {
        arrived = Arrivals(rig, elecraft, clicks);
        return arrived.back() >= 0;
    }, 5000);
    const std::vector<Clock::time_point> received = probe.Take();
    if (!rig.alerts.boxes.isEmpty()) {
        std::fprintf(stderr, "bench_latency: %s\n", qPrintable(rig.alerts.texts().join(" | ")));
        return false;
    }
    std::vector<double> fromCallback, fromSend;
    int missing = 0;
    for (int i = 0; i < clicks; ++i) {
        if (arrived[i] < 0 || std::size_t(i) >= received.size()) {
            ++missing;
            continue;
        }
        fromCallback.push_back(arrived[i] - BenchRig::EpochMs(received[i]));
        fromSend.push_back(arrived[i] - BenchRig::EpochMs(sent[i]));
    }
    if (fromCallback.empty())
        return false;
    std::printf("%-8s MIDI interval %4d ms, %d clicks (%d missing, %zu delivered by JACK): callback -> radio "
                "p50 %5.1f ms p99 %5.1f ms | send -> radio p50 %5.1f ms p99 %5.1f ms\n",
                rigtype, intervalMs, clicks, missing, received.size(), Percentile(fromCallback, 0.5),
                Percentile(fromCallback, 0.99), Percentile(fromSend, 0.5), Percentile(fromSend, 0.99));
    std::fflush(stdout);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int clicks = argc > 1 ? std::max(10, atoi(argv[1])) : 200;
    for (const char* rigtype : {"flex", "elecraft"})
        for (int interval : {100, 10, 1000})
            if (!Measure(rigtype, interval, clicks))
                return 1;
    return 0;
}
