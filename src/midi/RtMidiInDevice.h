#pragma once

#include "midi/IMidiInApi.h"

#include <rtmidi/RtMidi.h>

#include <array>
#include <atomic>
#include <chrono>
#include <string>
#include <vector>

// One open MIDI input port over RtMidi, with the queue of receive buffers the
// caller has added. RtMidi calls back on its own thread; that path only takes
// buffers from a lock-free queue, copies bytes and calls the caller's callback.
class RtMidiInDevice {
public:
    // Throws RtMidiError when the MIDI system cannot be reached.
    RtMidiInDevice(RtMidi::Api backend, const std::string& clientName, MidiInHandle handle,
                   MidiInCallback callback, std::uintptr_t instance);
    ~RtMidiInDevice();
    RtMidiInDevice(const RtMidiInDevice&) = delete;
    RtMidiInDevice& operator=(const RtMidiInDevice&) = delete;

    // Connects to the source port of this name; false when it is gone or fails.
    bool OpenPort(const std::string& sourcePortName);

    MmResult AddBuffer(MidiHdr* header);
    bool HasQueuedBuffers() const;
    void Start();
    // Returns only when no callback of RtMidi is running through this device.
    void Stop();
    void Reset();

private:
    static constexpr unsigned kBufferQueueSize = 64;

    static void OnMessage(double deltaSeconds, std::vector<unsigned char>* message, void* device);
    static void OnError(RtMidiError::Type type, const std::string& text, void* device);
    void Deliver(const std::vector<unsigned char>& message);
    void DeliverSysex(const std::vector<unsigned char>& message, std::uint32_t timestamp);
    void ReturnBuffer(MidiHdr* header, std::uint32_t timestamp);
    MidiHdr* TakeBuffer();
    std::uint32_t Timestamp() const;

    MidiInHandle handle_;
    MidiInCallback callback_;
    std::uintptr_t instance_;
    std::array<MidiHdr*, kBufferQueueSize> buffers_{};
    std::atomic<unsigned> buffersHead_{0};  // taken by the callback side
    std::atomic<unsigned> buffersTail_{0};  // added by the UI thread
    std::atomic<bool> started_{false};
    std::atomic<int> callbacksRunning_{0};
    std::atomic<std::chrono::steady_clock::rep> startTicks_{0};
    std::atomic<bool> failed_{false};
    // Declared last so that it is destroyed first: its thread stops before
    // anything it calls into goes away.
    RtMidiIn midi_;
};
