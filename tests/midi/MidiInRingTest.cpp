#include "midi/MidiInRing.h"

#include <gtest/gtest.h>
#include <thread>

namespace {

// Events numbered through their timestamp.
MidiEvent Numbered(std::uint32_t n)
{
    return MidiEvent::Short(0xB0, 0x64, 0x41, n);
}

std::uint32_t Drain(MidiInRing& ring, std::uint32_t expectedNext)
{
    while (ring.Pending() > 0) {
        EXPECT_EQ(ring.Front().timestamp, expectedNext);
        ++expectedNext;
        ring.PopFront();
    }
    return expectedNext;
}

}  // namespace

TEST(MidiInRing, KeepsOrderAcrossManyWrapArounds)
{
    MidiInRing ring;
    std::uint32_t sent = 0;
    std::uint32_t next = 0;
    for (int round = 0; round < 40; ++round) {
        const int batch = 1 + round % MidiInRing::kCapacity;
        for (int i = 0; i < batch; ++i)
            ASSERT_TRUE(ring.Push(Numbered(sent++)));
        EXPECT_EQ(ring.Pending(), batch);
        next = Drain(ring, next);
    }
    EXPECT_EQ(next, sent);
    EXPECT_EQ(ring.TakeDropped(), 0);
}

TEST(MidiInRing, FullRingDropsNewEventsAndKeepsThePendingOnes)
{
    MidiInRing ring;
    // Start off zero so that the full ring straddles the wrap.
    for (int i = 0; i < 17; ++i) {
        ring.Push(Numbered(0));
        ring.PopFront();
    }
    for (std::uint32_t i = 0; i < MidiInRing::kCapacity; ++i)
        ASSERT_TRUE(ring.Push(Numbered(i)));
    EXPECT_EQ(ring.Pending(), 29);
    EXPECT_FALSE(ring.Push(Numbered(100)));
    EXPECT_FALSE(ring.Push(Numbered(101)));
    EXPECT_EQ(ring.Pending(), 29);

    ring.PopFront();  // event 0
    ASSERT_TRUE(ring.Push(Numbered(29)));
    EXPECT_EQ(Drain(ring, 1), 30u);
    EXPECT_EQ(ring.TakeDropped(), 2);
    EXPECT_EQ(ring.TakeDropped(), 0);

    ring.PopFront();
    EXPECT_EQ(ring.Pending(), 0);
    for (int i = 0; i < 35; ++i)
        ring.Push(Numbered(1));
    ring.Reset();
    EXPECT_EQ(ring.Pending(), 0);
    EXPECT_EQ(ring.TakeDropped(), 0);
}

// A producer thread against a consumer: every event arrives once, in order,
// or is counted as dropped.
TEST(MidiInRing, ConcurrentProducerLosesNothingUncounted)
{
    MidiInRing ring;
    constexpr std::uint32_t kCount = 200000;
    std::thread producer([&] {
        for (std::uint32_t i = 1; i <= kCount; ++i) {
            MidiEvent e = Numbered(i);
            e.data2 = static_cast<std::uint8_t>(i % 128);
            ring.Push(e);
        }
    });
    std::uint32_t received = 0;
    std::uint32_t last = 0;
    int dropped = 0;
    bool inOrder = true;
    auto consume = [&] {
        while (ring.Pending() > 0) {
            const MidiEvent e = ring.Front();
            inOrder = inOrder && e.timestamp > last && e.data2 == e.timestamp % 128;
            last = e.timestamp;
            ++received;
            ring.PopFront();
        }
        dropped += ring.TakeDropped();
    };
    while (last < kCount && received + static_cast<std::uint32_t>(dropped) < kCount)
        consume();
    producer.join();
    consume();
    EXPECT_TRUE(inOrder);
    EXPECT_EQ(received + static_cast<std::uint32_t>(dropped), kCount);
}
