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
