// Speed of the MIDI input path: the callback's cost per event, the pump's cost
// per short message, and the highest steady rate the default 100 ms pump takes
// without dropping an event.
#include "midi/MidiInPort.h"
#include "midi/MidiInput.h"
#include "support/RecordingAlerts.h"
#include "widgets/LogView.h"

#include <QApplication>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;
const unsigned char kWheel[] = {0xB0, 0x64, 0x41};

class NullLog : public ILogSink {
public:
    void AppendLine(const QString&) override {}
};

struct Rig {
    explicit Rig(ILogSink& log) : midi(log, alerts, [this](const MidiEvent&) { ++handled; }) {}
    // What the device's callback does with one wheel message.
    void Event(std::uint32_t timestamp) { MidiInPort::Deliver(midi.Ring(), kWheel, 3, timestamp); }

    RecordingAlerts alerts;
    std::atomic<long> handled{0};
    MidiInput midi;
};

double CallbackNanosPerEvent()
{
    NullLog log;
    Rig rig(log);
    constexpr int kBatches = 200000;
    constexpr int kBatch = MidiInRing::kCapacity;
    Clock::duration spent{};
    for (int b = 0; b < kBatches; ++b) {
        const auto start = Clock::now();
        for (int i = 0; i < kBatch; ++i)
            rig.Event(static_cast<std::uint32_t>(i));
        spent += Clock::now() - start;
        while (rig.midi.Ring().Pending() > 0)
            rig.midi.Ring().PopFront();
    }
    return std::chrono::duration<double, std::nano>(spent).count() / (double(kBatches) * kBatch);
}

double PumpMicrosPerMessage(ILogSink& log)
{
    Rig rig(log);
    constexpr int kTicks = 4000;
    constexpr int kBatch = MidiInRing::kCapacity - 1;
    Clock::duration spent{};
    for (int t = 0; t < kTicks; ++t) {
        for (int i = 0; i < kBatch; ++i)
            rig.Event(static_cast<std::uint32_t>(t));
        const auto start = Clock::now();
        rig.midi.PumpTick();
        spent += Clock::now() - start;
    }
    return std::chrono::duration<double, std::micro>(spent).count() / (double(kTicks) * kBatch);
}

// Feeds `rate` events a second from a thread standing in for the MIDI system,
// while a 100 ms QTimer runs the pump into a real log view. True when none was dropped.
bool SteadyRateWithoutDrops(int rate, int seconds, LogView& view)
{
    Rig rig(view);
    QTimer pumpTimer;
    pumpTimer.setInterval(100);
    QObject::connect(&pumpTimer, &QTimer::timeout, [&] { rig.midi.PumpTick(); });
    const long total = static_cast<long>(rate) * seconds;
    std::atomic<bool> done{false};
    std::thread device([&] {
        const auto period = std::chrono::nanoseconds(1000000000L / rate);
        auto next = Clock::now();
        for (long i = 0; i < total; ++i) {
            rig.Event(static_cast<std::uint32_t>(i));
            next += period;
            std::this_thread::sleep_until(next);
        }
        done = true;
    });
    pumpTimer.start();
    while (!done)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    device.join();
    pumpTimer.stop();
    rig.midi.PumpTick();
    return rig.handled == total;
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    std::printf("callback (events into the ring): %.1f ns per event\n", CallbackNanosPerEvent());
    NullLog nullLog;
    std::printf("pump, short message, log discarded: %.2f us per message\n",
                PumpMicrosPerMessage(nullLog));
    LogView view;
    for (int i = 0; i < LogView::kMaxLines; ++i)
        view.AppendLine(QStringLiteral("B0 64 41 Timestamp: 0001223F"));
    std::printf("pump, short message, into a full LogView: %.2f us per message\n",
                PumpMicrosPerMessage(view));

    int good = 0;
    int bad = 2000;
    while (bad - good > 10) {
        const int rate = (good + bad) / 2;
        const bool ok = SteadyRateWithoutDrops(rate, 3, view);
        std::printf("  %d events/s for 3 s with the 100 ms pump: %s\n", rate, ok ? "no drop" : "dropped");
        std::fflush(stdout);
        (ok ? good : bad) = rate;
    }
    std::printf("highest steady rate without a drop, 100 ms pump: %d events/s (ring of %d pending)\n",
                good, MidiInRing::kCapacity);
    return 0;
}
