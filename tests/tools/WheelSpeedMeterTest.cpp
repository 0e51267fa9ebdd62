#include "vsurface/WheelSpeedMeter.h"

#include <gtest/gtest.h>

TEST(WheelSpeedMeter, StepsWithin100msAddUp)
{
    // {time in ms, steps, expected speed}, all turning up.
    const struct {
        std::int64_t at;
        int steps;
        int speed;
    } turns[] = {
        {0, 1, 1},    {30, 1, 2},   {60, 1, 3},  {99, 1, 4},
        {100, 1, 4},  // the turn at 0 has left the window
        {130, 2, 5},  {400, 1, 1},  // a pause: slow again
        {410, 5, 6},  {420, 9, 12}, // capped at 12
        {430, 20, 12},
    };
    WheelSpeedMeter meter;
    for (const auto& t : turns)
        EXPECT_EQ(meter.AddTurn(t.at, true, t.steps), t.speed) << "at " << t.at;
}

TEST(WheelSpeedMeter, ChangeOfDirectionStartsAtSpeed1)
{
    WheelSpeedMeter meter;
    EXPECT_EQ(meter.AddTurn(0, true, 8), 8);
    EXPECT_EQ(meter.AddTurn(10, false, 1), 1);
    EXPECT_EQ(meter.AddTurn(20, false, 1), 2);
    EXPECT_EQ(meter.AddTurn(30, true, 1), 1);
}

TEST(WheelSpeedMeter, ResetForgetsEarlierTurns)
{
    WheelSpeedMeter meter;
    EXPECT_EQ(meter.AddTurn(0, true, 10), 10);
    meter.Reset();
    EXPECT_EQ(meter.AddTurn(5, true, 1), 1);
}
