#include "midi/MidiInRing.h"

#include <gtest/gtest.h>
#include <thread>

namespace {

// Events numbered through their timestamp.
MidiEvent Numbered(std::uint32_t n)
{
    return MidiEvent::Short(0xB0, 0x64, 0x41, n);
}


}  // namespace

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
