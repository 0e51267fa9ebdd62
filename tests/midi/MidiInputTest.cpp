// The pump and the monitor of the MIDI input, fed through the ring as the
// device's callback feeds it.
#include "core/VbError.h"
#include "midi/MidiInPort.h"
#include "midi/MidiInput.h"
#include "support/RecordingAlerts.h"
#include "support/RecordingLog.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

struct Fixture {
    void Send(Bytes bytes, std::uint32_t timestamp = 0)
    {
        MidiInPort::Deliver(midi.Ring(), bytes.data(), bytes.size(), timestamp);
    }
    QString Handled() const
    {
        QStringList out;
        for (const MidiEvent& e : handled)
            out << MidiEvent::Hex2(e.data1) + MidiEvent::Hex2(e.data2);
        return out.join(' ');
    }

    RecordingAlerts alerts;
    RecordingLog log;
    RecordingLog monitorLog;
    QList<MidiEvent> handled;
    std::function<void(const MidiEvent&)> onEvent;
    MidiInput midi{log, alerts, [this](const MidiEvent& e) {
                       handled.append(e);
                       if (onEvent)
                           onEvent(e);
                   }};
};

Bytes Sysex(int count)
{
    Bytes bytes;
    for (int i = 0; i < count; ++i)
        bytes.push_back(i == 0 ? 0xF0 : i == count - 1 ? 0xF7 : i % 0x7F);
    return bytes;
}

}  // namespace

// What the log shows and what the translation gets, per message from the device.
TEST(MidiInput, EachMessageIsLoggedAndShortOnesAreHandedOn)
{
    const QStringList sysexHead = {"SysExclMsg recieved.", "Timestamp: 0001223F"};
    const struct {
        Bytes bytes;
        QStringList lines;
        QString handed;
    } cases[] = {
        {{0xB0, 0x64, 0x41}, {"B0 64 41 Timestamp: 0001223F"}, "6441"},
        {{0x90, 0x05, 0x7F}, {"90 05 7F Timestamp: 0001223F"}, "057F"},
        {{0xC1, 0x07}, {"C1 07 00 Timestamp: 0001223F"}, "0700"},
        {{0xFE}, {"FE 00 00 Timestamp: 0001223F"}, "0000"},
        {{0xF8}, {}, ""},  // timing clock
        {{}, {}, ""},
        {Sysex(12), sysexHead + QStringList{"12 Bytes:", "F0 01 02 03 04 05 06 07 08 09 ", "0A F7 "}, ""},
        {Sysex(10), sysexHead + QStringList{"10 Bytes:", "F0 01 02 03 04 05 06 07 08 F7 ", ""}, ""},
    };
    for (const auto& c : cases) {
        Fixture f;
        f.Send(c.bytes, 74303);
        f.midi.PumpTick();
        EXPECT_EQ(f.log.lines, c.lines);
        EXPECT_EQ(f.Handled(), c.handed);
    }
    Fixture f;
    f.Send(Sysex(250));
    f.midi.PumpTick();
    EXPECT_EQ(f.log.lines.filter("Bytes:"), QStringList({"100 Bytes:", "100 Bytes:", "50 Bytes:"}));
}

TEST(MidiInput, MonitorLogsOnlyAndEachEventGoesToOneOfTheTwo)
{
    Fixture f;
    f.midi.MonitorTick();  // no monitor yet: takes nothing
    f.Send({0xB0, 0x64, 0x41}, 1);
    f.midi.StartMonitor(f.monitorLog);
    f.midi.MonitorTick();
    f.Send({0xB0, 0x64, 0x3F}, 2);
    f.midi.PumpTick();
    f.midi.StopMonitor();
    f.Send({0xB0, 0x64, 0x40}, 3);
    f.midi.MonitorTick();
    EXPECT_EQ(f.monitorLog.lines, QStringList{"B0 64 41 Timestamp: 00000001"});
    EXPECT_EQ(f.log.lines, QStringList{"B0 64 3F Timestamp: 00000002"});
    EXPECT_EQ(f.Handled(), "643F");
    EXPECT_EQ(f.midi.Ring().Pending(), 1);
}

TEST(MidiInput, FullRingWarnsHandlesEverythingAndReportsDropsOnceCaughtUp)
{
    Fixture f;
    for (unsigned char i = 0; i < 29; ++i)
        f.Send({0xB0, i, 0x00}, i);
    f.Send({0xB0, 0x7F, 0x00}, 100);  // dropped
    f.Send(Sysex(12), 101);           // dropped
    f.midi.PumpTick();
    ASSERT_EQ(f.log.lines.size(), 2 + 29 + 1);
    EXPECT_EQ(f.log.lines.mid(0, 2), QStringList({"Processing the events is taking too long!", "Possible data loss!"}));
    EXPECT_EQ(f.log.lines[30], "B0 1C 00 Timestamp: 0000001C");
    EXPECT_EQ(f.log.lines[31], "2 MIDI events were dropped while the queue was full.");
    EXPECT_EQ(f.handled.size(), 29);
    f.midi.PumpTick();
    EXPECT_EQ(f.log.lines.size(), 32);
}

// Events that arrive during a tick are handled in it, up to a bound; a
// failing event is reported once and dropped; a box inside the handler lets
// no second drain take the events behind it.
TEST(MidiInput, ATickHandlesWhatArrivesSurvivesFailuresAndNeverNests)
{
    for (const int extra : {40, 100000}) {
        Fixture f;
        int more = extra;
        f.onEvent = [&](const MidiEvent&) {
            if (more-- > 0)
                f.Send({0x90, 0x01});
        };
        f.Send({0x90, 0x01});
        f.midi.PumpTick();
        EXPECT_EQ(f.handled.size(), std::min(extra + 1, MidiInput::kMaxEventsPerTick));
    }

    Fixture f;
    f.midi.StartMonitor(f.monitorLog);
    f.onEvent = [&](const MidiEvent& e) {
        f.midi.MonitorTick();
        f.midi.PumpTick();
        if (e.data1 == 0x66)
            throw VbError::TypeMismatch();
    };
    for (unsigned char control : {0x64, 0x66, 0x67})
        f.Send({0xB0, control, 0x01});
    f.midi.PumpTick();
    EXPECT_EQ(f.alerts.texts(), QStringList{"VB6 runtime error (tmrMidi_tick): 13 - Type mismatch"});
    EXPECT_EQ(f.Handled(), "6401 6601");  // the tick ended at the failure
    f.midi.PumpTick();
    EXPECT_EQ(f.Handled(), "6401 6601 6701");
    EXPECT_TRUE(f.monitorLog.lines.isEmpty());
    EXPECT_EQ(f.alerts.boxes.size(), 1);
}
