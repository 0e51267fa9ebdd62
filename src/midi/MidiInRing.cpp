#include "midi/MidiInRing.h"

bool MidiInRing::Push(const MidiEvent& event) noexcept
{
    const std::int16_t write = writeIndex_.load(std::memory_order_relaxed);
    // Acquire: the consumer has finished reading the slot it released.
    if (Next(write) == readIndex_.load(std::memory_order_acquire)) {
        dropped_.fetch_add(1, std::memory_order_relaxed);
        return false;
    }
    slots_[write] = event;
    writeIndex_.store(Next(write), std::memory_order_release);
    return true;
}

int MidiInRing::Pending() const noexcept
{
    const int difference = writeIndex_.load(std::memory_order_acquire)
                           - readIndex_.load(std::memory_order_relaxed);
    return difference < 0 ? difference + kSlots : difference;
}

const MidiEvent& MidiInRing::Front() const noexcept
{
    return slots_[readIndex_.load(std::memory_order_relaxed)];
}

void MidiInRing::PopFront() noexcept
{
    if (Pending() == 0)
        return;
    readIndex_.store(Next(readIndex_.load(std::memory_order_relaxed)), std::memory_order_release);
}

int MidiInRing::TakeDropped() noexcept
{
    return dropped_.exchange(0, std::memory_order_relaxed);
}

void MidiInRing::Reset() noexcept
{
    writeIndex_.store(0, std::memory_order_release);
    readIndex_.store(0, std::memory_order_release);
    dropped_.store(0, std::memory_order_relaxed);
}

std::int16_t MidiInRing::Next(std::int16_t index) noexcept
{
    return static_cast<std::int16_t>(index + 1 == kSlots ? 0 : index + 1);
}
