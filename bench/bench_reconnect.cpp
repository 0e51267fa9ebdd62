// bench_reconnect: how long after a control surface comes back (its JACK
// client appears again under the same name) the first wheel click reaches the
// radio simulator, while the user turns the wheel all the time (a click every
// 10 ms). The surface returns at a random moment of the watch's second.
// Usage: bench_reconnect [rounds]
#include "BenchRig.h"

#include <QApplication>
#include <QRandomGenerator>
#include <algorithm>
#include <numeric>
#include <vector>

namespace {


} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 20;
    BenchRig rig;
    if (!rig.Start(100))
        return 1;
    QRandomGenerator random(11);
    std::vector<double> lampGreen, firstClick;
    for (int round = 0; round < rounds; ++round) {
        rig.surface.reset();
        if (!BenchRig::RunUntil([&] { return !rig.window->MidiLampUp(); }, 5000)) {
            std::fprintf(stderr, "bench_reconnect: the loss was not noticed\n");
            return 1;
        }
        const QDeadlineTimer pause(int(random.bounded(1000)));
        BenchRig::RunUntil([&] { return pause.hasExpired(); }, 2000);
        const int before = int(rig.Commands("FA").size());
        rig.surface = std::make_unique<JackMidiSource>();
        const qint64 back = QDateTime::currentMSecsSinceEpoch();
        QDeadlineTimer nextClick(0);
        bool green = false;
        const bool arrived = BenchRig::RunUntil([&] {
            if (!green && rig.window->MidiLampUp()) {
                green = true;
                lampGreen.push_back(double(QDateTime::currentMSecsSinceEpoch() - back));
            }
            if (nextClick.hasExpired()) {
                rig.surface->SendControlChange(0x64, 0x41);
                nextClick.setRemainingTime(10);
            }
            return int(rig.Commands("FA").size()) > before;
        }, 5000);
        if (!arrived) {
            std::fprintf(stderr, "bench_reconnect: no click reached the radio within 5 s\n");
            return 1;
        }
        firstClick.push_back(double(rig.Commands("FA").at(before).second - back));
    }
    if (!rig.alerts.boxes.isEmpty()) {
        std::fprintf(stderr, "bench_reconnect: %s\n", qPrintable(rig.alerts.texts().join(" | ")));
        return 1;
    }
    const auto mean = [](const std::vector<double>& v) {
        return std::accumulate(v.begin(), v.end(), 0.0) / double(v.size());
    };
    std::printf("%d returns, 100 ms pump: surface back -> lamp green  mean %5.0f ms  p50 %5.0f  max %5.0f | "
                "surface back -> first click at the radio  min %5.0f ms  mean %5.0f  p50 %5.0f  p90 %5.0f  max %5.0f\n",
                rounds, mean(lampGreen), Percentile(lampGreen, 0.5), Percentile(lampGreen, 1.0),
                Percentile(firstClick, 0.0), mean(firstClick), Percentile(firstClick, 0.5),
                Percentile(firstClick, 0.9), Percentile(firstClick, 1.0));
    return 0;
}
