#include "vsurface/SurfaceEncoder.h"

#include <gtest/gtest.h>

namespace {
struct WheelRow {
    int speed;
    unsigned char up;
    unsigned char down;
};

// The surface's wheel values for speeds 1 to 12.
const WheelRow kWheelRows[] = {
    {1, 0x41, 0x3F},  {2, 0x42, 0x3E},  {3, 0x43, 0x3D},  {4, 0x44, 0x3C},
    {5, 0x45, 0x3B},  {6, 0x46, 0x3A},  {7, 0x47, 0x39},  {8, 0x48, 0x38},
    {9, 0x49, 0x37},  {10, 0x4A, 0x36}, {11, 0x4B, 0x35}, {12, 0x4C, 0x34},
};

SurfaceEncoder InMode(SurfaceMode mode)
{
    SurfaceEncoder encoder;
    encoder.SetMode(mode);
    return encoder;
}
}

TEST(SurfaceEncoder, WheelSendsEverySpeedInHomeAndMode1)
{
    const struct {
        SurfaceMode mode;
        unsigned char controller;
    } modes[] = {{SurfaceMode::Home, 0x64}, {SurfaceMode::Mode1, 0x66}};
    for (const auto& m : modes) {
        const SurfaceEncoder encoder = InMode(m.mode);
        for (const WheelRow& row : kWheelRows) {
            EXPECT_EQ(encoder.Turn(true, row.speed), (MidiBytes{0xB0, m.controller, row.up}))
                << "speed " << row.speed;
            EXPECT_EQ(encoder.Turn(false, row.speed), (MidiBytes{0xB0, m.controller, row.down}))
                << "speed " << row.speed;
        }
    }
}

TEST(SurfaceEncoder, WheelNeverSendsTheCentreOrBeyondSpeed12)
{
    const SurfaceEncoder encoder = InMode(SurfaceMode::Home);
    EXPECT_EQ(encoder.Turn(true, 0), (MidiBytes{0xB0, 0x64, 0x41}));
    EXPECT_EQ(encoder.Turn(false, -3), (MidiBytes{0xB0, 0x64, 0x3F}));
    EXPECT_EQ(encoder.Turn(true, 13), (MidiBytes{0xB0, 0x64, 0x4C}));
    EXPECT_EQ(encoder.Turn(false, 1000), (MidiBytes{0xB0, 0x64, 0x34}));
}

TEST(SurfaceEncoder, SliderSendsItsValueInMode2AndMode3)
{
    const struct {
        SurfaceMode mode;
        int value;
        MidiBytes expected;
    } rows[] = {
        {SurfaceMode::Mode2, 0, {0xB0, 0x68, 0x00}},   {SurfaceMode::Mode2, 64, {0xB0, 0x68, 0x40}},
        {SurfaceMode::Mode2, 127, {0xB0, 0x68, 0x7F}}, {SurfaceMode::Mode3, 0, {0xB0, 0x6A, 0x00}},
        {SurfaceMode::Mode3, 100, {0xB0, 0x6A, 0x64}}, {SurfaceMode::Mode3, 127, {0xB0, 0x6A, 0x7F}},
        {SurfaceMode::Mode2, -5, {0xB0, 0x68, 0x00}},  {SurfaceMode::Mode3, 200, {0xB0, 0x6A, 0x7F}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(InMode(row.mode).Slide(row.value), row.expected) << row.value;
}

TEST(SurfaceEncoder, EachControlIsSilentOutsideItsModes)
{
    for (SurfaceMode mode : {SurfaceMode::Home, SurfaceMode::Mode1}) {
        EXPECT_FALSE(InMode(mode).Slide(64).has_value());
        EXPECT_FALSE(InMode(mode).SliderController().has_value());
    }
    for (SurfaceMode mode : {SurfaceMode::Mode2, SurfaceMode::Mode3}) {
        EXPECT_FALSE(InMode(mode).Turn(true, 1).has_value());
        EXPECT_FALSE(InMode(mode).WheelController().has_value());
    }
}

TEST(SurfaceEncoder, ButtonsUseControllers1To6Short11To16Long)
{
    const SurfaceEncoder encoder;
    const unsigned char shortIds[] = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06};
    const unsigned char longIds[] = {0x0B, 0x0C, 0x0D, 0x0E, 0x0F, 0x10};
    for (int button = 1; button <= 6; ++button) {
        const unsigned char s = shortIds[button - 1];
        const unsigned char l = longIds[button - 1];
        EXPECT_EQ(encoder.ButtonEdge(button, PressLength::Short, true), (MidiBytes{0xB0, s, 0x7F}));
        EXPECT_EQ(encoder.ButtonEdge(button, PressLength::Short, false), (MidiBytes{0xB0, s, 0x00}));
        EXPECT_EQ(encoder.ButtonEdge(button, PressLength::Long, true), (MidiBytes{0xB0, l, 0x7F}));
        EXPECT_EQ(encoder.ButtonEdge(button, PressLength::Long, false), (MidiBytes{0xB0, l, 0x00}));
    }
    EXPECT_THROW(encoder.ButtonEdge(0, PressLength::Short, true), std::invalid_argument);
    EXPECT_THROW(encoder.ButtonEdge(7, PressLength::Long, true), std::invalid_argument);
}

TEST(SurfaceEncoder, HexIsUpperCaseTwoDigitsPerByte)
{
    EXPECT_EQ(SurfaceEncoder::Hex({0xB0, 0x64, 0x41}), "B0 64 41");
    EXPECT_EQ(SurfaceEncoder::Hex({0xB0, 0x0B, 0x00}), "B0 0B 00");
    EXPECT_EQ(SurfaceEncoder::Hex({0xB0, 0x6A, 0x7F}), "B0 6A 7F");
}
