#include "midi/ClickSpeed.h"

#include <algorithm>
#include <iterator>

int ClickSpeed::Click(std::uint32_t atMs, bool clockwise)
{
    const bool startOver = clicks_.empty() || clockwise != clockwise_ || atMs - clicks_.back() >= kPauseMs;
    if (startOver)
        clicks_.clear();
    clockwise_ = clockwise;
    clicks_.push_back(atMs);
    while (atMs - clicks_.front() >= kWindowMs)
        clicks_.pop_front();
    const int perSecond = int(clicks_.size() * 1000 / kWindowMs);
    const auto faster = std::upper_bound(std::begin(kClicksPerSecond), std::end(kClicksPerSecond), perSecond);
    return 1 + int(faster - std::begin(kClicksPerSecond));
}
