#include "vsurface/ButtonGesture.h"

#include <gtest/gtest.h>

namespace {
using Edges = std::vector<ButtonGesture::Edge>;
const ButtonGesture::Edge kShortDown{PressLength::Short, true};
const ButtonGesture::Edge kShortUp{PressLength::Short, false};
const ButtonGesture::Edge kLongDown{PressLength::Long, true};
const ButtonGesture::Edge kLongUp{PressLength::Long, false};

// Runs one press through a gesture and returns the bytes button 2 sends, step by step.
std::vector<MidiBytes> Bytes(const Edges& edges)
{
    const SurfaceEncoder encoder;
    std::vector<MidiBytes> bytes;
    for (const auto& edge : edges)
        bytes.push_back(encoder.ButtonEdge(2, edge.length, edge.down));
    return bytes;
}
}

TEST(ButtonGesture, ShortPressSendsBothEdgesOnRelease)
{
    ButtonGesture g;
    EXPECT_EQ(g.Press(false), Edges{});
    EXPECT_TRUE(g.WaitingForHold());
    const Edges released = g.Release();
    EXPECT_EQ(released, (Edges{kShortDown, kShortUp}));
    EXPECT_EQ(Bytes(released), (std::vector<MidiBytes>{{0xB0, 0x02, 0x7F}, {0xB0, 0x02, 0x00}}));
    EXPECT_FALSE(g.WaitingForHold());
}

TEST(ButtonGesture, HeldPressTurnsLongWhenTheHoldTimeEnds)
{
    ButtonGesture g;
    g.Press(false);
    const Edges held = g.HoldElapsed();
    EXPECT_EQ(held, Edges{kLongDown});
    EXPECT_EQ(Bytes(held), (std::vector<MidiBytes>{{0xB0, 0x0C, 0x7F}}));
    EXPECT_FALSE(g.WaitingForHold());
    EXPECT_EQ(g.HoldElapsed(), Edges{});
    const Edges released = g.Release();
    EXPECT_EQ(Bytes(released), (std::vector<MidiBytes>{{0xB0, 0x0C, 0x00}}));
}

TEST(ButtonGesture, ModifierMakesALongPressAtOnce)
{
    ButtonGesture g;
    EXPECT_EQ(g.Press(true), Edges{kLongDown});
    EXPECT_FALSE(g.WaitingForHold());
    EXPECT_EQ(g.HoldElapsed(), Edges{});
    EXPECT_EQ(g.Release(), Edges{kLongUp});
}

TEST(ButtonGesture, StrayEventsSendNothing)
{
    ButtonGesture g;
    EXPECT_EQ(g.Release(), Edges{});
    EXPECT_EQ(g.HoldElapsed(), Edges{});
    g.Press(false);
    EXPECT_EQ(g.Press(true), Edges{}) << "a second press while down is ignored";
    EXPECT_EQ(g.Release(), (Edges{kShortDown, kShortUp}));
    EXPECT_EQ(g.HoldElapsed(), Edges{}) << "a hold timer firing late does nothing";
    EXPECT_EQ(g.Release(), Edges{});
}
