// bench_wheelrate: the highest steady wheel rate (clicks per second, evenly
// spaced, for 3 s) at which every click reaches the radio as a frequency
// command, with the whole program at the 100 ms and the 10 ms pump and the
// CAT poll running at its default 1000 ms.
#include "BenchRig.h"
#include "support/MainWindowParts.h"

#include <QApplication>
#include <atomic>
#include <chrono>
#include <thread>

namespace {

constexpr int kSeconds = 3;

// Sends `rate` clicks a second for kSeconds; true when the radio got every one.
bool EveryClickArrives(BenchRig& rig, int rate)
{
    const int before = int(rig.FrequencyCommands().size());
    const int clicks = rate * kSeconds;
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
    // Whatever is still on its way arrives within a few pump intervals.
    int arrived = 0;
    int last = -1;
    while (arrived != last) {
        last = arrived;
        const QDeadlineTimer settle(4 * Timer(*rig.window, "tmrMIDI")->interval() + 200);
        BenchRig::RunUntil([&] { return settle.hasExpired(); }, 5000);
        arrived = int(rig.FrequencyCommands().size()) - before;
    }
    return arrived == clicks;
}

bool Search(int intervalMs)
{
    BenchRig rig;
    if (!rig.Start(intervalMs))
        return false;
    int good = 10;
    int bad = 4000;
    while (bad - good > std::max(10, good / 20)) {
        const int rate = (good + bad) / 2;
        const bool ok = EveryClickArrives(rig, rate);
        std::printf("  pump %d ms: %d clicks/s for %d s: %s\n", intervalMs, rate, kSeconds,
                    ok ? "all arrived" : "lost some");
        std::fflush(stdout);
        (ok ? good : bad) = rate;
    }
    std::printf("pump %4d ms: highest steady wheel rate without a lost click: %d clicks/s\n",
                intervalMs, good);
    std::fflush(stdout);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    for (int interval : {100, 10})
        if (!Search(interval))
            return 1;
    return 0;
}
