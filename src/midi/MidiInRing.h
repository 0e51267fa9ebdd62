#pragma once

#include <atomic>
#include <cstdint>

// One report of the input callback, copied unchanged: the message code and its
// two parameters (packed short message or buffer address, and timestamp).
struct MidiQueueEntry {
    std::uint32_t Kind = 0;
    std::uintptr_t Param1 = 0;
    std::uintptr_t Param2 = 0;
};

// The event ring between the MIDI input callback (the only producer) and the
// pumps on the UI thread (one consumer at a time). Lock-free: each index has a
// single writer, and a slot is filled completely before the write index moves.
// One slot always stays free so that a full ring never looks empty; when the
// ring is full a new entry is dropped and counted, never written over a
// pending one.
class MidiInRing {
public:
    static constexpr int kSlots = 30;
    static constexpr int kCapacity = kSlots - 1;

    // Producer side. Constant work, no allocation, never waits.
    bool Push(std::uint32_t kind, std::uintptr_t param1, std::uintptr_t param2) noexcept;

    // Consumer side.
    int Pending() const noexcept;
    MidiQueueEntry Front() const noexcept;
    void PopFront() noexcept;
    // The number of entries dropped since the last call.
    int TakeDropped() noexcept;

    // Empties the ring; only while no producer can run.
    void Reset() noexcept;

private:
    static std::int16_t Next(std::int16_t index) noexcept;

    MidiQueueEntry slots_[kSlots];
    std::atomic<std::int16_t> QueueWriteIndex{0};
    std::atomic<std::int16_t> QueueReadIndex{0};
    std::atomic<int> dropped_{0};
};
