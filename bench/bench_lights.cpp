// bench_lights: how long a change the radio reports takes to light the
// controller. The whole program (BenchRig: flex map, simulator at 38400
// baud, poll every 100 ms, JACK cycles of VMC_JACK_PERIOD frames, default
// 128, 2.7 ms) with its lights sent to a JACK input of the benchmark's own.
// The surface's button 1 turns split on (FT1;) and its long press off (FT0;);
// the poll's next status reply reports the change. Measured for each change:
// from the moment the program took the reply that reports it (its read
// logged in the CAT log, the step before the reply is parsed) to the moment
// JACK hands the light's message to the benchmark's input.
// Usage: bench_lights [changes, default 100]
#include "BenchRig.h"

#include <QApplication>
#include "widgets/LogView.h"

#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>

namespace {

using Clock = std::chrono::steady_clock;
const char* const kLightsName = "vmc-bench-lights";

// The light messages JACK delivers, each with when.
class LightsInput {
public:
    LightsInput() : in_(RtMidi::UNIX_JACK, kLightsName)
    {
        in_.setCallback([](double, std::vector<unsigned char>* message, void* self) {
            auto* input = static_cast<LightsInput*>(self);
            const std::lock_guard<std::mutex> lock(input->mutex_);
            input->messages_.push_back({Clock::now(), *message});
        }, this);
        in_.openVirtualPort("in");
    }
    // Waits for the split light (button 1: B0 01) to show `on`; when it came.
    std::optional<Clock::time_point> WaitForSplit(bool on)
    {
        std::optional<Clock::time_point> when;
        BenchRig::RunUntil([&] {
            const std::lock_guard<std::mutex> lock(mutex_);
            for (const auto& [at, bytes] : messages_)
                if (bytes.size() == 3 && bytes[0] == 0xB0 && bytes[1] == 0x01 && (bytes[2] > 0) == on)
                    when = at;
            messages_.clear();
            return when.has_value();
        }, 5000);
        return when;
    }

private:
    std::mutex mutex_;
    std::vector<std::pair<Clock::time_point, std::vector<unsigned char>>> messages_;
    RtMidiIn in_;
};

// The status replies the program read, in the order their last piece was
// logged, each with that moment and its split flag.
class StatusReplies {
public:
    explicit StatusReplies(QPlainTextEdit& catLog)
    {
        QObject::connect(&catLog, &QPlainTextEdit::textChanged, &catLog, [this, &catLog] {
            const QString line = catLog.document()->lastBlock().text();
            // The program's own commands are logged too.
            static const QStringList sent = {"IF;", "FB;", "RT;", "XT;", "NB;", "FT1;", "FT0;"};
            if (sent.contains(line))
                return;
            text_ += line;
            for (int start = text_.indexOf("IF"); start >= 0 && start + 38 <= text_.size(); start = text_.indexOf("IF")) {
                if (text_.at(start + 37) == ';')
                    replies_.push_back({Clock::now(), text_.at(start + 32) == '1'});
                text_.remove(0, start + 2);
            }
        });
    }
    // The first reply that shows split `on` after `from`.
    std::optional<Clock::time_point> FirstShowing(bool on, Clock::time_point from) const
    {
        for (const auto& [at, split] : replies_)
            if (at >= from && split == on)
                return at;
        return std::nullopt;
    }

private:
    QString text_;
    std::vector<std::pair<Clock::time_point, bool>> replies_;
};


} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int changes = argc > 1 ? std::max(10, atoi(argv[1])) : 100;
    BenchRig rig;
    rig.settings.store.Write("settings", "midioutput", kLightsName);
    std::unique_ptr<LightsInput> lights;
    std::unique_ptr<StatusReplies> replies;
    // The lights' input needs the benchmark's JACK server, which Start starts.
    if (!rig.Start(10, "flex", 100))
        return 1;
    lights = std::make_unique<LightsInput>();
    replies = std::make_unique<StatusReplies>(rig.window->CatLog());
    if (!lights->WaitForSplit(false)) {
        std::fprintf(stderr, "bench_lights: the program sent no lights\n");
        return 1;
    }
    std::vector<double> latencies;
    for (int change = 0; change < changes; ++change) {
        const bool on = change % 2 == 0;
        const Clock::time_point pressed = Clock::now();
        const unsigned char button = on ? 0x01 : 0x0B;
        rig.surface->SendControlChange(button, 0x7F);
        rig.surface->SendControlChange(button, 0x00);
        const std::optional<Clock::time_point> lit = lights->WaitForSplit(on);
        const std::optional<Clock::time_point> reported = replies->FirstShowing(on, pressed);
        if (!lit || !reported) {
            std::fprintf(stderr, "bench_lights: change %d was not %s\n", change, lit ? "reported" : "lit");
            return 1;
        }
        latencies.push_back(std::chrono::duration<double, std::milli>(*lit - *reported).count());
    }
    std::printf("reply -> light, %d changes: p50 %.1f ms, p99 %.1f ms, max %.1f ms\n", changes,
                Percentile(latencies, 0.5), Percentile(latencies, 0.99), Percentile(latencies, 1.0));
    return 0;
}
