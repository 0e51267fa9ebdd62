#pragma once

#include <cstdint>
#include <deque>

// The speed of a wheel that tells only the direction of each click (the
// key maps' speeds 1 to 12), from how fast its clicks come: the clicks of the
// last kWindowMs, this one included, counted up to clicks per second and read
// off kClicksPerSecond. Slow turning stays at speed 1; a steady spin rises to
// the coarser steps within a quarter of a second. A reversal, or a pause of
// kPauseMs, starts over at speed 1. Times are the MIDI messages' own
// (milliseconds since the device was opened), so the rule can be checked on
// a clock a test sets.
class ClickSpeed {
public:
    static constexpr std::int64_t kWindowMs = 250;
    static constexpr std::int64_t kPauseMs = 300;
    // The rate from which each speed above 1 holds: speed n + 2 from kClicksPerSecond[n].
    static constexpr int kClicksPerSecond[] = {40, 80, 120, 160, 200, 260, 330, 400, 480, 570, 670};

    // One click at `atMs`, clockwise or not: its speed.
    int Click(std::uint32_t atMs, bool clockwise);

private:
    std::deque<std::uint32_t> clicks_;
    bool clockwise_ = true;
};
