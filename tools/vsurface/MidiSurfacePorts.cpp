#include "vsurface/MidiSurfacePorts.h"

#include <algorithm>
#include <vector>

MidiSurfacePorts::MidiSurfacePorts(RtMidi::Api api, const QString& clientName)
{
    try {
        out_ = std::make_unique<RtMidiOut>(api, clientName.toStdString());
        out_->openVirtualPort("out");
        in_ = std::make_unique<RtMidiIn>(api, clientName.toStdString());
        in_->openVirtualPort("in");
    } catch (const RtMidiError& e) {
        throw Unreachable(api, QString::fromStdString(e.getMessage()));
    }
}

MidiSurfacePorts::~MidiSurfacePorts()
{
    if (out_)
        out_->closePort();
}

MidiSurfacePorts::Error MidiSurfacePorts::Unreachable(RtMidi::Api api, const QString& what)
{
    const QString hint = api == RtMidi::UNIX_JACK
        ? QStringLiteral("Start a JACK server (for example \"jackd -d dummy\") or set "
                         "VMC_MIDI_API=alsa.")
        : QStringLiteral("Check that the MIDI system is available.");
    // RtMidi names its own routine first ("MidiOutJack::openVirtualPort: ..."),
    // which tells a user nothing.
    QString reason = what.trimmed();
    reason = reason.mid(reason.lastIndexOf(QStringLiteral(": ")) + 1).trimmed();
    if (reason.endsWith(QLatin1Char('.')))
        reason.chop(1);
    return Error(QStringLiteral("Cannot open a virtual MIDI port on %1: %2.\n%3")
                     .arg(ApiName(api), reason, hint)
                     .toStdString());
}

void MidiSurfacePorts::Send(const MidiBytes& message)
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

std::vector<MidiBytes> MidiSurfacePorts::TakeReceived()
{
    std::vector<MidiBytes> received;
    std::vector<unsigned char> message;
    for (in_->getMessage(&message); !message.empty(); in_->getMessage(&message)) {
        if (message.size() <= 3) {
            MidiBytes bytes{};
            std::copy(message.begin(), message.end(), bytes.begin());
            received.push_back(bytes);
        }
    }
    return received;
}

QString MidiSurfacePorts::ApiName(RtMidi::Api api)
{
    return QString::fromStdString(RtMidi::getApiDisplayName(api));
}
