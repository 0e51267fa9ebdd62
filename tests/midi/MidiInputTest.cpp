// The pump and the monitor of the MIDI input, fed through the ring as the
// device's callback feeds it.
#include "core/NumberedError.h"
#include "midi/MidiInPort.h"
#include "midi/MidiInput.h"
#include "support/JackMidiSource.h"
#include "support/RecordingAlerts.h"
#include "support/RecordingLog.h"

#include <gtest/gtest.h>

namespace {

struct Fixture {
    void Send(const JackMidiSource::Bytes& bytes, std::uint32_t timestamp = 0)
    {
        MidiInPort::Deliver(midi.Ring(), bytes.data(), bytes.size(), timestamp);
    }

    RecordingAlerts alerts;
    RecordingLog log;
    RecordingLog monitorLog;
    QStringList handled;  // the data bytes of each message handed on
    std::function<void(const MidiEvent&)> onEvent = [](const MidiEvent&) {};
    MidiInput midi{log, alerts, [this](const MidiEvent& e) {
                       handled << MidiEvent::Hex2(e.data1) + MidiEvent::Hex2(e.data2);
                       onEvent(e);
                   }};
};

}  // namespace

// What the log shows and what the dispatcher gets, per message from the
// device (the pieces of a long system-exclusive message, control and program
// changes and the clock: MidiJackTest).
TEST(MidiInput, EachMessageIsLoggedAndShortOnesAreHandedOn)
{
    const QStringList head = {"SysExclMsg recieved.", "Timestamp: 0001223F"};
    const struct {
        JackMidiSource::Bytes bytes;
        QStringList lines;
        QString handed;
    } cases[] = {
        {{0x90, 0x05, 0x7F}, {"90 05 7F Timestamp: 0001223F"}, "057F"},
        {{0xFE}, {"FE 00 00 Timestamp: 0001223F"}, "0000"},
        {{}, {}, ""},
        {JackMidiSource::Sysex(12), head + QStringList{"12 Bytes:", "F0 02 03 04 05 06 07 08 09 0A ", "0B F7 "}, ""},
        {JackMidiSource::Sysex(10), head + QStringList{"10 Bytes:", "F0 02 03 04 05 06 07 08 09 F7 ", ""}, ""},
    };
    for (const auto& c : cases) {
        Fixture f;
        f.Send(c.bytes, 74303);
        f.midi.PumpTick();
        EXPECT_EQ(f.log.lines, c.lines);
        EXPECT_EQ(f.handled.join(' '), c.handed);
    }
}

// Each event goes to whichever of the two takes it first: the monitor only logs.
TEST(MidiInput, MonitorLogsOnlyAndEachEventGoesToOneOfTheTwo)
{
    Fixture f;
    f.Send({0xB0, 0x64, 0x41}, 1);
    f.midi.StartMonitor(f.monitorLog);
    f.midi.MonitorTick();
    f.Send({0xB0, 0x64, 0x3F}, 2);
    f.midi.PumpTick();
    f.midi.StopMonitor();
    f.Send({0xB0, 0x64, 0x40}, 3);
    f.midi.MonitorTick();  // no monitor: takes nothing
    EXPECT_EQ(f.monitorLog.lines, QStringList{"B0 64 41 Timestamp: 00000001"});
    EXPECT_EQ(f.log.lines, QStringList{"B0 64 3F Timestamp: 00000002"});
    EXPECT_EQ(f.handled, QStringList{"643F"});
    EXPECT_EQ(f.midi.Ring().Pending(), 1);
}

// A backlog is warned of, everything in the ring is handled, and what did not
// fit is counted once the pump has caught up.
TEST(MidiInput, FullRingWarnsHandlesEverythingAndReportsDropsOnceCaughtUp)
{
    Fixture f;
    for (unsigned char i = 0; i < 29; ++i)
        f.Send({0xB0, i, 0x00}, i);
    f.Send({0xB0, 0x7F, 0x00}, 100);             // dropped
    f.Send(JackMidiSource::Sysex(12), 101);      // dropped
    f.midi.PumpTick();
    EXPECT_EQ(f.log.lines.mid(0, 3) + f.log.lines.mid(30),
              QStringList({"Processing the events is taking too long!", "Possible data loss!",
                           "B0 00 00 Timestamp: 00000000", "B0 1C 00 Timestamp: 0000001C",
                           "2 MIDI events were dropped while the queue was full."}));
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
        f.onEvent = [&](const MidiEvent&) { if (more-- > 0) f.Send({0x90, 0x01}); };
        f.Send({0x90, 0x01});
        f.midi.PumpTick();
        EXPECT_EQ(f.handled.size(), std::min(extra + 1, MidiInput::kMaxEventsPerTick));
    }

    Fixture f;
    f.midi.StartMonitor(f.monitorLog);
    f.onEvent = [&](const MidiEvent& e) {
        f.midi.MonitorTick();
        f.midi.PumpTick();
        if (e.data1 == 0x66) throw NumberedError::TypeMismatch();
    };
    for (unsigned char control : {0x64, 0x66, 0x67})
        f.Send({0xB0, control, 0x01});
    f.midi.PumpTick();
    EXPECT_EQ(f.handled.join(' '), "6401 6601");  // the tick ended at the failure
    f.midi.PumpTick();
    EXPECT_EQ(f.handled.join(' '), "6401 6601 6701");
    EXPECT_EQ(f.alerts.texts(), QStringList{"VB6 runtime error (tmrMidi_tick): 13 - Type mismatch"});
    EXPECT_TRUE(f.monitorLog.lines.isEmpty());
}
