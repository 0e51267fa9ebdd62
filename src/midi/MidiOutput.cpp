#include "midi/MidiOutput.h"

#include "core/ILogSink.h"
#include "core/Logging.h"
#include "midi/MidiDeviceWatch.h"

#include <QThread>

#include <algorithm>

MidiOutput::MidiOutput(ILogSink& log, QObject* parent)
    : QObject(parent), log_(log),
      devices_(MidiDeviceList::ChooseBackend(), MidiDeviceList::Direction::Output),
      watch_(new MidiDeviceWatch(*this, log, QStringLiteral("MIDI output"), this))
{
}

MidiOutput::~MidiOutput() = default;

void MidiOutput::Use(const QString& name, IfAbsent ifAbsent)
{
    if (name == wanted_ && port_) {
        emit opened();
        return;
    }
    Close();
    wanted_ = name;
    if (name.isEmpty())
        return;
    const std::vector<std::string> ports = LookAtPortNames();
    const auto found = std::find_if(ports.begin(), ports.end(), [&](const std::string& port) {
        return MidiDeviceList::NameOf(port, Api()) == name;
    });
    if (found == ports.end() && ifAbsent == IfAbsent::LetItBe) {
        qCDebug(midiTrace) << "no output of" << name << "among" << ports.size() << "outputs";
        wanted_.clear();
        return;
    }
    const QString failure = found == ports.end() ? QStringLiteral("it is not there") : Connect(*found);
    if (failure.isEmpty()) {
        watch_->Watch();
        return;
    }
    log_.AppendLine(QStringLiteral("MIDI output \"%1\" is not open (%2); it is opened when it comes.").arg(name, failure));
    watch_->WaitFor(name);
}

void MidiOutput::Close()
{
    watch_->Stop();
    if (port_ && Api() == RtMidi::UNIX_JACK && sinceSent_.isValid() && sinceSent_.elapsed() < kJackDeliveryMs)
        QThread::msleep(kJackDeliveryMs - sinceSent_.elapsed());
    port_.reset();
    portName_.clear();
    wanted_.clear();
}

void MidiOutput::Send(const MidiEvent& message)
{
    if (!port_)
        return;
    error_.clear();
    const unsigned char bytes[] = {message.status, message.data1, message.data2};
    port_->sendMessage(bytes, sizeof bytes);
    qCDebug(midiTrace) << "sent" << message.status << message.data1 << message.data2;
    sinceSent_.start();
    if (!error_.empty() && !sendFailureLogged_) {
        sendFailureLogged_ = true;
        log_.AppendLine(QStringLiteral("MIDI output \"%1\" does not take the lights: %2")
                            .arg(wanted_, QString::fromStdString(error_)));
    }
}

void MidiOutput::ReleaseLostDevice()
{
    port_.reset();
    portName_.clear();
}

QString MidiOutput::Reopen(const std::string& portName)
{
    return port_ ? QStringLiteral("The MIDI output is open.") : Connect(portName);
}

QString MidiOutput::Connect(const std::string& portName)
{
    error_.clear();
    try {
        auto port = std::make_unique<RtMidiOut>(MidiDeviceList::ChooseBackend(), MidiDeviceList::kClientName);
        port->setErrorCallback(&MidiOutput::OnError, this);
        const unsigned count = port->getPortCount();
        for (unsigned i = 0; i < count && !port->isPortOpen(); ++i) {
            if (port->getPortName(i) == portName)
                port->openPort(i, "MIDI Out");
        }
        if (port->isPortOpen())
            port_ = std::move(port);
    } catch (const std::exception& e) {
        error_ = e.what();
    }
    if (!port_)
        return error_.empty() ? QStringLiteral("it could not be opened") : QString::fromStdString(error_);
    qCDebug(midiTrace) << "opened output" << portName.c_str();
    portName_ = portName;
    sendFailureLogged_ = false;
    emit opened();
    return {};
}

void MidiOutput::OnError(RtMidiError::Type, const std::string& text, void* self)
{
    static_cast<MidiOutput*>(self)->error_ = text;
}
