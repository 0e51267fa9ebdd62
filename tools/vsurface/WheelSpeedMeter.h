#pragma once

#include <cstdint>
#include <deque>

// Turns the rate at which the wheel is turned into the surface's speed 1..12:
// the number of steps made in the last kWindowMs, the current turn included.
// Times come from the caller so that the rule can be checked without a clock.
class WheelSpeedMeter {
public:
    static constexpr std::int64_t kWindowMs = 100;

    // steps > 0; returns the speed of this turn.
    int AddTurn(std::int64_t nowMs, bool up, int steps);

    // Forget earlier turns (the mode changed, the wheel started afresh).
    void Reset() { turns_.clear(); }

private:
    struct Turn {
        std::int64_t atMs;
        int steps;
    };
    std::deque<Turn> turns_;
    bool up_ = true;
};
