#include "midi/MidiDeviceWatch.h"

#include "core/ILogSink.h"
#include "midi/IWatchedMidiPort.h"
#include "midi/MidiDeviceList.h"

#include <QTimer>

#include <algorithm>

MidiDeviceWatch::MidiDeviceWatch(IWatchedMidiPort& port, ILogSink& log, QString what, QObject* parent)
    : QObject(parent), port_(port), log_(log), what_(std::move(what)), timer_(new QTimer(this))
{
    timer_->setObjectName(QStringLiteral("midiWatchTimer"));
    timer_->setInterval(kIntervalMs);
    connect(timer_, &QTimer::timeout, this, &MidiDeviceWatch::Tick);
}

void MidiDeviceWatch::Watch()
{
    lostName_.clear();
    reopenFailureLogged_ = false;
    if (!timer_->isActive())
        timer_->start();
}

void MidiDeviceWatch::WaitFor(const QString& name)
{
    lostName_ = name;
    reopenFailureLogged_ = false;
    if (!timer_->isActive())
        timer_->start();
}

void MidiDeviceWatch::Stop()
{
    timer_->stop();
    lostName_.clear();
}

void MidiDeviceWatch::Tick()
{
    const std::vector<std::string> portNames = port_.LookAtPortNames();
    if (lostName_.isEmpty())
        CheckStillThere(portNames);
    else
        LookForLostDevice(portNames);
}

void MidiDeviceWatch::CheckStillThere(const std::vector<std::string>& portNames)
{
    const std::string open = port_.PortName();
    const RtMidi::Api api = port_.Api();
    const auto sameDevice = [&](const std::string& port) {
        return MidiDeviceList::Identity(port, api) == MidiDeviceList::Identity(open, api);
    };
    if (open.empty() || std::any_of(portNames.begin(), portNames.end(), sameDevice))
        return;
    lostName_ = MidiDeviceList::NameOf(open, api);
    port_.ReleaseLostDevice();
    log_.AppendLine(QStringLiteral("%1 \"%2\" lost; it is opened again when it comes back.").arg(what_, lostName_));
}

void MidiDeviceWatch::LookForLostDevice(const std::vector<std::string>& portNames)
{
    const auto sameName = std::find_if(portNames.begin(), portNames.end(), [this](const std::string& port) {
        return MidiDeviceList::NameOf(port, port_.Api()) == lostName_;
    });
    if (sameName == portNames.end())
        return;
    const QString name = lostName_;
    const QString failure = port_.Reopen(*sameName);
    if (failure.isEmpty()) {
        Watch();
        log_.AppendLine(QStringLiteral("%1 \"%2\" is back and open again.").arg(what_, name));
    } else if (!reopenFailureLogged_) {
        reopenFailureLogged_ = true;
        log_.AppendLine(QStringLiteral("%1 \"%2\" is back but could not be opened: %3").arg(what_, name, failure));
    }
}
