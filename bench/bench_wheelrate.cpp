// bench_wheelrate: what reaches the radio of a wheel turned at a steady rate
// (clicks evenly spaced, for 2 s), with the whole program and the poll every
// 1000 ms, on each of the roads to a radio (BenchRig.h). Per rate: the clicks
// JACK delivered to a probe input on the surface's port and to the program,
// those the full ring dropped (the MIDI log says so), those that reached the
// radio and the commands that carried them. With the Flex map and through
// Hamlib each click steps VFO A 10 Hz: the clicks at the radio are the steps
// its last frequency moved (all of them: it ends at the right frequency), and
// "settled" is how long after the last click's command could have crossed
// the line (its callback + the command's time on the line, none on TCP) the
// radio got the final frequency. While the radio is busy with one frequency
// newer steps replace the one waiting, so fast wheels need fewer commands
// than clicks. Through the tap in front of rigctld: how long rigctld took to
// answer a frequency command (its dummy rig sleeps in each), median.
// With "elecraft" each click is the radio's own "UP1;" (4 characters: the
// line carries at most 960 a second).
// At the end, a table with the roads side by side for each rate.
// Usage: bench_wheelrate [roads, default flex,rigctld,ts480] [MIDI interval ms, default 100]
#include "BenchRig.h"
#include "support/MainWindowParts.h"
#include "widgets/LogView.h"

#include <QApplication>
#include <QRegularExpression>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <thread>

namespace {

constexpr int kSeconds = 2;
constexpr int kStepHz = 10;  // Flex map (and Hamlib's), wheel at speed 1

struct Row {
    BenchRoad road;
    int rate, clicks, atProgram, dropped, atRadio, commands;
    double settledMs, answerMs;  // NAN where they do not apply
};

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

bool Elecraft(const BenchRig& rig)
{
    return QByteArray(rig.road().name) == "elecraft";
}

// The commands that carry clicks: "UP1;" with the Elecraft map, frequency commands on the other roads.
int Commands(const BenchRig& rig)
{
    return int(Elecraft(rig) ? rig.Commands("UP1").size() : rig.FrequencyCommands().size());
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return NAN;
    std::nth_element(values.begin(), values.begin() + std::ptrdiff_t(values.size() / 2), values.end());
    return values[values.size() / 2];
}

// Whether the radio got every click: all that were sent, or all that JACK
// delivered to the program (JACK's dummy driver now and then loses one).
const char* Verdict(const Row& row)
{
    return row.atRadio == row.clicks ? "(all)" : row.atRadio == row.atProgram ? "(all it got)" : "(LOST)";
}

void SendClicks(BenchRig& rig, int rate, int clicks)
{
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
}

Row Trial(BenchRig& rig, JackProbe& probe, int rate)
{
    BenchRig::RunUntil([&] { return rig.window->CatLampUp(); }, 5000);
    rig.window->MidiLog().clear();
    const bool elecraft = Elecraft(rig);
    const qint64 startHz = rig.LastFrequency(BenchRig::kStartHz);
    const int commandsBefore = Commands(rig);
    const std::size_t answersBefore = rig.FrequencyAnswerMs().size();
    probe.Take();
    const int clicks = rate * kSeconds;
    SendClicks(rig, rate, clicks);
    // Whatever is on its way arrives within a few intervals of the pump.
    int last = -1, commands = 0;
    while (commands != last) {
        last = commands;
        const QDeadlineTimer settle(4 * Timer(*rig.window, "midiPumpTimer")->interval() + 300);
        BenchRig::RunUntil([&] { return settle.hasExpired(); }, 5000);
        commands = Commands(rig) - commandsBefore;
    }
    const auto received = probe.Take();
    const auto sent = rig.FrequencyCommands();
    const std::vector<double> answers = rig.FrequencyAnswerMs();
    const LogView& midiLog = rig.window->MidiLog();
    Row row{rig.road(), rate, clicks, Received(midiLog) + DroppedByTheRing(midiLog), DroppedByTheRing(midiLog),
            elecraft ? commands : int((rig.LastFrequency(BenchRig::kStartHz) - startHz) / kStepHz), commands, NAN,
            Median({answers.begin() + std::ptrdiff_t(std::min(answersBefore, answers.size())), answers.end()})};
    if (!elecraft && !received.empty() && commands > 0)
        row.settledMs = sent.back().arrivedMs - (BenchRig::EpochMs(received.back()) + rig.road().frequencyCommandMs);
    QString settled = std::isnan(row.settledMs) ? QString() : QString::asprintf(", settled %.1f ms", row.settledMs);
    if (!std::isnan(row.answerMs))
        settled += QString::asprintf(", answered in %.1f ms", row.answerMs);
    std::printf("  %4d clicks/s: %4d sent, %4zu at the probe, %4d at the program, %3d dropped by the ring, %4d at "
                "the radio %s, in %4d commands%s\n", rate, clicks, received.size(), row.atProgram, row.dropped,
                row.atRadio, Verdict(row), commands, qPrintable(settled));
    std::fflush(stdout);
    return row;
}

bool Run(const BenchRoad& road, int intervalMs, std::vector<Row>& rows)
{
    BenchRig rig;
    if (!rig.Start(intervalMs, road.name))
        return false;
    JackProbe probe;
    std::printf("%s, MIDI interval %d ms:\n", road.label, intervalMs);
    const std::vector<int> rates = Elecraft(rig) ? std::vector<int>{100, 300, 600, 900, 960}
                                                 : std::vector<int>{100, 200, 270, 500, 1000, 1500, 2000};
    for (int rate : rates)
        rows.push_back(Trial(rig, probe, rate));
    return true;
}

// The roads side by side, one rate after the other.
void PrintTable(const std::vector<Row>& rows)
{
    std::vector<int> rates;
    for (const Row& row : rows)
        if (std::find(rates.begin(), rates.end(), row.rate) == rates.end())
            rates.push_back(row.rate);
    std::sort(rates.begin(), rates.end());
    std::printf("\n%8s  %-32s %6s %7s %7s %8s %10s %-13s %10s %9s\n", "clicks/s", "road", "clicks", "program",
                "dropped", "commands", "commands/s", "at the radio", "settled ms", "answer ms");
    for (int rate : rates)
        for (const Row& r : rows)
            if (r.rate == rate)
                std::printf("%8d  %-32s %6d %7d %7d %8d %10.0f %-13s %10.1f %9.1f\n", rate, r.road.label, r.clicks,
                            r.atProgram, r.dropped, r.commands, double(r.commands) / kSeconds, Verdict(r), r.settledMs,
                            r.answerMs);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::vector<BenchRoad> roads = BenchRoad::List(argc > 1 ? argv[1] : "flex,rigctld,ts480");
    const int intervalMs = argc > 2 ? std::max(10, atoi(argv[2])) : 100;
    if (roads.empty()) {
        std::fprintf(stderr, "bench_wheelrate: the roads are flex, elecraft, rigctld and ts480\n");
        return 2;
    }
    std::vector<Row> rows;
    for (const BenchRoad& road : roads)
        if (!Run(road, intervalMs, rows))
            return 1;
    PrintTable(rows);
    return 0;
}
