#include "midi/RtMidiInApi.h"

#include <QFileInfo>

RtMidiInApi::RtMidiInApi(const std::string& clientName)
    : backend_(ChooseBackend()), clientName_(clientName)
{
}

RtMidiInApi::~RtMidiInApi() = default;

RtMidi::Api RtMidiInApi::ChooseBackend()
{
#if defined(__linux__)
    const QByteArray forced = qgetenv("VMC_MIDI_API").toLower();
    if (forced == "jack")
        return RtMidi::UNIX_JACK;
    if (forced == "alsa")
        return RtMidi::LINUX_ALSA;
    return QFileInfo::exists(QStringLiteral("/dev/snd/seq")) ? RtMidi::LINUX_ALSA : RtMidi::UNIX_JACK;
#else
    return RtMidi::UNSPECIFIED;
#endif
}

unsigned RtMidiInApi::GetNumDevs()
{
    portNames_.clear();
    try {
        if (!lister_) {
            lister_ = std::make_unique<RtMidiIn>(backend_, clientName_);
            lister_->setErrorCallback([](RtMidiError::Type, const std::string&, void*) {});
        }
        const unsigned count = lister_->getPortCount();
        for (unsigned i = 0; i < count; ++i)
            portNames_.push_back(lister_->getPortName(i));
    } catch (const std::exception&) {
        // No MIDI system to talk to: no devices.
        portNames_.clear();
    }
    return static_cast<unsigned>(portNames_.size());
}

MmResult RtMidiInApi::GetDevCaps(int deviceId, QString& name)
{
    if (!IsListed(deviceId))
        return MMSYSERR_BADDEVICEID;
    const QString portName = QString::fromStdString(portNames_[deviceId]);
    name = portName.section(QLatin1Char(':'), 0, 0).left(kNameLength);
    return MMSYSERR_NOERROR;
}

MmResult RtMidiInApi::Open(MidiInHandle& handle, int deviceId, MidiInCallback callback,
                           std::uintptr_t instance)
{
    handle = 0;
    if (!callback)
        return MMSYSERR_INVALPARAM;
    if (portNames_.empty())
        GetNumDevs();
    if (!IsListed(deviceId))
        return MMSYSERR_BADDEVICEID;
    try {
        auto device = std::make_unique<RtMidiInDevice>(backend_, clientName_, nextHandle_, callback,
                                                       instance);
        if (!device->OpenPort(portNames_[deviceId]))
            return MMSYSERR_BADDEVICEID;
        handle = nextHandle_++;
        devices_[handle] = std::move(device);
        return MMSYSERR_NOERROR;
    } catch (const RtMidiError&) {
        return MMSYSERR_NODRIVER;
    } catch (const std::exception&) {
        return MMSYSERR_ERROR;
    }
}

MmResult RtMidiInApi::PrepareHeader(MidiInHandle handle, MidiHdr* header)
{
    if (!Find(handle))
        return MMSYSERR_INVALHANDLE;
    if (!header || !header->lpData || header->dwBufferLength == 0)
        return MMSYSERR_INVALPARAM;
    header->dwFlags.fetch_or(MidiHdr::MHDR_PREPARED);
    return MMSYSERR_NOERROR;
}

MmResult RtMidiInApi::UnprepareHeader(MidiInHandle handle, MidiHdr* header)
{
    if (!Find(handle))
        return MMSYSERR_INVALHANDLE;
    if (!header)
        return MMSYSERR_INVALPARAM;
    if (header->dwFlags.load() & MidiHdr::MHDR_INQUEUE)
        return MIDIERR_STILLPLAYING;
    header->dwFlags.fetch_and(~MidiHdr::MHDR_PREPARED);
    return MMSYSERR_NOERROR;
}

MmResult RtMidiInApi::AddBuffer(MidiInHandle handle, MidiHdr* header)
{
    RtMidiInDevice* device = Find(handle);
    if (!device)
        return MMSYSERR_INVALHANDLE;
    if (!header)
        return MMSYSERR_INVALPARAM;
    const std::uint32_t flags = header->dwFlags.load();
    if (!(flags & MidiHdr::MHDR_PREPARED))
        return MIDIERR_UNPREPARED;
    if (flags & MidiHdr::MHDR_INQUEUE)
        return MIDIERR_STILLPLAYING;
    return device->AddBuffer(header);
}

MmResult RtMidiInApi::Start(MidiInHandle handle)
{
    RtMidiInDevice* device = Find(handle);
    if (!device)
        return MMSYSERR_INVALHANDLE;
    device->Start();
    return MMSYSERR_NOERROR;
}

MmResult RtMidiInApi::Stop(MidiInHandle handle)
{
    RtMidiInDevice* device = Find(handle);
    if (!device)
        return MMSYSERR_INVALHANDLE;
    device->Stop();
    return MMSYSERR_NOERROR;
}

MmResult RtMidiInApi::Reset(MidiInHandle handle)
{
    RtMidiInDevice* device = Find(handle);
    if (!device)
        return MMSYSERR_INVALHANDLE;
    device->Reset();
    return MMSYSERR_NOERROR;
}

MmResult RtMidiInApi::Close(MidiInHandle handle)
{
    RtMidiInDevice* device = Find(handle);
    if (!device)
        return MMSYSERR_INVALHANDLE;
    if (device->HasQueuedBuffers())
        return MIDIERR_STILLPLAYING;
    devices_.erase(handle);
    return MMSYSERR_NOERROR;
}

QString RtMidiInApi::GetErrorText(MmResult code)
{
    switch (code) {
    case MMSYSERR_NOERROR:
        return QStringLiteral("The specified command was carried out.");
    case MMSYSERR_ERROR:
        return QStringLiteral("Undefined external error.");
    case MMSYSERR_BADDEVICEID:
        return QStringLiteral("The specified device identifier is out of range.");
    case MMSYSERR_INVALHANDLE:
        return QStringLiteral("The specified device handle is invalid.");
    case MMSYSERR_NODRIVER:
        return QStringLiteral("There is no driver installed on your system.");
    case MMSYSERR_NOMEM:
        return QStringLiteral("There is not enough memory available for this task.");
    case MMSYSERR_INVALPARAM:
        return QStringLiteral("An invalid parameter was passed to a system function.");
    case MIDIERR_UNPREPARED:
        return QStringLiteral("The header is not prepared. Use the Prepare function to prepare "
                              "the header, and then try again.");
    case MIDIERR_STILLPLAYING:
        return QStringLiteral("Cannot perform this operation while media data is still playing. "
                              "Reset the device, or wait until the data is finished playing.");
    default:
        return QStringLiteral("Unknown MIDI error %1.").arg(code);
    }
}

RtMidiInDevice* RtMidiInApi::Find(MidiInHandle handle) const
{
    const auto it = devices_.find(handle);
    return it == devices_.end() ? nullptr : it->second.get();
}

bool RtMidiInApi::IsListed(int deviceId) const
{
    return deviceId >= 0 && static_cast<std::size_t>(deviceId) < portNames_.size();
}
