#pragma once

#include "core/MidiEvent.h"
#include "core/ReentryGuard.h"
#include "core/Routine.h"
#include "midi/IWatchedMidiPort.h"
#include "midi/MidiDeviceList.h"
#include "midi/MidiInRing.h"
#include "midi/MidiInWake.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class IAlerts;
class ILogSink;
class MidiInPort;
class QTimer;

// The program's MIDI input: the one owner of the open device, of the event ring
// that the device's callback fills, of the pump that drains the ring and of
// the connected state. The pump writes every event to the MIDI log and hands
// each short message to the handler. While a monitor log is set (the MIDI
// setup window's), a 10 ms monitor drains the same ring into that log only;
// each event goes to whichever of the two comes first. While a capture is set
// (the learning of a controller's controls), short messages go to it instead
// of the handler.
// Events are handled on arrival: the callback wakes the UI thread, which
// drains the ring into the monitor while it runs, else into the capture, else
// into the pump. The pump's timer ("midipolltime") drains besides, so a wake
// that is missed waits no longer than one interval.
// Everything here runs on the UI thread; only MidiInPort's callback runs on
// the MIDI system's thread, and it touches nothing but the ring and the wake.
class MidiInput : public QObject, public IWatchedMidiPort {
    Q_OBJECT
public:
    using Handler = std::function<void(const MidiEvent&)>;

    static constexpr int kDefaultPumpIntervalMs = 100;
    static constexpr int kMonitorIntervalMs = 10;
    // A flooding source must not keep the UI thread in one tick for ever.
    static constexpr int kMaxEventsPerTick = 1000;
    // More pending events than this when one is taken: the log warns of a backlog.
    static constexpr int kBacklogLimit = 28;

    MidiInput(ILogSink& log, IAlerts& alerts, Handler handler, QObject* parent = nullptr);
    ~MidiInput() override;

    QList<MidiDevice> ListDevices();
    // Closes what is open, opens device `number` of the last listing and starts
    // the pump. A failure is shown in an "Error:" box and leaves nothing open.
    bool Open(int number);
    // Stops the pump and the monitor and closes the device; emits closed().
    void Close();
    bool IsOpen() const { return port_ != nullptr; }

    // For the watch over the open device (the numbers of the last listing
    // stay as they were; the pump drains what a lost device left).
    std::vector<std::string> LookAtPortNames() override;
    const std::string& PortName() const override { return sourcePortName_; }
    RtMidi::Api Api() const override { return devices_.api(); }
    void ReleaseLostDevice() override;
    QString Reopen(const std::string& portName) override;

    // The pump timer's interval in milliseconds ("midipolltime"). At 0 the
    // pump stays idle, wakes and all, as operators know it: a timer of
    // interval 0 never fires (Qt's would fire continuously).
    void SetPumpInterval(int milliseconds);
    // Stops the pump only; the device stays open and its events wait in the ring.
    void StopPump();

    // The monitor log must stay alive until StopMonitor().
    void StartMonitor(ILogSink& log);
    void StopMonitor();

    // Until ClearCapture(), every short message goes to `capture` and not to
    // the handler; the logs show it all the same. The monitor's timer drains
    // meanwhile, so a message is heard at once whatever the pump's interval.
    void SetCapture(Handler capture);
    void ClearCapture();

    // One tick of the pump and of the monitor; their timers call them.
    void PumpTick();
    void MonitorTick();

    // Where the device's callback puts its events; tests feed it as a device would.
    MidiInRing& Ring() { return ring_; }

signals:
    void connectedChanged(bool connected);
    // Close() was called: MIDI is off until the next Open().
    void closed();

private:
    struct Sink {
        ILogSink* log;
        bool dispatch;
        Routine routine;
    };
    QString Connect(const std::string& portName);
    void StartPump();
    void OnWake();
    void Drain(const Sink& sink);
    bool DrainRing(const Sink& sink);
    void Handle(const MidiEvent& event, const Sink& sink);
    void ReportDropped(ILogSink& log);
    void ShowDeviceError(const QString& text);

    ILogSink& log_;
    IAlerts& alerts_;
    Handler handler_;
    MidiDeviceList devices_;
    MidiInRing ring_;
    // Before the port, which wakes through it until it is gone.
    MidiInWake wake_;
    std::unique_ptr<MidiInPort> port_;
    std::string sourcePortName_;
    QTimer* pumpTimer_;
    // Whether the pump runs while its interval is above 0.
    bool pumpOn_ = false;
    QTimer* monitorTimer_;
    ILogSink* monitorLog_ = nullptr;
    Handler capture_;
    // Held while either timer drains, so that neither takes an event twice,
    // not even under a modal box that a handler shows.
    ReentryGuard drainGuard_;
};
