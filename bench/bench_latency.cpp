// bench_latency: end-to-end latency of a wheel click, from the JACK source
// sending it to the frequency command arriving at the radio simulator
// (simulator log, millisecond stamps), at the 100 ms and the 10 ms pump.
// Also: the part after the pump's tick begins (tick start to radio), and the
// tick's own work for a message. Usage: bench_latency [events per interval]
#include "BenchRig.h"
#include "support/MainWindowParts.h"

#include "widgets/LogView.h"

#include <QApplication>
#include <QHash>
#include <QRandomGenerator>
#include <QTextBlock>
#include <QTimerEvent>
#include <algorithm>
#include <chrono>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d)
{
    return std::chrono::duration<double, std::milli>(d).count();
}

double Percentile(std::vector<double> values, double p)
{
    std::sort(values.begin(), values.end());
    const std::size_t at = std::min(values.size() - 1, std::size_t(p * double(values.size() - 1) + 0.5));
    return values[at];
}

// Sees the pump timer's event before the pump runs.
// The newest frequency command in the CAT log, as the radio receives it ("FA00014060010").
QByteArray LastFrequencyCommand(const LogView& catLog)
{
    for (QTextBlock b = catLog.document()->lastBlock(); b.isValid(); b = b.previous()) {
        if (b.text().startsWith(QLatin1String("FA")))
            return b.text().chopped(1).toLatin1();
    }
    return {};
}

class TickStartWatch : public QObject {
public:
    Clock::time_point lastStart;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Timer)
            lastStart = Clock::now();
        return false;
    }
};

struct Sample {
    QByteArray command;  // what the click made the program send
    Clock::time_point sent;
    Clock::time_point tickStart;
    Clock::time_point tickEnd;
};

bool Measure(int intervalMs, int events)
{
    BenchRig rig;
    if (!rig.Start(intervalMs))
        return false;
    frmVornMidiConnector& w = *rig.window;
    TickStartWatch watch;
    QTimer& pump = *Timer(w, "tmrMIDI");
    pump.installEventFilter(&watch);
    int logged = w.txtMidiInDump->document()->characterCount();
    std::vector<Sample> samples;
    Sample pending;
    bool waiting = false;
    // Connected after the pump: runs when the tick's work is done.
    QObject::connect(&pump, &QTimer::timeout, &w, [&] {
        const int now = w.txtMidiInDump->document()->characterCount();
        if (waiting && now != logged) {
            pending.command = LastFrequencyCommand(*w.txtCATDump);
            pending.tickStart = watch.lastStart;
            pending.tickEnd = Clock::now();
            samples.push_back(pending);
            waiting = false;
        }
        logged = now;
    });

    // Steady clock to wall clock, to microseconds; the simulator stamps wall-clock milliseconds.
    const double epochOffsetMs =
        std::chrono::duration<double, std::milli>(
            std::chrono::system_clock::now().time_since_epoch()).count() -
        std::chrono::duration<double, std::milli>(Clock::now().time_since_epoch()).count();
    QRandomGenerator random(7);
    for (int i = 0; i < events; ++i) {
        const QDeadlineTimer pause(int(random.bounded(intervalMs + 1)));
        BenchRig::RunUntil([&] { return pause.hasExpired(); }, intervalMs + 100);
        pending.sent = Clock::now();
        waiting = true;
        rig.surface->SendControlChange(0x64, 0x41);
        // A click the surface's server never delivered counts as lost, not as a latency.
        if (!BenchRig::RunUntil([&] { return !waiting; }, 2000))
            waiting = false;
    }
    BenchRig::RunUntil([&] { return rig.FrequencyCommands().size() >= int(samples.size()); }, 5000);
    QHash<QByteArray, qint64> arrivedAt;
    for (const auto& [command, epochMs] : rig.FrequencyCommands())
        arrivedAt.insert(command, epochMs);
    if (!rig.alerts.boxes.isEmpty()) {
        std::fprintf(stderr, "bench_latency: %s\n", qPrintable(rig.alerts.texts().join(" | ")));
        return false;
    }
    std::vector<double> total, afterTickStart, tickWork;
    const int undelivered = events - int(samples.size());
    int unsent = 0;
    for (const Sample& sample : samples) {
        if (!arrivedAt.contains(sample.command)) {
            ++unsent;
            continue;
        }
        const auto toEpochMs = [&](Clock::time_point t) {
            return epochOffsetMs + std::chrono::duration<double, std::milli>(t.time_since_epoch()).count();
        };
        // A stamp of whole milliseconds stands for the middle of its millisecond.
        const double arrivedMs = double(arrivedAt.value(sample.command)) + 0.5;
        total.push_back(arrivedMs - toEpochMs(sample.sent));
        afterTickStart.push_back(arrivedMs - toEpochMs(sample.tickStart));
        tickWork.push_back(Ms(sample.tickEnd - sample.tickStart));
    }
    if (total.empty())
        return false;
    std::printf("pump %4d ms, %d clicks (%d not at the pump within 2 s, %d not at the radio): MIDI send -> radio p50 %6.1f ms  p99 %6.1f ms | "
                "tick start -> radio p50 %4.1f ms  p99 %4.1f ms (1 ms stamps) | "
                "tick work p50 %.3f ms  p99 %.3f ms\n",
                intervalMs, events, undelivered, unsent, Percentile(total, 0.5), Percentile(total, 0.99),
                Percentile(afterTickStart, 0.5), Percentile(afterTickStart, 0.99),
                Percentile(tickWork, 0.5), Percentile(tickWork, 0.99));
    std::fflush(stdout);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int events = argc > 1 ? std::max(10, atoi(argv[1])) : 200;
    for (int interval : {100, 10})
        if (!Measure(interval, events))
            return 1;
    return 0;
}
