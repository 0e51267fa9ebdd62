#include "midi/MidiInRing.h"

#include <gtest/gtest.h>
#include <atomic>
#include <thread>

// A producer thread against a consumer: every event arrives once, in order,
// or is counted as dropped. Events are numbered through their timestamp.
TEST(MidiInRing, ConcurrentProducerLosesNothingUncounted)
{
    MidiInRing ring;
    constexpr std::uint32_t kCount = 200000;
    std::atomic<bool> produced{false};
    std::thread producer([&] {
        for (std::uint32_t i = 1; i <= kCount; ++i)
            ring.Push(MidiEvent::Short(0xB0, 0x64, static_cast<std::uint8_t>(i % 128), i));
        produced = true;
    });
    std::uint32_t received = 0, last = 0, dropped = 0;
    bool inOrder = true;
    auto consume = [&] {
        for (; ring.Pending() > 0; ++received, ring.PopFront()) {
            const MidiEvent e = ring.Front();
            inOrder = inOrder && e.timestamp > last && e.data2 == e.timestamp % 128;
            last = e.timestamp;
        }
        dropped += ring.TakeDropped();
    };
    // Bounded by the producer, which never waits: a lost count cannot hang the test.
    while (!produced)
        consume();
    producer.join();
    consume();
    EXPECT_TRUE(inOrder);
    EXPECT_EQ(received + dropped, kCount);
}

// A full ring holds kCapacity events; the next one is dropped and counted,
// and nothing pending is written over. Emptied, it takes as many again.
TEST(MidiInRing, FullRingDropsAndCountsTheEventThatDoesNotFit)
{
    MidiInRing ring;
    for (int round = 0; round < 2; ++round) {
        for (std::uint32_t i = 1; i <= MidiInRing::kCapacity; ++i)
            EXPECT_TRUE(ring.Push(MidiEvent::Short(0xB0, 0x64, 0x41, i))) << i;
        EXPECT_FALSE(ring.Push(MidiEvent::Short(0xB0, 0x64, 0x41, 999)));
        EXPECT_EQ(ring.TakeDropped(), 1);
        EXPECT_EQ(ring.Pending(), MidiInRing::kCapacity);
        for (std::uint32_t i = 1; i <= MidiInRing::kCapacity; ++i, ring.PopFront())
            EXPECT_EQ(ring.Front().timestamp, i);
        EXPECT_EQ(ring.Pending(), 0);
    }
}
