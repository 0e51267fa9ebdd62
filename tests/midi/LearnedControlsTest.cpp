// The learned controls of another controller: the walk that learns them and
// the table in the settings.
#include "midi/LearnWalk.h"
#include "midi/LearnedControls.h"
#include "support/MemorySettingsStore.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

// A jog is learned from two turns, a slider by pitch bend, buttons by notes
// and control changes of one number; what no control sends, a key let go and
// a control taken are passed over or refused; the table stored comes back.
TEST(LearnedControls, WalkLearnsKindChannelNumberAndTheJogsEncoding)
{
    using H = LearnWalk::Heard;
    LearnWalk walk;
    EXPECT_EQ(walk.Prompt(), "Turn the control to use as Wheel A (home) clockwise a few clicks, then stop");
    const struct { MidiEvent message; H heard; } jog[] = {
        {MidiEvent::Short(0xF8, 0, 0), H::Ignored},      // timing clock: no control
        {MidiEvent::Short(0x91, 0x0A, 0x7F), H::Refused}, // a key is no wheel
        {MidiEvent::Short(0xB1, 0x0A, 0x01), H::Turning},
        {MidiEvent::Short(0xB1, 0x0A, 0x01), H::Turning},
        {MidiEvent::Short(0xB1, 0x0B, 0x01), H::Ignored}, // another control meanwhile
    };
    for (const auto& step : jog)
        EXPECT_EQ(walk.Hear(step.message), step.heard) << walk.LastHeard().toStdString();
    EXPECT_EQ(walk.Pause(), H::Turning);
    EXPECT_EQ(walk.Prompt(), "Now turn it counter-clockwise a few clicks, then stop");
    for (int click = 0; click < 2; ++click)
        walk.Hear(MidiEvent::Short(0xB1, 0x0A, 0x01));  // the wrong way: fits no encoding
    EXPECT_EQ(walk.Pause(), H::Refused);
    EXPECT_TRUE(walk.LastHeard().contains("fits no wheel encoding: turn it again")) << walk.LastHeard().toStdString();
    for (const std::uint8_t value : {0x01, 0x01})
        walk.Hear(MidiEvent::Short(0xB1, 0x0A, value));
    walk.Pause();
    for (const std::uint8_t value : {0x7F, 0x7F})
        walk.Hear(MidiEvent::Short(0xB1, 0x0A, value));
    EXPECT_EQ(walk.Pause(), H::Learned);
    EXPECT_TRUE(walk.LastHeard().endsWith("a wheel of two's complement, now Wheel A (home).")) << walk.LastHeard().toStdString();
    EXPECT_EQ(walk.LastWheel(), 0);
    EXPECT_EQ(walk.Hear(MidiEvent::Short(0xB1, 0x0A, 0x7F)), H::Refused);  // the rest of its turn
    EXPECT_TRUE(walk.LastHeard().contains("learned just now"));
    walk.Skip();
    EXPECT_EQ(walk.Hear(MidiEvent::Short(0xE0, 0x00, 0x40)), H::Learned);
    walk.Skip();
    EXPECT_EQ(walk.Hear(MidiEvent::Short(0x81, 0x24, 0x00)), H::Ignored);  // a key let go
    EXPECT_EQ(walk.Hear(MidiEvent::Short(0x91, 0x24, 0x7F)), H::Learned);
    EXPECT_EQ(walk.Hear(MidiEvent::Short(0xB1, 0x24, 0x7F)), H::Learned);  // same number, a control change
    EXPECT_EQ(walk.Hear(MidiEvent::Short(0x91, 0x24, 0x7F)), H::Refused);
    EXPECT_TRUE(walk.LastHeard().contains("note 36 on channel 2 is already Button 1")) << walk.LastHeard().toStdString();
    while (!walk.Finished())
        walk.Skip();
    EXPECT_EQ(walk.LearnedCount(), 4);

    MemorySettingsStore store;
    LearnedControls(store).Store(walk.Result());
    EXPECT_EQ(store.writes, QStringList({"surface/wheelahome=cc 2 0A twos", "surface/sliderbmode2=bend 1",
                                         "surface/button1=note 2 24", "surface/button2=cc 2 24"}));
    LearnedControls again(store);
    EXPECT_TRUE(again.Load().isEmpty());
    EXPECT_EQ(again.table(), walk.Result());
    again.Forget();
    EXPECT_EQ(store.Read("surface", "wheelahome", "-"), "");
}

// Entries that cannot be read, or that would take another's messages, are
// returned; the rest work, the old entries of a number alone among them.
TEST(LearnedControls, UnreadableEntriesAreReturnedAndTheRestWork)
{
    MemorySettingsStore store;
    for (const auto& [key, value] : {std::pair{"wheelahome", "30"}, {"wheelamode1", "note 1 31"}, {"sliderbmode2", "80"},
                                     {"sliderbmode3", "0x31"}, {"button1", " 2a "}, {"button2", "cc 3 30"},
                                     {"button3", ""}, {"button4", "cc 17 01"}, {"button5", "cc 3 31 twos"},
                                     {"button6long", "7F"}})
        store.Write("surface", key, value);
    LearnedControls learned(store);
    EXPECT_EQ(learned.Load(), QStringList({"wheelamode1=note 1 31", "sliderbmode2=80", "sliderbmode3=0x31",
                                           "button2=cc 3 30", "button4=cc 17 01", "button5=cc 3 31 twos"}));
    EXPECT_EQ(learned.table()[0]->control.Text(), "30");
    EXPECT_EQ(learned.table()[4]->control.Text(), "2A");
    EXPECT_EQ(learned.table()[15]->control.Text(), "7F");
}
