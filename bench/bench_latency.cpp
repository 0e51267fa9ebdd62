// bench_latency: how long a wheel click takes to reach the radio. The whole
// program, poll every 1000 ms, JACK cycles of VMC_JACK_PERIOD frames (default
// 128, 2.7 ms), on each road to a radio (BenchRig.h):
//   flex, elecraft: the program's own CAT link to the radio simulator paced at
//     38400 baud both ways (a command counts as arrived when its last
//     character has crossed the line; the simulator's log stamps whole
//     milliseconds, taken as their middle);
//   rigctld: Hamlib's NET rigctl to rigctld's dummy rig; a command arrives when
//     its line comes off the wire at the tap in front of rigctld;
//   ts480: Hamlib's TS-480 driver to the simulator, stamped as on the CAT link.
// For each road and MIDI interval:
//   callback -> radio: from the moment JACK hands the click to the program
//     (a probe input on the same port is called in the same cycle) to the
//     arrival of the click's command;
//   send -> radio: from the surface's send to the same arrival.
// The clicks come 30 to 60 ms apart (or `spacing` to twice that), so the CAT
// line is free for each. rigctld's dummy rig takes longer than that for a
// frequency (it sleeps in each call), so there a click often waits for the
// one before unless the spacing is made longer. With the Flex map and
// through Hamlib a click's command is the first frequency command that
// reaches its frequency (through Hamlib a click that comes while the radio is
// busy is carried by the next command); with the Elecraft map the n-th
// "UP1;" belongs to the n-th click. At the end, a table with the roads side
// by side for each MIDI interval.
// Usage: bench_latency [clicks per run, default 200] [roads, default flex,elecraft,rigctld,ts480]
//                      [shortest spacing of the clicks in ms, default 30]
#include "BenchRig.h"

#include <QApplication>
#include <QRandomGenerator>
#include <algorithm>
#include <optional>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kStepHz = 10;  // Flex map (and Hamlib's), wheel at speed 1

struct Result {
    BenchRoad road;
    int intervalMs;
    int missing;
    double callbackP50, callbackP99, sendP50, sendP99;
};


// The arrival (epoch ms) of each click's command, in the order of the clicks.
std::vector<double> Arrivals(const BenchRig& rig, bool elecraft, int clicks)
{
    std::vector<double> arrivals;
    const auto ups = elecraft ? rig.Commands("UP1") : QList<QPair<QByteArray, qint64>>();
    const auto commands = elecraft ? std::vector<BenchRig::FrequencyCommand>() : rig.FrequencyCommands();
    for (int click = 1; click <= clicks; ++click) {
        double arrived = -1;
        if (elecraft && click <= ups.size())
            arrived = double(ups[click - 1].second) + 0.5;
        for (std::size_t i = 0; i < commands.size() && arrived < 0; ++i)
            if (commands[i].hertz >= BenchRig::kStartHz + click * kStepHz)
                arrived = commands[i].arrivedMs;
        arrivals.push_back(arrived);
    }
    return arrivals;
}

std::optional<Result> Measure(const BenchRoad& road, int intervalMs, int clicks, int spacingMs)
{
    BenchRig rig;
    if (!rig.Start(intervalMs, road.name))
        return std::nullopt;
    JackProbe probe;
    if (!probe.IsOpen()) {
        std::fprintf(stderr, "bench_latency: the probe found no surface\n");
        return std::nullopt;
    }
    const bool elecraft = QByteArray(road.name) == "elecraft";
    QRandomGenerator random(7);
    std::vector<Clock::time_point> sent;
    for (int i = 0; i < clicks; ++i) {
        const QDeadlineTimer pause(spacingMs + int(random.bounded(spacingMs + 1)));
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
        return std::nullopt;
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
        return std::nullopt;
    const Result result{road, intervalMs, missing, Percentile(fromCallback, 0.5), Percentile(fromCallback, 0.99),
                        Percentile(fromSend, 0.5), Percentile(fromSend, 0.99)};
    std::printf("%-8s MIDI interval %4d ms, %d clicks (%d missing, %zu delivered by JACK): callback -> radio "
                "p50 %5.1f ms p99 %5.1f ms | send -> radio p50 %5.1f ms p99 %5.1f ms\n",
                road.name, intervalMs, clicks, missing, received.size(), result.callbackP50, result.callbackP99,
                result.sendP50, result.sendP99);
    std::fflush(stdout);
    return result;
}

// The roads side by side, one MIDI interval after the other.
void PrintTable(const std::vector<Result>& results, const std::vector<int>& intervals)
{
    std::printf("\n%-32s %9s %8s  %-17s %-17s\n", "road", "interval", "missing", "callback -> radio",
                "send -> radio");
    std::printf("%-32s %9s %8s  %8s %8s %8s %8s\n", "", "", "", "p50 ms", "p99 ms", "p50 ms", "p99 ms");
    for (int interval : intervals)
        for (const Result& r : results)
            if (r.intervalMs == interval)
                std::printf("%-32s %6d ms %8d  %8.1f %8.1f %8.1f %8.1f\n", r.road.label, interval, r.missing,
                            r.callbackP50, r.callbackP99, r.sendP50, r.sendP99);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int clicks = argc > 1 ? std::max(10, atoi(argv[1])) : 200;
    const std::vector<BenchRoad> roads = BenchRoad::List(argc > 2 ? argv[2] : "flex,elecraft,rigctld,ts480");
    const int spacingMs = argc > 3 ? std::max(1, atoi(argv[3])) : 30;
    if (roads.empty()) {
        std::fprintf(stderr, "bench_latency: the roads are flex, elecraft, rigctld and ts480\n");
        return 2;
    }
    const std::vector<int> intervals{100, 10, 1000};
    std::vector<Result> results;
    for (const BenchRoad& road : roads)
        for (int interval : intervals) {
            const std::optional<Result> result = Measure(road, interval, clicks, spacingMs);
            if (!result)
                return 1;
            results.push_back(*result);
        }
    PrintTable(results, intervals);
    return 0;
}
