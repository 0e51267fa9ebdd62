#pragma once

#include "core/MidiEvent.h"

#include <atomic>
#include <cstdint>

// The event ring between the MIDI device's callback (the only producer, on the
// MIDI system's thread) and the pump on the UI thread (the only consumer).
// Lock-free: each index has a single writer, and a slot is filled completely
// before the write index moves. One slot always stays free so that a full ring
// never looks empty; when the ring is full a new event is dropped and counted,
// never written over a pending one.
class MidiInRing {
public:
    static constexpr int kSlots = 30;
    static constexpr int kCapacity = kSlots - 1;

    // Producer side. Constant work, no allocation, never waits.
    bool Push(const MidiEvent& event) noexcept;

    // Consumer side.
    int Pending() const noexcept;
    const MidiEvent& Front() const noexcept;
    void PopFront() noexcept;
    // The number of events dropped since the last call.
    int TakeDropped() noexcept;

    // Empties the ring; only while no producer can run.
    void Reset() noexcept;

private:
    static std::int16_t Next(std::int16_t index) noexcept;

    MidiEvent slots_[kSlots];
    std::atomic<std::int16_t> writeIndex_{0};
    std::atomic<std::int16_t> readIndex_{0};
    std::atomic<int> dropped_{0};
};
