#include "vsurface/WheelSpeedMeter.h"

#include "vsurface/SurfaceEncoder.h"

#include <algorithm>

int WheelSpeedMeter::AddTurn(std::int64_t nowMs, bool up, int steps)
{
    // A change of direction starts slowly, however fast the wheel went before.
    if (up != up_)
        turns_.clear();
    up_ = up;
    while (!turns_.empty() && nowMs - turns_.front().atMs >= kWindowMs)
        turns_.pop_front();
    turns_.push_back({nowMs, std::max(steps, 1)});

    int recentSteps = 0;
    for (const Turn& turn : turns_)
        recentSteps += turn.steps;
    return std::clamp(recentSteps, 1, SurfaceEncoder::kMaxSpeed);
}
