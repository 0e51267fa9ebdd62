// A controller's jog, buttons and slider turned into the surface's messages:
// how each encoding reads, how learning tells them apart, and the speed of a
// jog that tells only single clicks.
#include "midi/ClickSpeed.h"
#include "midi/ControllerTranslator.h"
#include "support/MemorySettingsStore.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

namespace {
using Enc = WheelEncoding;

// The surface's messages for `message`, as "64 41" (number, value) each.
QString Surface(ControllerTranslator& translator, const MidiEvent& message)
{
    QStringList out;
    translator.Translate(message, [&](const MidiEvent& m) { out << MidiEvent::Hex2(m.data1) + ' ' + MidiEvent::Hex2(m.data2); });
    return out.join('|');
}

struct Learned {
    explicit Learned(std::initializer_list<std::pair<const char*, QString>> entries)
    {
        for (const auto& [key, value] : entries)
            store.Write("surface", key, value);
        EXPECT_TRUE(controls.Load().isEmpty());
    }
    MemorySettingsStore store;
    LearnedControls controls{store};
    ControllerTranslator translator{controls};
};
} // namespace

// Each encoding's values, either way and at speed, as the surface's wheel
// value; 0x41 is one click clockwise with offset 64 and one back in sign and
// magnitude; a value of no turn sends nothing.
TEST(ControllerTranslator, EachEncodingReadsItsTurnsAsTheSurfacesWheel)
{
    const struct { Enc encoding; std::uint8_t value; const char* surface; } rows[] = {
        {Enc::Offset64, 0x41, "64 41"}, {Enc::Offset64, 0x3F, "64 3F"}, {Enc::Offset64, 0x48, "64 48"},
        {Enc::Offset64, 0x34, "64 34"}, {Enc::Offset64, 0x7F, "64 4C"}, {Enc::Offset64, 0x40, ""},
        {Enc::TwosComplement, 0x03, "64 43"}, {Enc::TwosComplement, 0x7D, "64 3D"}, {Enc::TwosComplement, 0x00, ""},
        {Enc::SignMagnitude, 0x41, "64 3F"}, {Enc::SignMagnitude, 0x05, "64 45"}, {Enc::SignMagnitude, 0x40, ""},
        {Enc::SignMagnitude, 0x00, ""},
    };
    for (const auto& row : rows) {
        Learned learned({{"wheelahome", "cc 2 0A " + WheelEncodings::Key(row.encoding)}});
        // One turn of several clicks first: the jog tells its own speed.
        Surface(learned.translator, MidiEvent::Short(0xB1, 0x0A, row.encoding == Enc::Offset64 ? 0x44 : 0x04));
        EXPECT_EQ(Surface(learned.translator, MidiEvent::Short(0xB1, 0x0A, row.value)), row.surface)
            << WheelEncodings::Name(row.encoding).toStdString() << " " << int(row.value);
    }
    Learned knob({{"wheelamode1", "cc 1 07 absolute"}});
    EXPECT_EQ(Surface(knob.translator, MidiEvent::Short(0xB0, 0x07, 50)), "");  // where it stands
    EXPECT_EQ(Surface(knob.translator, MidiEvent::Short(0xB0, 0x07, 53)), "66 43");
    EXPECT_EQ(Surface(knob.translator, MidiEvent::Short(0xB0, 0x07, 52)), "66 3F");
}

