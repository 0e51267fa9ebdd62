#include "midi/MidiDeviceWatch.h"

#include "core/ILogSink.h"
#include "midi/MidiDeviceList.h"
#include "midi/MidiInput.h"

#include <QTimer>

#include <algorithm>

MidiDeviceWatch::MidiDeviceWatch(MidiInput& midi, ILogSink& log, QObject* parent)
    : QObject(parent), midi_(midi), log_(log), timer_(new QTimer(this))
{
    timer_->setObjectName(QStringLiteral("midiWatchTimer"));
    timer_->setInterval(kIntervalMs);
    connect(timer_, &QTimer::timeout, this, &MidiDeviceWatch::Tick);
    connect(&midi_, &MidiInput::connectedChanged, this, &MidiDeviceWatch::OnConnectedChanged);
    connect(&midi_, &MidiInput::closed, this, &MidiDeviceWatch::Stop);
}

void MidiDeviceWatch::OnConnectedChanged(bool connected)
{
    if (!connected)
        return;
    lostName_.clear();
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
    const std::vector<std::string> portNames = midi_.LookAtPortNames();
    if (lostName_.isEmpty())
        CheckStillThere(portNames);
    else
        LookForLostDevice(portNames);
}

void MidiDeviceWatch::CheckStillThere(const std::vector<std::string>& portNames)
{
    const std::string source = midi_.SourcePortName();
    const RtMidi::Api api = midi_.Api();
    const auto sameDevice = [&](const std::string& port) {
        return MidiDeviceList::Identity(port, api) == MidiDeviceList::Identity(source, api);
    };
    if (source.empty() || std::any_of(portNames.begin(), portNames.end(), sameDevice))
        return;
    lostName_ = MidiDeviceList::NameOf(source, api);
    midi_.ReleaseLostDevice();
    log_.AppendLine(QStringLiteral("MIDI device \"%1\" lost; it is opened again when it comes back.")
                        .arg(lostName_));
}

void MidiDeviceWatch::LookForLostDevice(const std::vector<std::string>& portNames)
{
    const auto sameName = std::find_if(portNames.begin(), portNames.end(), [this](const std::string& port) {
        return MidiDeviceList::NameOf(port, midi_.Api()) == lostName_;
    });
    if (sameName == portNames.end())
        return;
    const QString name = lostName_;
    const QString failure = midi_.Reopen(*sameName);
    if (failure.isEmpty()) {
        log_.AppendLine(QStringLiteral("MIDI device \"%1\" is back and open again.").arg(name));
    } else if (!reopenFailureLogged_) {
        reopenFailureLogged_ = true;
        log_.AppendLine(QStringLiteral("MIDI device \"%1\" is back but could not be opened: %2")
                            .arg(name, failure));
    }
}
