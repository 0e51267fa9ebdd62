#include "midi/MidiInRing.h"

bool MidiInRing::Push(std::uint32_t kind, std::uintptr_t param1, std::uintptr_t param2) noexcept
{
    const std::int16_t write = QueueWriteIndex.load(std::memory_order_relaxed);
    // Acquire: the consumer has finished reading the slot it released.
    if (Next(write) == QueueReadIndex.load(std::memory_order_acquire)) {
        dropped_.fetch_add(1, std::memory_order_release);
        return false;
    }
    slots_[write] = MidiQueueEntry{kind, param1, param2};
    QueueWriteIndex.store(Next(write), std::memory_order_release);
    return true;
}

int MidiInRing::Pending() const noexcept
{
    const int difference = QueueWriteIndex.load(std::memory_order_acquire)
                           - QueueReadIndex.load(std::memory_order_relaxed);
    return difference < 0 ? difference + kSlots : difference;
}

MidiQueueEntry MidiInRing::Front() const noexcept
{
    return slots_[QueueReadIndex.load(std::memory_order_relaxed)];
}

void MidiInRing::PopFront() noexcept
{
    if (Pending() == 0)
        return;
    QueueReadIndex.store(Next(QueueReadIndex.load(std::memory_order_relaxed)),
                         std::memory_order_release);
}

int MidiInRing::TakeDropped() noexcept
{
    return dropped_.exchange(0, std::memory_order_acq_rel);
}

void MidiInRing::Reset() noexcept
{
    for (MidiQueueEntry& slot : slots_)
        slot = MidiQueueEntry{};
    QueueWriteIndex.store(0, std::memory_order_release);
    QueueReadIndex.store(0, std::memory_order_release);
    dropped_.store(0, std::memory_order_release);
}

std::int16_t MidiInRing::Next(std::int16_t index) noexcept
{
    return static_cast<std::int16_t>(index + 1 == kSlots ? 0 : index + 1);
}