// Learning tells the encodings apart by a clockwise turn and the
// counter-clockwise one after it; what fits none is no wheel.
TEST(ControllerTranslator, LearningTellsTheEncodingFromTwoTurns)
{
    using Values = QList<std::uint8_t>;
    const struct { Values clockwise, counter; std::optional<Enc> found; } rows[] = {
        {{0x41, 0x41, 0x42}, {0x3F, 0x3F}, Enc::Offset64},
        {{0x41, 0x43}, {0x3A, 0x3E}, Enc::Offset64},       // at speed, as a CMD Micro
        {{0x01, 0x01, 0x01}, {0x7F, 0x7F}, Enc::TwosComplement},
        {{0x03, 0x01}, {0x7D, 0x7E}, Enc::TwosComplement},
        {{0x01, 0x02}, {0x41, 0x42}, Enc::SignMagnitude},
        {{40, 41, 43}, {42, 40}, Enc::Absolute},
        {{0x41, 0x41}, {0x41, 0x41}, std::nullopt},        // the same either way
        {{0x41}, {0x3F, 0x3F}, std::nullopt},              // one click is no turn
        {{40, 41, 43}, {30, 29}, std::nullopt},            // a knob does not jump back
        {{0x01, 0x41}, {0x7F, 0x7F}, std::nullopt},
    };
    for (const auto& row : rows)
        EXPECT_EQ(WheelEncodings::Detect(row.clockwise, row.counter), row.found) << row.clockwise.size();
}

// Single clicks: slow turning stays at speed 1, a steady spin rises, and a
// reversal or a pause starts over. Times are the messages' own.
TEST(ControllerTranslator, SingleClicksTakeTheirSpeedFromTheirRate)
{
    const auto spin = [](ClickSpeed& speed, std::uint32_t from, int everyMs, int clicks, bool clockwise) {
        int last = 0;
        for (int i = 0; i < clicks; ++i)
            last = speed.Click(from + std::uint32_t(i * everyMs), clockwise);
        return last;
    };
    ClickSpeed speed;
    EXPECT_EQ(spin(speed, 0, 100, 30, true), 1);       // ten a second
    EXPECT_EQ(spin(speed, 3000, 10, 3, true), 1);      // a spin starts slowly ...
    EXPECT_EQ(spin(speed, 3030, 10, 40, true), 3);     // ... and rises at 100 a second
    EXPECT_EQ(spin(speed, 4000, 1, 300, true), 12);    // 1000 a second
    EXPECT_EQ(speed.Click(4300, false), 1);            // reversed
    EXPECT_EQ(spin(speed, 4500, 2, 100, false), 9);
    EXPECT_EQ(speed.Click(5000, false), 1);            // after a pause

    // Through the translator: a jog of single clicks, spun, takes the higher speeds.
    Learned jog({{"wheelahome", "cc 2 0A twos"}});
    QString last;
    for (std::uint32_t ms = 0; ms < 300; ms += 4)
        last = Surface(jog.translator, MidiEvent::Short(0xB1, 0x0A, 0x01, ms));
    EXPECT_EQ(last, "64 46");
}

// Buttons from notes or control changes, pressed and let go; a slider by
// pitch bend; a note and a control change of one number are two controls;
// an entry of a number alone renumbers any message, as it always did.
TEST(ControllerTranslator, ButtonsSlidersAndOldEntries)
{
    Learned learned({{"button1", "note 2 24"}, {"button2", "cc 2 24"}, {"sliderbmode2", "bend 1"},
                     {"button3", "30"}});
    const struct { MidiEvent message; const char* surface; } rows[] = {
        {MidiEvent::Short(0x91, 0x24, 0x40), "01 7F"}, {MidiEvent::Short(0x81, 0x24, 0x00), "01 00"},
        {MidiEvent::Short(0x91, 0x24, 0x00), "01 00"}, {MidiEvent::Short(0xB1, 0x24, 0x7F), "02 7F"},
        {MidiEvent::Short(0xB1, 0x24, 0x00), "02 00"}, {MidiEvent::Short(0x92, 0x24, 0x40), "24 40"},
        {MidiEvent::Short(0xE0, 0x7F, 0x7F), "68 7F"}, {MidiEvent::Short(0xE0, 0x00, 0x40), "68 40"},
        {MidiEvent::Short(0x94, 0x30, 0x7F), "03 7F"}, {MidiEvent::Short(0xB0, 0x30, 0x41), "03 41"},
    };
    for (const auto& row : rows)
        EXPECT_EQ(Surface(learned.translator, row.message), row.surface) << MidiEvent::Hex2(row.message.status).toStdString();
}
