#include "midi/MidiFunctions.h"

MidiFunctions::MidiFunctions(IMidiInApi& api, IAlerts& alerts) : api_(api), alerts_(alerts)
{
    ClearRing();
}

MidiFunctions::~MidiFunctions()
{
    CloseMidiIn();
}

void MidiFunctions::ListMidiInDevices(DeviceList& list)
{
    list.clear();
    const unsigned count = api_.GetNumDevs();
    for (unsigned i = 0; i < count; ++i) {
        QString name;
        if (api_.GetDevCaps(static_cast<int>(i), name) == IMidiInApi::MMSYSERR_NOERROR)
            list.append({name, static_cast<int>(i)});
    }
}

void MidiFunctions::OpenMidiIn(int deviceId)
{
    CloseMidiIn();
    const MmResult result = api_.Open(hMidiIn_, deviceId, &MidiFunctions::MidiInProc,
                                      reinterpret_cast<std::uintptr_t>(this));
    if (result != IMidiInApi::MMSYSERR_NOERROR) {
        hMidiIn_ = 0;
        ShowDeviceError(alerts_, api_.GetErrorText(result));
        return;
    }
    for (MidiInBuffer& buffer : MidiInBuffers) {
        buffer.hdr.lpData = buffer.Data;
        buffer.hdr.dwBufferLength = MidiInBuffer::kDataSize;
        buffer.hdr.dwUser = 0;
        buffer.hdr.lpNext = nullptr;
        if (QueueBuffer(buffer) != IMidiInApi::MMSYSERR_NOERROR)
            ShowDeviceError(alerts_, QStringLiteral("Error creating the MidiIn buffers!"));
    }
    // The device is not started yet, so nothing can be recorded meanwhile.
    ClearRing();
}

void MidiFunctions::CloseMidiIn()
{
    if (hMidiIn_ == 0)
        return;
    api_.Stop(hMidiIn_);
    api_.Reset(hMidiIn_);
    for (MidiInBuffer& buffer : MidiInBuffers) {
        if (UnprepareBuffer(buffer) != IMidiInApi::MMSYSERR_NOERROR)
            ShowDeviceError(alerts_, QStringLiteral("Error when unregistering the MidiIn buffer"));
    }
    const MmResult result = api_.Close(hMidiIn_);
    hMidiIn_ = 0;
    if (result != IMidiInApi::MMSYSERR_NOERROR)
        ShowDeviceError(alerts_, api_.GetErrorText(result));
    // What the reset returned belongs to the closed device; a pump that ran
    // on would only trip over records that are no longer queued anywhere.
    ClearRing();
}

void MidiFunctions::MidiInProc(MidiInHandle, std::uint32_t message, std::uintptr_t instance,
                               std::uintptr_t param1, std::uintptr_t param2)
{
    auto* self = reinterpret_cast<MidiFunctions*>(instance);
    constexpr std::uintptr_t kTimingClock = 0xF8;
    if (message == IMidiInApi::MIM_DATA && param1 != kTimingClock)
        self->MidiInQueue_.Push(message, param1, param2);
    else if (message == IMidiInApi::MIM_LONGDATA)
        self->RecordReturnedBuffer(param1, param2);
}

void MidiFunctions::RecordReturnedBuffer(std::uintptr_t headerAddress,
                                         std::uintptr_t timestamp) noexcept
{
    if (MidiInQueue_.Push(IMidiInApi::MIM_LONGDATA, headerAddress, timestamp))
        return;
    // Without an entry in the ring no pump would ever hand this record back.
    const int index = IndexOf(headerAddress);
    if (index >= 0)
        lost_[index].store(true, std::memory_order_release);
}

MidiInBuffer* MidiFunctions::FindBuffer(std::uintptr_t headerAddress)
{
    const int index = IndexOf(headerAddress);
    return index < 0 ? nullptr : &MidiInBuffers[index];
}

int MidiFunctions::IndexOf(std::uintptr_t headerAddress) const noexcept
{
    for (int i = 0; i < kBufferCount; ++i) {
        if (reinterpret_cast<std::uintptr_t>(&MidiInBuffers[i].hdr) == headerAddress)
            return i;
    }
    return -1;
}

MmResult MidiFunctions::UnprepareBuffer(MidiInBuffer& buffer)
{
    return api_.UnprepareHeader(hMidiIn_, &buffer.hdr);
}

MmResult MidiFunctions::QueueBuffer(MidiInBuffer& buffer)
{
    buffer.hdr.dwBytesRecorded = 0;
    const MmResult result = api_.PrepareHeader(hMidiIn_, &buffer.hdr);
    return result != IMidiInApi::MMSYSERR_NOERROR ? result : api_.AddBuffer(hMidiIn_, &buffer.hdr);
}

std::vector<MidiInBuffer*> MidiFunctions::TakeLostBuffers()
{
    std::vector<MidiInBuffer*> lost;
    for (int i = 0; i < kBufferCount; ++i) {
        if (lost_[i].exchange(false, std::memory_order_acq_rel))
            lost.push_back(&MidiInBuffers[i]);
    }
    return lost;
}

void MidiFunctions::ClearRing()
{
    MidiInQueue_.Reset();
    for (std::atomic<bool>& mark : lost_)
        mark.store(false, std::memory_order_release);
}

void MidiFunctions::ShowDeviceError(IAlerts& alerts, const QString& text)
{
    alerts.MsgBox(text, IAlerts::Buttons::Ok, IAlerts::Icon::Critical, QStringLiteral("Error:"));
}
