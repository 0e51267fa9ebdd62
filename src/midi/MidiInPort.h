#pragma once

#include "midi/MidiInRing.h"
#include "midi/MidiInWake.h"

#include <QString>
#include <rtmidi/RtMidi.h>

#include <atomic>
#include <chrono>
#include <string>
#include <vector>

// One open MIDI input port over RtMidi. RtMidi calls back on a thread of the
// MIDI system; that path only turns the bytes into events, pushes them into
// the ring and wakes the UI thread (at most one wake waits at a time).
// Everything else runs on the UI thread.
class MidiInPort {
public:
    // Throws std::exception when the MIDI system cannot be reached.
    MidiInPort(RtMidi::Api api, const std::string& clientName, MidiInRing& ring, MidiInWake& wake);
    // Returns only when no callback of RtMidi can run any more.
    ~MidiInPort() = default;
    MidiInPort(const MidiInPort&) = delete;
    MidiInPort& operator=(const MidiInPort&) = delete;

    // Connects to the source port of this name. Empty on success, otherwise
    // why it failed, in RtMidi's own words where RtMidi gave any.
    QString Open(const std::string& sourcePortName);

    // What the callback does with one message: the timing clock is ignored, a
    // system-exclusive message goes into the ring in pieces of 100 bytes,
    // anything else as one short message. False when nothing was for the ring.
    static bool Deliver(MidiInRing& ring, const unsigned char* bytes, std::size_t size,
                        std::uint32_t timestamp) noexcept;

private:
    static void OnMessage(double deltaSeconds, std::vector<unsigned char>* message, void* self);
    static void OnError(RtMidiError::Type type, const std::string& text, void* self);
    std::uint32_t Timestamp() const noexcept;

    MidiInRing& ring_;
    MidiInWake& wake_;
    // Read by the callback thread, so atomic.
    std::atomic<std::chrono::steady_clock::rep> openedAt_{0};
    // Set by OnError, which RtMidi calls on the thread that called into it:
    // only the UI thread's calls report errors (the input thread only warns).
    std::string error_;
    // Declared last so that it is destroyed first: its thread stops before
    // anything it calls into goes away.
    RtMidiIn midi_;
};
