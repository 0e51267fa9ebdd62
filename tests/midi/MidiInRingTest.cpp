#include "midi/MidiInRing.h"

#include <gtest/gtest.h>
#include <thread>

namespace {

std::uintptr_t Drain(MidiInRing& ring, std::uintptr_t expectedNext)
{
    while (ring.Pending() > 0) {
        EXPECT_EQ(ring.Front().Param1, expectedNext);
        ++expectedNext;
        ring.PopFront();
    }
    return expectedNext;
}

}  // namespace

TEST(MidiInRing, KeepsOrderAcrossManyWrapArounds)
{
    MidiInRing ring;
    std::uintptr_t sent = 0;
    std::uintptr_t next = 0;
    for (int round = 0; round < 40; ++round) {
        const int batch = 1 + round % MidiInRing::kCapacity;
        for (int i = 0; i < batch; ++i)
            ASSERT_TRUE(ring.Push(0x3C3, sent++, 7));
        EXPECT_EQ(ring.Pending(), batch);
        next = Drain(ring, next);
    }
    EXPECT_EQ(next, sent);
    EXPECT_EQ(ring.TakeDropped(), 0);
}

TEST(MidiInRing, FullRingDropsNewEntriesAndKeepsThePendingOnes)
{
    MidiInRing ring;
    // Start off zero so that the full ring straddles the wrap.
    for (int i = 0; i < 17; ++i) {
        ring.Push(0x3C3, 0, 0);
        ring.PopFront();
    }
    for (std::uintptr_t i = 0; i < MidiInRing::kCapacity; ++i)
        ASSERT_TRUE(ring.Push(0x3C3, i, i));
    EXPECT_EQ(ring.Pending(), 29);
    EXPECT_FALSE(ring.Push(0x3C3, 100, 0));
    EXPECT_FALSE(ring.Push(0x3C4, 101, 0));
    EXPECT_EQ(ring.Pending(), 29);

    ring.PopFront();  // entry 0
    ASSERT_TRUE(ring.Push(0x3C3, 29, 0));
    EXPECT_EQ(Drain(ring, 1), 30u);
    EXPECT_EQ(ring.TakeDropped(), 2);
    EXPECT_EQ(ring.TakeDropped(), 0);
}

TEST(MidiInRing, PopOnEmptyRingAndResetLeaveItConsistent)
{
    MidiInRing ring;
    ring.PopFront();
    EXPECT_EQ(ring.Pending(), 0);
    for (int i = 0; i < 35; ++i)
        ring.Push(0x3C3, 1, 1);
    ring.Reset();
    EXPECT_EQ(ring.Pending(), 0);
    EXPECT_EQ(ring.TakeDropped(), 0);
    ASSERT_TRUE(ring.Push(0x3C4, 9, 8));
    EXPECT_EQ(ring.Front().Kind, 0x3C4u);
    EXPECT_EQ(ring.Front().Param2, 8u);
}

// A producer thread against a consumer: every entry arrives once, in order,
// or is counted as dropped.
TEST(MidiInRing, ConcurrentProducerLosesNothingUncounted)
{
    MidiInRing ring;
    constexpr std::uintptr_t kCount = 200000;
    std::thread producer([&] {
        for (std::uintptr_t i = 1; i <= kCount; ++i)
            ring.Push(0x3C3, i, i * 3);
    });
    std::uintptr_t received = 0;
    std::uintptr_t last = 0;
    int dropped = 0;
    bool inOrder = true;
    auto consume = [&] {
        while (ring.Pending() > 0) {
            const MidiQueueEntry e = ring.Front();
            inOrder = inOrder && e.Param1 > last && e.Param2 == e.Param1 * 3;
            last = e.Param1;
            ++received;
            ring.PopFront();
        }
        dropped += ring.TakeDropped();
    };
    while (last < kCount && received + static_cast<std::uintptr_t>(dropped) < kCount)
        consume();
    producer.join();
    consume();
    EXPECT_TRUE(inOrder);
    EXPECT_EQ(received + static_cast<std::uintptr_t>(dropped), kCount);
}
