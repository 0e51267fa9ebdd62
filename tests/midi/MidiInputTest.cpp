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

struct Fixture {
    void Send(std::vector<unsigned char> bytes, std::uint32_t timestamp = 0)
    {
        MidiInPort::Deliver(midi.Ring(), bytes.data(), bytes.size(), timestamp);
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

std::vector<unsigned char> Sysex(int count)
{
    std::vector<unsigned char> bytes;
    for (int i = 0; i < count; ++i)
        bytes.push_back(i == 0 ? 0xF0 : i == count - 1 ? 0xF7 : i % 0x7F);
    return bytes;
}

}  // namespace

TEST(MidiInput, ShortMessagesAreLoggedAndHandedOnWithTheirBytes)
{
    struct Case {
        std::vector<unsigned char> bytes;
        std::uint32_t timestamp;
        const char* line;  // nullptr: nothing at all
        std::uint8_t data1, data2;
    };
    const Case cases[] = {
        {{0xB0, 0x64, 0x41}, 74303, "B0 64 41 Timestamp: 0001223F", 0x64, 0x41},
        {{0x90, 0x64, 0x41}, 74304, "90 64 41 Timestamp: 00012240", 0x64, 0x41},
        {{0xB3, 0x05, 0x7F}, 0, "B3 05 7F Timestamp: 00000000", 0x05, 0x7F},
        {{0xC1, 0x07}, 0xFFFFFFFF, "C1 07 00 Timestamp: FFFFFFFF", 0x07, 0x00},
        {{0xFE}, 0xABCDE, "FE 00 00 Timestamp: 000ABCDE", 0x00, 0x00},
        {{0xF8}, 1, nullptr, 0, 0},  // timing clock
        {{}, 1, nullptr, 0, 0},
    };
    for (const Case& c : cases) {
        Fixture f;
        f.Send(c.bytes, c.timestamp);
        f.midi.PumpTick();
        if (!c.line) {
            EXPECT_TRUE(f.log.lines.isEmpty());
            EXPECT_TRUE(f.handled.isEmpty());
            continue;
        }
        EXPECT_EQ(f.log.lines, QStringList{c.line});
        ASSERT_EQ(f.handled.size(), 1) << c.line;
        EXPECT_EQ(f.handled[0].data1, c.data1) << c.line;
        EXPECT_EQ(f.handled[0].data2, c.data2) << c.line;
    }
}

TEST(MidiInput, SysexIsLoggedInPiecesOfAHundredBytesAndNeverHandedOn)
{
    struct Case {
        int count;
        QStringList lines;
    };
    const QStringList head = {"SysExclMsg recieved.", "Timestamp: 0001223F"};
    const Case cases[] = {
        {12, head + QStringList{"12 Bytes:", "F0 01 02 03 04 05 06 07 08 09 ", "0A F7 "}},
        {10, head + QStringList{"10 Bytes:", "F0 01 02 03 04 05 06 07 08 F7 ", ""}},
        {1, head + QStringList{"1 Bytes:", "F0 "}},
    };
    for (const Case& c : cases) {
        for (bool monitor : {false, true}) {
            Fixture f;
            f.Send(Sysex(c.count), 74303);
            if (monitor) {
                f.midi.StartMonitor(f.monitorLog);
                f.midi.MonitorTick();
            } else {
                f.midi.PumpTick();
            }
            EXPECT_EQ(monitor ? f.monitorLog.lines : f.log.lines, c.lines) << c.count;
            EXPECT_TRUE(f.handled.isEmpty());
        }
    }
    Fixture f;
    f.Send(Sysex(250), 1);
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
    ASSERT_EQ(f.handled.size(), 1);
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
    EXPECT_EQ(f.log.lines[0], "Processing the events is taking too long!");
    EXPECT_EQ(f.log.lines[1], "Possible data loss!");
    EXPECT_EQ(f.log.lines[2], "B0 00 00 Timestamp: 00000000");
    EXPECT_EQ(f.log.lines[30], "B0 1C 00 Timestamp: 0000001C");
    EXPECT_EQ(f.log.lines[31], "2 MIDI events were dropped while the queue was full.");
    EXPECT_EQ(f.handled.size(), 29);
    f.midi.PumpTick();
    EXPECT_EQ(f.log.lines.size(), 32);
}

TEST(MidiInput, EventsArrivingDuringATickAreHandledInItUpToABound)
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
}

TEST(MidiInput, FailingEventIsReportedOnceThenDropped)
{
    Fixture f;
    f.onEvent = [](const MidiEvent& e) {
        if (e.data1 == 0x66)
            throw VbError::TypeMismatch();
    };
    for (unsigned char control : {0x64, 0x66, 0x67})
        f.Send({0xB0, control, 0x01});
    f.midi.PumpTick();
    ASSERT_EQ(f.alerts.texts(), QStringList{"VB6 runtime error (tmrMidi_tick): 13 - Type mismatch"});
    EXPECT_EQ(f.handled.size(), 2);  // the tick ended at the failure
    f.midi.PumpTick();
    EXPECT_EQ(f.alerts.boxes.size(), 1);
    ASSERT_EQ(f.handled.size(), 3);
    EXPECT_EQ(f.handled[2].data1, 0x67);
}

// A modal box inside the handler lets timers fire; neither the pump nor the
// monitor may then take the event being handled, nor any behind it.
TEST(MidiInput, NothingDrainsWhileADrainIsUnderWay)
{
    Fixture f;
    f.midi.StartMonitor(f.monitorLog);
    int nested = 0;
    f.onEvent = [&](const MidiEvent&) {
        if (nested++ == 0) {
            f.midi.MonitorTick();
            f.midi.PumpTick();
        }
    };
    f.Send({0xB0, 0x64, 0x41}, 1);
    f.Send({0xB0, 0x64, 0x42}, 2);
    f.midi.PumpTick();
    EXPECT_TRUE(f.monitorLog.lines.isEmpty());
    EXPECT_EQ(f.handled.size(), 2);
    EXPECT_EQ(f.midi.Ring().Pending(), 0);
}
