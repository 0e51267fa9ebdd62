#pragma once

#include "core/ILamp.h"
#include "widgets/Lamp.h"
#include "app/MainWindow.h"
#include "support/JackMidiSource.h"
#include "support/RadioSimProcess.h"
#include "support/RecordingAlerts.h"
#include "support/TempSettings.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QProcess>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <rtmidi/RtMidi.h>
#include <vector>
#include <memory>

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

// The whole program (offscreen main window) wired to the radio simulator on
// COM1, paced at 38400 baud in both directions like a real radio, and to a
// JACK MIDI source named like the control surface, on a JACK server of the
// benchmark's own (dummy driver).
class BenchRig {
public:
    BenchRig()
        : jackName_(QStringLiteral("vmc-bench"))
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
        radio.Stop();
        QProcess::execute(QStringLiteral(VMC_JACK_FIXTURE), {QStringLiteral("stop"), jackName_});
    }

    // Starts JACK, the simulator and the program with `midiIntervalMs` as its
    // pump interval and `pollMs` as its poll interval.
    bool Start(int midiIntervalMs, const char* rigtype = "flex", int pollMs = 1000)
    {
        if (QProcess::execute(QStringLiteral(VMC_JACK_FIXTURE), {QStringLiteral("start"), jackName_}) != 0)
            return Fail("the JACK server did not start");
        surface = std::make_unique<JackMidiSource>();
        if (!radio.Start({QStringLiteral("--paced")}))
            return Fail(qPrintable(radio.ErrorString()));
        radio.MapToCom(settings.store, 1);
        settings.store.Write("settings", "catport", "1");
        settings.store.Write("settings", "rigtype", rigtype);
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

    // VFO A's frequency as the newest frequency command set it; `otherwise` before the first.
    qint64 LastFrequency(qint64 otherwise) const
    {
        const auto commands = Commands("FA");
        return commands.isEmpty() ? otherwise : commands.last().first.mid(2).toLongLong();
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
    std::unique_ptr<JackMidiSource> surface;
    std::unique_ptr<MainWindow> window;

private:
    bool Fail(const char* why)
    {
        std::fprintf(stderr, "bench: %s\n", why);
        return false;
    }

    QString jackName_;
};
