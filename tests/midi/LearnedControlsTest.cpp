// The learned controls of another controller: the walk that learns them and
// the table in the settings.
#include "midi/LearnWalk.h"
#include "midi/LearnedControls.h"
#include "support/MemorySettingsStore.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

// The first data bytes of control changes with these bytes, in the surface's numbering.
QString Mapped(const LearnedControls& learned, std::initializer_list<std::uint8_t> bytes)
{
    QStringList out;
    for (const std::uint8_t byte : bytes)
        out << MidiEvent::Hex2(learned.Apply(MidiEvent::Short(0xB0, byte, 0x41)).data1);
    return out.join(' ');
}

} // namespace

TEST(LearnedControls, WalkTakesEachControlOnceAndTheStoredTableComesBack)
{
    LearnWalk walk;
    EXPECT_EQ(walk.Prompt(), "Turn the control to use as Wheel A (home)");
    const struct { MidiEvent message; LearnWalk::Heard heard; } steps[] = {
        {MidiEvent::Short(0xF8, 0, 0), LearnWalk::Heard::Ignored},     // timing clock: no control
        {MidiEvent::Short(0xB0, 0x30, 0x41), LearnWalk::Heard::Learned},
        {MidiEvent::Short(0xB0, 0x30, 0x42), LearnWalk::Heard::Refused}, // the same wheel again
        {MidiEvent::Short(0xB1, 0x31, 0x3F), LearnWalk::Heard::Learned},
        {MidiEvent::Short(0x90, 0x30, 0x7F), LearnWalk::Heard::Refused}, // a note on a taken byte
    };
    for (const auto& step : steps)
        EXPECT_EQ(walk.Hear(step.message), step.heard) << walk.LastHeard().toStdString();
    EXPECT_TRUE(walk.LastHeard().contains("already Wheel A (home)")) << walk.LastHeard().toStdString();
    for (int skip = 0; skip < 2; ++skip)
        walk.Skip();
    EXPECT_EQ(walk.Prompt(), "Press the button to use as Button 1");
    EXPECT_EQ(walk.Hear(MidiEvent::Short(0x80, 0x24, 0x00)), LearnWalk::Heard::Ignored);  // a release
    EXPECT_EQ(walk.Hear(MidiEvent::Short(0x90, 0x24, 0x7F)), LearnWalk::Heard::Learned);
    while (!walk.Finished())
        walk.Skip();
    EXPECT_EQ(walk.Hear(MidiEvent::Short(0xB0, 0x40, 0x41)), LearnWalk::Heard::Ignored);
    EXPECT_EQ(walk.LearnedCount(), 3);

    // One key per learned control; the table read back maps the controller's bytes.
    MemorySettingsStore store;
    LearnedControls(store).Store(walk.Result());
    EXPECT_EQ(store.writes, QStringList({"surface/wheelahome=30", "surface/wheelamode1=31", "surface/button1=24"}));
    LearnedControls again(store);
    EXPECT_TRUE(again.Load().isEmpty());
    EXPECT_EQ(Mapped(again, {0x30, 0x31, 0x24, 0x64}), "64 66 01 64");  // not learned: as it came
    EXPECT_EQ(again.Apply(MidiEvent::Short(0x90, 0x30, 0x7F)).status, 0x90);

    again.Forget();
    EXPECT_EQ(store.Read("surface", "wheelahome", "-"), "");
    EXPECT_EQ(Mapped(again, {0x30, 0x31, 0x24}), "30 31 24");
}

TEST(LearnedControls, UnreadableEntriesAreReturnedAndTheRestWorks)
{
    MemorySettingsStore store;
    // sliderbmode2 is no data byte, button2 repeats Wheel A (home), button3 was not learned.
    for (const auto& [key, value] : {std::pair{"wheelahome", "30"}, {"wheelamode1", "zz"}, {"sliderbmode2", "80"},
                                     {"sliderbmode3", "0x31"}, {"button1", " 2a "}, {"button2", "30"},
                                     {"button3", ""}, {"button6long", "7F"}})
        store.Write("surface", key, value);
    LearnedControls learned(store);
    EXPECT_EQ(learned.Load(), QStringList({"wheelamode1=zz", "sliderbmode2=80", "sliderbmode3=0x31", "button2=30"}));
    EXPECT_EQ(Mapped(learned, {0x30, 0x2A, 0x7F, 0x64}), "64 01 10 64");
}
