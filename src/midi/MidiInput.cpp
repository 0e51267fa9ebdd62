#include "midi/MidiInput.h"

#include "core/IAlerts.h"
#include "core/ILogSink.h"
#include "core/FailureReport.h"
#include "core/Logging.h"
#include "midi/MidiInPort.h"
#include "midi/MidiLogText.h"

#include <QTimer>

MidiInput::MidiInput(ILogSink& log, IAlerts& alerts, Handler handler, QObject* parent)
    : QObject(parent), log_(log), alerts_(alerts), handler_(std::move(handler)),
      devices_(MidiDeviceList::ChooseBackend(), MidiDeviceList::Direction::Input), wake_([this] { OnWake(); }),
      pumpTimer_(new QTimer(this)),
      monitorTimer_(new QTimer(this))
{
    pumpTimer_->setObjectName(QStringLiteral("midiPumpTimer"));
    pumpTimer_->setInterval(kDefaultPumpIntervalMs);
    // A coarse timer may fire 5 % late; at the ring's bound that is the
    // difference between a full ring and a dropped wheel click.
    pumpTimer_->setTimerType(Qt::PreciseTimer);
    monitorTimer_->setObjectName(QStringLiteral("midiMonitorTimer"));
    monitorTimer_->setInterval(kMonitorIntervalMs);
    connect(pumpTimer_, &QTimer::timeout, this, &MidiInput::PumpTick);
    connect(monitorTimer_, &QTimer::timeout, this, &MidiInput::MonitorTick);
}

void MidiInput::PumpTick()
{
    Drain({&log_, true, Routine::PumpMidi});
}

void MidiInput::OnWake()
{
    if (monitorLog_ || capture_)
        MonitorTick();
    else if (pumpTimer_->isActive())
        PumpTick();
}

void MidiInput::MonitorTick()
{
    if (monitorLog_)
        Drain({monitorLog_, false, Routine::MonitorMidi});
    else if (capture_)
        Drain({&log_, false, Routine::PumpMidi});
}

MidiInput::~MidiInput()
{
    port_.reset();
}

QList<MidiDevice> MidiInput::ListDevices()
{
    return devices_.Refresh();
}

bool MidiInput::Open(int number)
{
    Close();
    const std::string portName = devices_.PortName(number);
    const QString failure = portName.empty()
                                ? QStringLiteral("There is no MIDI input device number %1.").arg(number)
                                : Connect(portName);
    if (!failure.isEmpty()) {
        ShowDeviceError(failure);
        emit connectedChanged(false);
        return false;
    }
    return true;
}

QString MidiInput::Reopen(const std::string& portName)
{
    return port_ ? QStringLiteral("A MIDI device is open.") : Connect(portName);
}

QString MidiInput::Connect(const std::string& portName)
{
    QString failure;
    try {
        auto port = std::make_unique<MidiInPort>(MidiDeviceList::ChooseBackend(), MidiDeviceList::kClientName, ring_, wake_);
        // The ring is emptied before the device can put anything into it.
        ring_.Reset();
        failure = port->Open(portName);
        if (failure.isEmpty())
            port_ = std::move(port);
    } catch (const std::exception& e) {
        failure = QString::fromLocal8Bit(e.what());
    }
    if (!port_)
        return failure;
    qCDebug(midiTrace) << "opened" << portName.c_str();
    sourcePortName_ = portName;
    StartPump();
    emit connectedChanged(true);
    return QString();
}

void MidiInput::Close()
{
    StopPump();
    StopMonitor();
    const bool wasOpen = port_ != nullptr;
    port_.reset();
    sourcePortName_.clear();
    // What the closed device left behind must not reach a later pump.
    ring_.Reset();
    if (wasOpen)
        emit connectedChanged(false);
    emit closed();
}

std::vector<std::string> MidiInput::LookAtPortNames()
{
    return devices_.LookAtPortNames();
}

void MidiInput::ReleaseLostDevice()
{
    if (!port_)
        return;
    port_.reset();
    sourcePortName_.clear();
    emit connectedChanged(false);
}

void MidiInput::SetPumpInterval(int milliseconds)
{
    pumpTimer_->setInterval(milliseconds);
    if (milliseconds <= 0)
        pumpTimer_->stop();
    else if (pumpOn_)
        pumpTimer_->start();
}

void MidiInput::StartPump()
{
    pumpOn_ = true;
    if (pumpTimer_->interval() > 0)
        pumpTimer_->start();
}

void MidiInput::StopPump()
{
    pumpOn_ = false;
    pumpTimer_->stop();
}

void MidiInput::StartMonitor(ILogSink& log)
{
    monitorLog_ = &log;
    monitorTimer_->start();
}

void MidiInput::StopMonitor()
{
    monitorLog_ = nullptr;
    if (!capture_)
        monitorTimer_->stop();
}

void MidiInput::SetCapture(Handler capture)
{
    capture_ = std::move(capture);
    monitorTimer_->start();
}

void MidiInput::ClearCapture()
{
    capture_ = nullptr;
    if (!monitorLog_)
        monitorTimer_->stop();
}

void MidiInput::Drain(const Sink& sink)
{
    ReentryGuard::Scope scope(drainGuard_);
    if (!scope.entered())
        return;
    if (ring_.Pending() > 0)
        qCDebug(midiTrace) << ring_.Pending() << "events for" << RoutineName(sink.routine);
    if (DrainRing(sink))
        ReportDropped(*sink.log);
}

bool MidiInput::DrainRing(const Sink& sink)
{
    for (int handled = 0; handled < kMaxEventsPerTick; ++handled) {
        const int pending = ring_.Pending();
        if (pending == 0)
            return true;
        if (pending > kBacklogLimit) {
            sink.log->AppendLine(QStringLiteral("Processing the events is taking too long!"));
            sink.log->AppendLine(QStringLiteral("Possible data loss!"));
        }
        const MidiEvent event = ring_.Front();
        // A failed event has been reported; taking it again would only fail
        // again and hold up everything behind it.
        ring_.PopFront();
        if (!ReportFailures(alerts_, sink.routine, [&] { Handle(event, sink); }))
            return false;
    }
    return false;
}

void MidiInput::Handle(const MidiEvent& event, const Sink& sink)
{
    for (const QString& line : MidiLogText::Lines(event))
        sink.log->AppendLine(line);
    if (event.IsSysex())
        return;
    if (capture_) {
        // A copy: the capture may end itself while it runs.
        const Handler capture = capture_;
        capture(event);
    } else if (sink.dispatch && handler_) {
        handler_(event);
    }
}

void MidiInput::ReportDropped(ILogSink& log)
{
    const int dropped = ring_.TakeDropped();
    if (dropped > 0)
        log.AppendLine(
            QStringLiteral("%1 MIDI events were dropped while the queue was full.").arg(dropped));
}

void MidiInput::ShowDeviceError(const QString& text)
{
    alerts_.Tell(text, IAlerts::Icon::Critical, QStringLiteral("Error:"));
}
