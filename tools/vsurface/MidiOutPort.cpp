#include "vsurface/MidiOutPort.h"

#include <QFileInfo>
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
        QString reason = QString::fromStdString(e.getMessage()).trimmed();
        if (reason.endsWith(QLatin1Char('.')))
            reason.chop(1);
        throw Error(QStringLiteral("Cannot open a virtual MIDI port on %1: %2. %3")
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

RtMidi::Api MidiOutPort::ChooseApi(const QString& forced, bool alsaSequencerPresent)
{
    const QString choice = forced.trimmed().toLower();
    if (choice == QLatin1String("alsa"))
        return RtMidi::LINUX_ALSA;
    if (choice == QLatin1String("jack"))
        return RtMidi::UNIX_JACK;
    if (!choice.isEmpty())
        throw Error(QStringLiteral("VMC_MIDI_API is \"%1\"; it must be \"alsa\" or \"jack\" "
                                   "(or unset to choose by itself).")
                        .arg(forced)
                        .toStdString());
    return alsaSequencerPresent ? RtMidi::LINUX_ALSA : RtMidi::UNIX_JACK;
}

RtMidi::Api MidiOutPort::ApiFromEnvironment()
{
#ifdef Q_OS_LINUX
    return ChooseApi(qEnvironmentVariable("VMC_MIDI_API"),
                     QFileInfo::exists(QStringLiteral("/dev/snd/seq")));
#else
    return RtMidi::UNSPECIFIED;
#endif
}

QString MidiOutPort::ApiName(RtMidi::Api api)
{
    return QString::fromStdString(RtMidi::getApiDisplayName(api));
}
