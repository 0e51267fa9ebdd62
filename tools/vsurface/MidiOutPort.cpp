#include "vsurface/MidiOutPort.h"

#include <vector>

MidiOutPort::MidiOutPort(RtMidi::Api api, const QString& clientName, const QString& portName)
{
    try {
        out_ = std::make_unique<RtMidiOut>(api, clientName.toStdString());
        out_->openVirtualPort(portName.toStdString());
    } catch (const RtMidiError& e) {
        const QString hint = api == RtMidi::UNIX_JACK
            ? QStringLiteral("Start a JACK server (for example \"jackd -d dummy\") or set "
                             "VMC_MIDI_API=alsa.")
            : QStringLiteral("Check that the MIDI system is available.");
        // RtMidi names its own routine first ("MidiOutJack::openVirtualPort: ..."),
        // which tells a user nothing.
        QString reason = QString::fromStdString(e.getMessage()).trimmed();
        reason = reason.mid(reason.lastIndexOf(QStringLiteral(": ")) + 1).trimmed();
        if (reason.endsWith(QLatin1Char('.')))
            reason.chop(1);
        throw Error(QStringLiteral("Cannot open a virtual MIDI port on %1: %2.\n%3")
                        .arg(ApiName(api), reason, hint)
                        .toStdString());
    }
}

MidiOutPort::~MidiOutPort()
{
    if (out_)
        out_->closePort();
}

void MidiOutPort::Send(const MidiBytes& message)
{
    const std::vector<unsigned char> bytes(message.begin(), message.end());
    try {
        out_->sendMessage(&bytes);
    } catch (const RtMidiError& e) {
        throw Error(QStringLiteral("Sending failed: %1")
                        .arg(QString::fromStdString(e.getMessage()))
                        .toStdString());
    }
}

QString MidiOutPort::ApiName(RtMidi::Api api)
{
    return QString::fromStdString(RtMidi::getApiDisplayName(api));
}
