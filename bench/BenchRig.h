#pragma once

#include "BenchRoad.h"
#include "LineTap.h"
#include "widgets/Lamp.h"
#include "app/MainWindow.h"
#include "support/JackMidiSource.h"
#include "support/RadioSimProcess.h"
#include "support/RecordingAlerts.h"
#include "support/RigctldProcess.h"
#include "support/TempSettings.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QProcess>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <mutex>
#include <rtmidi/RtMidi.h>
#include <vector>
#include <memory>

// The value below which the share `p` (0 to 1) of `values` lies.
inline double Percentile(std::vector<double> values, double p)
{
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, std::size_t(p * double(values.size() - 1) + 0.5))];
}

// A second JACK input on the surface's port: JACK hands it each message in
// the same cycle as the program's own input, so the time of its callback is
// the time the program's callback receives the message.
class JackProbe {
public:
    JackProbe() : in_(RtMidi::UNIX_JACK, "vmc-bench-probe")
    {
        in_.setCallback([](double, std::vector<unsigned char>*, void* self) {
            auto* probe = static_cast<JackProbe*>(self);
            const std::lock_guard<std::mutex> lock(probe->mutex_);
            probe->times_.push_back(std::chrono::steady_clock::now());
        }, this);
        for (unsigned i = 0; i < in_.getPortCount(); ++i)
            if (in_.getPortName(i).rfind("Vorn-MIDI:", 0) == 0)
                in_.openPort(i, "probe");
    }
    bool IsOpen() const { return in_.isPortOpen(); }
    // The times the messages arrived since the last call, in order.
    std::vector<std::chrono::steady_clock::time_point> Take()
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        return std::exchange(times_, {});
    }

private:
    std::mutex mutex_;
    std::vector<std::chrono::steady_clock::time_point> times_;
    RtMidiIn in_;
};

// The whole program (offscreen main window) wired to a radio by one of the
// BenchRoads, and to a JACK MIDI source named like the control surface, on a
// JACK server of the benchmark's own (dummy driver). The radio simulator is
// on COM1, paced at 38400 baud in both directions like a real radio; on the
// rigctld road the program reaches rigctld through the tap.
class BenchRig {
public:
    // VFO A of the simulator, and of rigctld's dummy rig once the rig has set it.
    static constexpr qint64 kStartHz = 14060000;

    // A frequency command for VFO A as it reached the radio, with the epoch
    // milliseconds of its arrival.
    struct FrequencyCommand {
        qint64 hertz;
        double arrivedMs;
    };

    BenchRig()
        // A server of this run's own: two benchmarks at once must not stop each other's.
        : jackName_(QStringLiteral("vmc-bench-%1").arg(QCoreApplication::applicationPid()))
    {
        qputenv("JACK_DEFAULT_SERVER", jackName_.toLocal8Bit());
        qputenv("JACK_NO_START_SERVER", "1");
        qputenv("VMC_MIDI_API", "jack");
        // Short JACK cycles (128 frames at 48 kHz, 2.7 ms), so that JACK adds
        // little to the latency measured (run the benchmarks on an otherwise
        // idle machine; 32 frames make the dummy driver lose events).
        if (qEnvironmentVariableIsEmpty("VMC_JACK_PERIOD"))
            qputenv("VMC_JACK_PERIOD", "128");
        if (qEnvironmentVariableIsEmpty("VMC_RADIOSIM"))
            qputenv("VMC_RADIOSIM", VMC_RADIOSIM_PATH);
    }
    ~BenchRig()
    {
        window.reset();
        surface.reset();
        tap.reset();
        rigctld.reset();
        radio.Stop();
        QProcess::execute(QStringLiteral(VMC_JACK_FIXTURE), {QStringLiteral("stop"), jackName_});
    }

    // Starts JACK, the simulator (and on the rigctld road rigctld and the
    // tap) and the program on the BenchRoad named `road`, with `midiIntervalMs`
    // as its pump interval and `pollMs` as its poll interval.
    bool Start(int midiIntervalMs, const char* road = "flex", int pollMs = 1000)
    {
        const BenchRoad* chosen = BenchRoad::Named(road);
        if (!chosen)
            return Fail("no such road");
        road_ = *chosen;
        if (QProcess::execute(QStringLiteral(VMC_JACK_FIXTURE), {QStringLiteral("start"), jackName_}) != 0)
            return Fail("the JACK server did not start");
        surface = std::make_unique<JackMidiSource>();
        if (!radio.Start({QStringLiteral("--paced")}))
            return Fail(qPrintable(radio.ErrorString()));
        radio.MapToCom(settings.store, 1);
        settings.store.Write("settings", "catport", "1");
        settings.store.Write("settings", "rigtype", road_.rigtype);
        if (road_.hamlibModel != 0 && !ChooseHamlibRadio())
            return false;
        settings.store.Write("settings", "mautoconnect", "1");
        settings.store.Write("settings", "midipolltime", QString::number(midiIntervalMs));
        settings.store.Write("settings", "polltime", QString::number(pollMs));
        window = std::make_unique<MainWindow>(settings.store, alerts);
        window->Start();
        window->show();
        if (!window->MidiLampUp())
            return Fail("the surface was not connected");
        if (!RunUntil([&] { return window->CatLampUp(); }, 10000))
            return Fail("the radio did not answer the poll");
        return alerts.boxes.isEmpty() || Fail(qPrintable(alerts.texts().join(" | ")));
    }

