#pragma once

#include "app/IAlerts.h"
#include "app/ReentryGuard.h"
#include "midi/IMidiInApi.h"
#include "midi/MidiInRing.h"

#include <QList>
#include <QPair>
#include <QString>
#include <array>
#include <atomic>
#include <vector>

// A receive record: the header the device fills and its own data area.
struct MidiInBuffer {
    static constexpr std::uint32_t kDataSize = 100;
    MidiHdr hdr;
    char Data[kDataSize] = {};
};

// The program's only contact with the MIDI system: lists the input devices,
// opens one with the receive records and the callback, closes it again, and
// owns the event ring that the pumps drain. The records never move while a
// device is open, so this object must outlive any open device.
class MidiFunctions {
public:
    static constexpr int kBufferCount = 31;
    using DeviceList = QList<QPair<QString, int>>;  // device name, device number

    MidiFunctions(IMidiInApi& api, IAlerts& alerts);
    ~MidiFunctions();
    MidiFunctions(const MidiFunctions&) = delete;
    MidiFunctions& operator=(const MidiFunctions&) = delete;

    void ListMidiInDevices(DeviceList& list);
    // Does not start the device: the caller calls Api().Start(hMidiIn()).
    void OpenMidiIn(int deviceId);
    void CloseMidiIn();

    // The device's callback; `instance` is this object. Runs on the MIDI
    // system's thread: touches only the ring and the lost-record marks.
    static void MidiInProc(MidiInHandle handle, std::uint32_t message, std::uintptr_t instance,
                           std::uintptr_t param1, std::uintptr_t param2);

    MidiInHandle hMidiIn() const { return hMidiIn_; }
    IMidiInApi& Api() { return api_; }
    MidiInRing& MidiInQueue() { return MidiInQueue_; }
    // Held by whichever pump is draining the ring, so that a second pump (or
    // the same one under a modal box) never takes the same entry twice.
    ReentryGuard& DrainGuard() { return drainGuard_; }

    // The record whose header has this address, or nullptr.
    MidiInBuffer* FindBuffer(std::uintptr_t headerAddress);
    MmResult UnprepareBuffer(MidiInBuffer& buffer);
    // Empties the record and hands it to the device again.
    MmResult QueueBuffer(MidiInBuffer& buffer);
    // Records the device returned while the ring was full; each is reported once.
    std::vector<MidiInBuffer*> TakeLostBuffers();

    // A device failure: critical-stop icon, title "Error:".
    static void ShowDeviceError(IAlerts& alerts, const QString& text);

private:
    void RecordReturnedBuffer(std::uintptr_t headerAddress, std::uintptr_t timestamp) noexcept;
    int IndexOf(std::uintptr_t headerAddress) const noexcept;
    void ClearRing();

    IMidiInApi& api_;
    IAlerts& alerts_;
    MidiInHandle hMidiIn_ = 0;
    std::array<MidiInBuffer, kBufferCount> MidiInBuffers;
    std::array<std::atomic<bool>, kBufferCount> lost_{};
    MidiInRing MidiInQueue_;
    ReentryGuard drainGuard_;
};
