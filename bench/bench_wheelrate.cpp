// bench_wheelrate: what reaches the radio of a wheel turned at a steady rate
// (clicks evenly spaced, for 2 s), with the whole program, the poll every
// 1000 ms and the radio simulator paced at 38400 baud both ways. Per rate:
// the clicks JACK delivered to a probe input on the surface's port and to the
// program, those the full ring dropped (the MIDI log says so), those that
// reached the radio and the commands that carried them. With the Flex map (default) each click steps
// VFO A 10 Hz: the clicks at the radio are the steps its last frequency
// moved, and "settled" is how long after the last click's command could have
// crossed the line (its callback + 3.65 ms) the radio stood at the final
// frequency. With "elecraft" each click is the radio's own "UP1;" (4
// characters: the line carries at most 960 a second).
// Usage: bench_wheelrate [flex|elecraft] [MIDI interval ms, default 100]
#include "BenchRig.h"
#include "support/MainWindowParts.h"
#include "widgets/LogView.h"

#include <QApplication>
#include <QRegularExpression>
#include <atomic>
#include <thread>

namespace {

constexpr int kSeconds = 2;
constexpr qint64 kStartHz = 14060000;  // the simulator's VFO A
constexpr int kStepHz = 10;            // Flex map, wheel at speed 1
// Fourteen characters of ten bits at 38400 baud.
constexpr double kFrequencyCommandMs = 14 * 10 * 1000.0 / 38400;

bool elecraft = false;

// The clicks the program's input received, as its MIDI log shows them.
int Received(const LogView& midiLog)
{
    return int(midiLog.toPlainText().count(QStringLiteral("B0 64 41")));
}

int DroppedByTheRing(const LogView& midiLog)
{
    static const QRegularExpression dropped(QStringLiteral("^(\\d+) MIDI events were dropped"), QRegularExpression::MultilineOption);
    int lost = 0;
    for (auto it = dropped.globalMatch(midiLog.toPlainText()); it.hasNext();)
        lost += it.next().captured(1).toInt();
    return lost;
}

void Trial(BenchRig& rig, JackProbe& probe, int rate)
{
    BenchRig::RunUntil([&] { return rig.window->CatLampUp(); }, 5000);
    rig.window->MidiLog().clear();
    const QByteArray kind = elecraft ? "UP1" : "FA";
    const qint64 startHz = rig.LastFrequency(kStartHz);
    const int commandsBefore = int(rig.Commands(kind).size());
    probe.Take();
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
    // Whatever is on its way arrives within a few intervals of the pump.
    int last = -1, commands = 0;
    while (commands != last) {
        last = commands;
        const QDeadlineTimer settle(4 * Timer(*rig.window, "midiPumpTimer")->interval() + 300);
        BenchRig::RunUntil([&] { return settle.hasExpired(); }, 5000);
        commands = int(rig.Commands(kind).size()) - commandsBefore;
    }
    const auto received = probe.Take();
    const auto sent = rig.Commands(kind);
    const int atRadio = elecraft ? commands : int((rig.LastFrequency(kStartHz) - startHz) / kStepHz);
    QString settled;
    if (!elecraft && !received.empty() && commands > 0)
        settled = QString::asprintf(", settled %.1f ms", double(sent.last().second) + 0.5
                                                            - (BenchRig::EpochMs(received.back()) + kFrequencyCommandMs));
    const LogView& midiLog = rig.window->MidiLog();
    std::printf("  %4d clicks/s: %4d sent, %4zu at the probe, %4d at the program, %3d dropped by the ring, %4d at "
                "the radio %s, in %4d commands%s\n", rate, clicks, received.size(), Received(midiLog) + DroppedByTheRing(midiLog),
                DroppedByTheRing(midiLog), atRadio, atRadio == clicks ? "(all)" : "(LOST)", commands, qPrintable(settled));
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    elecraft = argc > 1 && QByteArray(argv[1]) == "elecraft";
    const int intervalMs = argc > 2 ? std::max(10, atoi(argv[2])) : 100;
    BenchRig rig;
    if (!rig.Start(intervalMs, elecraft ? "elecraft" : "flex"))
        return 1;
    JackProbe probe;
    std::printf("%s map, MIDI interval %d ms:\n", elecraft ? "Elecraft" : "Flex", intervalMs);
    const std::vector<int> rates = elecraft ? std::vector<int>{100, 300, 600, 900, 960}
                                            : std::vector<int>{100, 200, 270, 500, 1000, 1500, 2000};
    for (int rate : rates)
        Trial(rig, probe, rate);
    return 0;
}