    template <class Condition>
    static bool RunUntil(Condition done, int timeoutMs)
    {
        const QDeadlineTimer deadline(timeoutMs);
        while (!done()) {
            if (deadline.hasExpired())
                return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        return true;
    }

    const BenchRoad& road() const { return road_; }

    // VFO A's frequency as the newest frequency command set it; `otherwise` before the first.
    qint64 LastFrequency(qint64 otherwise) const
    {
        const auto commands = FrequencyCommands();
        return commands.empty() ? otherwise : commands.back().hertz;
    }

    // The frequency commands for VFO A that have reached the radio, in order:
    // on the simulator "FA00014060010" (its log's whole milliseconds taken as
    // their middle; "FA" alone is a read), through the tap rigctl's "F" or
    // "\set_freq" lines.
    std::vector<FrequencyCommand> FrequencyCommands() const
    {
        std::vector<FrequencyCommand> commands;
        if (tap) {
            for (const LineTap::Line& line : tap->Lines())
                if (const qint64 hertz = line.fromClient ? SetFrequencyHertz(line.text) : 0)
                    commands.push_back({hertz, EpochMs(line.at)});
            return commands;
        }
        for (const auto& [text, arrived] : Commands("FA"))
            if (text.size() > 2)
                commands.push_back({text.mid(2).toLongLong(), double(arrived) + 0.5});
        return commands;
    }

    // Through the tap: how long rigctld took to answer each frequency command
    // (from the request off the wire to the first line of its answer), in ms.
    std::vector<double> FrequencyAnswerMs() const
    {
        std::vector<double> answers;
        const std::vector<LineTap::Line> lines = tap ? tap->Lines() : std::vector<LineTap::Line>();
        for (std::size_t i = 0; i + 1 < lines.size(); ++i)
            if (lines[i].fromClient && SetFrequencyHertz(lines[i].text) && !lines[i + 1].fromClient)
                answers.push_back(std::chrono::duration<double, std::milli>(lines[i + 1].at - lines[i].at).count());
        return answers;
    }

    // The commands starting with `prefix` that the radio has received
    // ("FA00014060010"), each with the epoch milliseconds of its arrival (its
    // last character across the line), in order.
    QList<QPair<QByteArray, qint64>> Commands(const QByteArray& prefix) const
    {
        QList<QPair<QByteArray, qint64>> commands;
        QFile log(radio.LogPath());
        if (!log.open(QIODevice::ReadOnly | QIODevice::Text))
            return commands;
        while (!log.atEnd()) {
            const QByteArray line = log.readLine().trimmed();
            const int blank = line.indexOf(' ');
            if (line.mid(blank + 1).startsWith(prefix))
                commands.append({line.mid(blank + 1), line.left(blank).toLongLong()});
        }
        return commands;
    }

    // Steady-clock time to epoch milliseconds, as the simulator stamps its log.
    static double EpochMs(std::chrono::steady_clock::time_point t)
    {
        using namespace std::chrono;
        static const double offsetMs = duration<double, std::milli>(system_clock::now().time_since_epoch()).count()
                                       - duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
        return offsetMs + duration<double, std::milli>(t.time_since_epoch()).count();
    }

    TempSettings settings;
    RecordingAlerts alerts;
    RadioSimProcess radio;
    std::unique_ptr<RigctldProcess> rigctld;  // on the rigctld road
    std::unique_ptr<LineTap> tap;             // between the program and rigctld
    std::unique_ptr<JackMidiSource> surface;
    std::unique_ptr<MainWindow> window;

private:
    bool Fail(const char* why)
    {
        std::fprintf(stderr, "bench: %s\n", why);
        return false;
    }

    // The settings of the Hamlib rig type for the road's radio: the simulator
    // at 38400 baud, or rigctld (started here, its dummy set to the
    // simulator's frequency so that every road starts alike) behind the tap.
    bool ChooseHamlibRadio()
    {
        QString port = radio.PtyPath(), speed = QStringLiteral("38400");
        if (road_.hamlibModel == BenchRoad::kNetRigctl) {
            rigctld = std::make_unique<RigctldProcess>();
            if (!rigctld->Start() || rigctld->Ask({QStringLiteral("F %1").arg(kStartHz)}) != QStringList{"RPRT 0"})
                return Fail("rigctld did not start");
            tap = std::make_unique<LineTap>(rigctld->port);
            if (tap->port() == 0)
                return Fail("the tap could not listen");
            port = QStringLiteral("127.0.0.1:%1").arg(tap->port());
            speed.clear();
        }
        settings.store.Write("settings", "hamlibmodel", QString::number(road_.hamlibModel));
        settings.store.Write("settings", "hamlibport", port);
        settings.store.Write("settings", "hamlibspeed", speed);
        return true;
    }

    // The hertz of a rigctl request that sets VFO A's frequency ("F 14060010",
    // "F VFOA 14060010.000000", "\set_freq ..."); 0 for any other line.
    static qint64 SetFrequencyHertz(const QByteArray& line)
    {
        const QList<QByteArray> words = line.simplified().split(' ');
        const bool setsFrequency = words[0] == "F" || words[0] == "\\set_freq";
        const bool vfoA = words.size() == 2 || (words.size() == 3 && (words[1] == "VFOA" || words[1] == "currVFO"));
        return setsFrequency && vfoA ? std::llround(words.last().toDouble()) : 0;
    }

    QString jackName_;
    BenchRoad road_ = *BenchRoad::Named("flex");
};
