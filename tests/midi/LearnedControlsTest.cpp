// The learned controls of another controller: the table in the settings and
// the walk that learns it.
#include "midi/LearnWalk.h"
#include "midi/LearnedControls.h"
#include "support/MemorySettingsStore.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {

std::uint8_t Mapped(const LearnedControls& learned, std::uint8_t data1)
{
    return learned.Apply(MidiEvent::Short(0xB0, data1, 0x41)).data1;
}

} // namespace

TEST(LearnedControls, UnreadableEntriesAreReturnedAndTheRestWorks)
{
    MemorySettingsStore store;
    store.Write("surface", "wheelahome", "30");
    store.Write("surface", "wheelamode1", "zz");
    store.Write("surface", "sliderbmode2", "80");   // not a data byte
    store.Write("surface", "sliderbmode3", "0x31");
    store.Write("surface", "button1", " 2a ");
    store.Write("surface", "button2", "30");        // taken by Wheel A (home)
    store.Write("surface", "button3", "");          // not learned
    store.Write("surface", "button6long", "7F");
    LearnedControls learned(store);

    EXPECT_EQ(learned.Load(), QStringList({"wheelamode1=zz", "sliderbmode2=80", "sliderbmode3=0x31",
                                           "button2=30"}));
    EXPECT_EQ(Mapped(learned, 0x30), 0x64);
    EXPECT_EQ(Mapped(learned, 0x2A), 0x01);
    EXPECT_EQ(Mapped(learned, 0x7F), 0x10);
    EXPECT_EQ(Mapped(learned, 0x64), 0x64);  // not learned: as it came
    EXPECT_EQ(learned.Apply(MidiEvent::Short(0x90, 0x30, 0x7F)).status, 0x90);
}

TEST(LearnedControls, StoredTableComesBackAndForgettingEmptiesIt)
{
    MemorySettingsStore store;
    LearnedControls learned(store);
    LearnedControls::Table table{};
    table[0] = 0x30;
    table[4] = 0x05;
    learned.Store(table);
    EXPECT_EQ(store.Read("surface", "wheelahome", "-"), "30");
    EXPECT_EQ(store.Read("surface", "button1", "-"), "05");
    EXPECT_EQ(store.Read("surface", "button2", "-"), "-");  // one key per learned control

    LearnedControls again(store);
    EXPECT_TRUE(again.Load().isEmpty());
    EXPECT_EQ(again.Learned(), table);

    again.Forget();
    EXPECT_TRUE(again.IsEmpty());
    EXPECT_TRUE(LearnedControls(store).Load().isEmpty());
    for (int byte = 0; byte < 128; ++byte)
        EXPECT_EQ(Mapped(again, std::uint8_t(byte)), byte);
}

TEST(LearnWalk, TakesEachControlOnceAndPassesOverWhatIsNoControl)
{
    LearnWalk walk;
    EXPECT_EQ(walk.Prompt(), "Turn the control to use as Wheel A (home)");
    const struct {
        MidiEvent message;
        LearnWalk::Heard heard;
    } steps[] = {
        {MidiEvent::Short(0xFE, 0, 0), LearnWalk::Heard::Ignored},     // active sensing
        {MidiEvent::Short(0xF8, 0, 0), LearnWalk::Heard::Ignored},     // timing clock
        {MidiEvent::Short(0xB0, 0x30, 0x41), LearnWalk::Heard::Learned},
        {MidiEvent::Short(0xB0, 0x30, 0x42), LearnWalk::Heard::Refused}, // the same wheel again
        {MidiEvent::Short(0xB1, 0x31, 0x3F), LearnWalk::Heard::Learned},
        {MidiEvent::Short(0x90, 0x30, 0x7F), LearnWalk::Heard::Refused}, // a note on a taken byte
    };
    for (const auto& step : steps)
        EXPECT_EQ(walk.Hear(step.message), step.heard) << walk.LastHeard().toStdString();
    EXPECT_TRUE(walk.LastHeard().contains("already Wheel A (home)")) << walk.LastHeard().toStdString();

    walk.Skip();
    walk.Skip();
    EXPECT_EQ(walk.Prompt(), "Press the button to use as Button 1");
    EXPECT_EQ(walk.Hear(MidiEvent::Short(0x80, 0x24, 0x00)), LearnWalk::Heard::Ignored);  // a release
    EXPECT_EQ(walk.Hear(MidiEvent::Short(0x90, 0x24, 0x7F)), LearnWalk::Heard::Learned);
    while (!walk.Finished())
        walk.Skip();
    EXPECT_EQ(walk.Hear(MidiEvent::Short(0xB0, 0x40, 0x41)), LearnWalk::Heard::Ignored);

    LearnedControls::Table expected{};
    expected[0] = 0x30;
    expected[1] = 0x31;
    expected[4] = 0x24;
    EXPECT_EQ(walk.Result(), expected);
    EXPECT_EQ(walk.LearnedCount(), 3);
}
