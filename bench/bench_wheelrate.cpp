// bench_wheelrate: the highest steady wheel rate (clicks per second, evenly
// spaced, for 3 s) at which every click reaches the radio, with the whole
// program at the 100 ms and the 10 ms pump, the CAT poll at its default
// 1000 ms and the radio paced at 38400 baud both ways. With the Flex map
// (default) each click steps VFO A 10 Hz up; the steps of one pump tick go out
// as one frequency command, and the clicks that arrived are the steps between
// the first frequency and the radio's last (none may be undone by a poll
// reply). With "elecraft" each click is the radio's own step "UP1;" (4
// characters, so the line carries at most 960 a second).
// A trial that loses clicks says where: not delivered by JACK, dropped by the
// full ring, or taken by the pump but never sent (the link looked down).
// A poll interval of 10000 ms (the menu's longest) shows what the program
// reaches with the poll almost out of the way.
// Usage: bench_wheelrate [flex|elecraft] [poll interval in ms, default 1000]
#include "BenchRig.h"
#include "midi/MidiInRing.h"
#include "support/MainWindowParts.h"
#include "widgets/LogView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <atomic>
#include <chrono>
#include <thread>

namespace {

constexpr int kSeconds = 3;
constexpr qint64 kStartHz = 14060000;  // the simulator's VFO A
constexpr int kStepHz = 10;            // Flex map, wheel at speed 1

bool elecraft = false;
int pollMs = 1000;

// The clicks that have reached the radio so far.
int ClicksAtRadio(const BenchRig& rig)
{
    if (!elecraft)
        return int((rig.LastFrequency(kStartHz) - kStartHz) / kStepHz);
    return int(rig.radio.ReceivedCommands().count(QStringLiteral("UP1")));
}

// The longest time between two ticks of the pump timer it watches.
class PumpGapWatch : public QObject {
public:
    explicit PumpGapWatch(QTimer& pump) { pump.installEventFilter(this); }
    double TakeLongestMs()
    {
        const double longest = longestNs_ / 1e6;
        longestNs_ = 0;
        last_.invalidate();
        return longest;
    }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Timer) {
            if (last_.isValid())
                longestNs_ = std::max(longestNs_, last_.nsecsElapsed());
            last_.start();
        }
        return false;
    }

private:
    QElapsedTimer last_;
    qint64 longestNs_ = 0;
};

// Clicks the pump took from the ring, and events the full ring dropped, as the MIDI log shows them.
QPair<int, int> PumpedAndDropped(const LogView& midiLog)
{
    static const QRegularExpression dropped(QStringLiteral("^(\\d+) MIDI events were dropped"));
    int pumped = 0;
    int lost = 0;
    for (const QString& line : midiLog.toPlainText().split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("B0 64 41")))
            ++pumped;
        else if (const auto match = dropped.match(line); match.hasMatch())
            lost += match.captured(1).toInt();
    }
    return {pumped, lost};
}

// Sends `rate` clicks a second for kSeconds; true when the radio got every one.
bool EveryClickArrives(BenchRig& rig, PumpGapWatch& pumpGaps, int rate)
{
    // A trial that lost clicks may have left the link down until the next poll.
    BenchRig::RunUntil([&] { return rig.window->shpCATConnected->fillColor() == IIndicator::kGreen; }, 5000);
    rig.window->txtMidiInDump->clear();
    const int before = ClicksAtRadio(rig);
    const int clicks = rate * kSeconds;
    pumpGaps.TakeLongestMs();
    std::atomic<bool> done{false};
    std::thread sender([&] {
        const auto start = std::chrono::steady_clock::now();
        const auto spacing = std::chrono::nanoseconds(1000000000LL / rate);
        for (int i = 0; i < clicks; ++i) {
            std::this_thread::sleep_until(start + i * spacing);
            rig.surface->SendControlChange(0x64, 0x41);
        }
        done = true;
    });
    BenchRig::RunUntil([&] { return done.load(); }, (kSeconds + 5) * 1000);
    sender.join();
    const double longestPumpGapMs = pumpGaps.TakeLongestMs();
    // Whatever is still on its way arrives within a few pump intervals.
    int arrived = 0;
    int last = -1;
    while (arrived != last) {
        last = arrived;
        const QDeadlineTimer settle(4 * Timer(*rig.window, "tmrMIDI")->interval() + 200);
        BenchRig::RunUntil([&] { return settle.hasExpired(); }, 5000);
        arrived = ClicksAtRadio(rig) - before;
    }
    if (arrived != clicks) {
        const auto [pumped, dropped] = PumpedAndDropped(*rig.window->txtMidiInDump);
        std::printf("    %d clicks: %d not delivered by JACK, %d dropped by the ring (longest pump "
                    "gap %.0f ms), %d pumped, %d at the radio\n",
                    clicks, clicks - pumped - dropped, dropped, longestPumpGapMs, pumped, arrived);
    }
    return arrived == clicks;
}

bool Search(int intervalMs)
{
    BenchRig rig;
    if (!rig.Start(intervalMs, elecraft ? "elecraft" : "flex", pollMs))
        return false;
    // The ring holds kCapacity events between two pump ticks.
    const int bound = MidiInRing::kCapacity * 1000 / intervalMs;
    PumpGapWatch pumpGaps(*Timer(*rig.window, "tmrMIDI"));
    int good = 10;
    int bad = std::min(4000, 2 * bound);
    while (bad - good > std::max(2, good / 100)) {
        const int rate = (good + bad) / 2;
        const bool ok = EveryClickArrives(rig, pumpGaps, rate);
        std::printf("  pump %d ms: %d clicks/s for %d s: %s\n", intervalMs, rate, kSeconds,
                    ok ? "all arrived" : "lost some");
        std::fflush(stdout);
        (ok ? good : bad) = rate;
    }
    std::printf("pump %4d ms: highest steady wheel rate without a lost click: %d clicks/s "
                "(%.0f %% of the ring's bound, %d events/s; poll every %d ms)\n",
                intervalMs, good, 100.0 * good / bound, bound, pollMs);
    std::fflush(stdout);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    elecraft = argc > 1 && QByteArray(argv[1]) == "elecraft";
    if (argc > 2)
        pollMs = std::max(100, atoi(argv[2]));
    for (int interval : {100, 10})
        if (!Search(interval))
            return 1;
    return 0;
}
