#include "FakeMidiInApi.h"
#include "app/VbError.h"
#include "midi/MidiFunctions.h"
#include "midi/MidiPump.h"
#include "support/RecordingAlerts.h"
#include "support/RecordingLog.h"

#include <gtest/gtest.h>

namespace {

struct Fixture {
    Fixture()
    {
        api.deviceNames = {"Vorn-MIDI"};
        midi.OpenMidiIn(0);
        api.calls.clear();
    }

    FakeMidiInApi api;
    RecordingAlerts alerts;
    MidiFunctions midi{api, alerts};
    RecordingLog log;
    MidiMessage message;
    QList<QPair<QString, QString>> processed;
    std::function<void()> onProcess;
    MidiPump pump{midi, log, alerts, MidiPump::DrainMode::MainWindowPump(message, [this] {
                      processed.append({message.midiid, message.midicmd});
                      if (onProcess)
                          onProcess();
                  })};
    RecordingLog monitorLog;
    MidiPump monitor{midi, monitorLog, alerts, MidiPump::DrainMode::SetupMonitor()};
};

QByteArray Bytes(int count)
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes.append(static_cast<char>(i == 0 ? 0xF0 : i == count - 1 ? 0xF7 : i));
    return bytes;
}

}  // namespace

TEST(MidiPump, EmptyRingWritesNothing)
{
    Fixture f;
    f.pump.Tick();
    f.monitor.Tick();
    EXPECT_TRUE(f.log.lines.isEmpty());
    EXPECT_TRUE(f.monitorLog.lines.isEmpty());
    EXPECT_TRUE(f.processed.isEmpty());
}

TEST(MidiPump, ShortMessageLinesAndHandedOnBytes)
{
    struct Case {
        std::uint32_t packed;
        std::uint32_t timestamp;
        const char* line;
        const char* midiid;
        const char* midicmd;
    };
    const Case cases[] = {
        {0x4164B0, 74303, "B0 64 41 Timestamp: 0001223F", "64", "41"},
        {0x416490, 74304, "90 64 41 Timestamp: 00012240", "64", "41"},
        {0x7F05B3, 0, "B3 05 7F Timestamp: 00000000", "05", "7F"},
        {0x6AB0, 1, "B0 6A 00 Timestamp: 00000001", "6A", "00"},
        {0x07C1, 0xFFFFFFFF, "C1 07 00 Timestamp: FFFFFFFF", "07", "00"},
        {0xFE, 0xABCDE, "FE 00 00 Timestamp: 000ABCDE", "00", "00"},
    };
    Fixture f;
    for (const Case& c : cases)
        f.api.ShortMessage(c.packed, c.timestamp);
    f.pump.Tick();
    ASSERT_EQ(f.log.lines.size(), std::size(cases));
    ASSERT_EQ(f.processed.size(), std::size(cases));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(f.log.lines[i], cases[i].line);
        EXPECT_EQ(f.processed[i].first, cases[i].midiid) << cases[i].line;
        EXPECT_EQ(f.processed[i].second, cases[i].midicmd) << cases[i].line;
    }
    EXPECT_EQ(f.midi.MidiInQueue().Pending(), 0);
}

TEST(MidiPump, MonitorLogsOnlyAndEachEntryGoesToOnePump)
{
    Fixture f;
    f.api.ShortMessage(0x4164B0, 1);
    f.monitor.Tick();
    f.api.ShortMessage(0x3F64B0, 2);
    f.pump.Tick();
    EXPECT_EQ(f.monitorLog.lines, QStringList{"B0 64 41 Timestamp: 00000001"});
    EXPECT_EQ(f.log.lines, QStringList{"B0 64 3F Timestamp: 00000002"});
    ASSERT_EQ(f.processed.size(), 1);
    EXPECT_EQ(f.processed[0].second, "3F");
}

TEST(MidiPump, SysexBlocksAndTheRecordIsQueuedAgain)
{
    struct Case {
        int count;
        QStringList lines;
    };
    const Case cases[] = {
        {12,
         {"SysExclMsg recieved.", "Timestamp: 0001223F", "12 Bytes:",
          "F0 01 02 03 04 05 06 07 08 09 ", "0A F7 "}},
        {10,
         {"SysExclMsg recieved.", "Timestamp: 0001223F", "10 Bytes:",
          "F0 01 02 03 04 05 06 07 08 F7 ", ""}},
        {1, {"SysExclMsg recieved.", "Timestamp: 0001223F", "1 Bytes:", "F0 "}},
        {0, {}},
    };
    for (const Case& c : cases) {
        Fixture f;
        MidiHdr* returned = f.api.queued.front();
        f.api.ReturnBuffer(Bytes(c.count), 74303);
        for (bool monitor : {false, true}) {
            if (monitor) {
                returned = f.api.queued.front();
                f.api.ReturnBuffer(Bytes(c.count), 74303);
                f.monitor.Tick();
            } else {
                f.pump.Tick();
            }
            EXPECT_EQ(monitor ? f.monitorLog.lines : f.log.lines, c.lines) << c.count;
            EXPECT_EQ(f.api.queued.back(), returned);
            EXPECT_EQ(returned->dwBytesRecorded, 0u);
            EXPECT_EQ(f.api.calls.mid(f.api.calls.size() - 3),
                      (QStringList{"UnprepareHeader", "PrepareHeader", "AddBuffer"}));
        }
        EXPECT_TRUE(f.processed.isEmpty());
        EXPECT_TRUE(f.alerts.boxes.isEmpty());
    }
}

TEST(MidiPump, UnknownRecordAndUnknownKindArePassedOver)
{
    Fixture f;
    MidiHdr stranger;
    f.api.callback(f.api.openHandle, IMidiInApi::MIM_LONGDATA, f.api.instance,
                   reinterpret_cast<std::uintptr_t>(&stranger), 5);
    f.midi.MidiInQueue().Push(0x3C5, 1, 2);
    f.api.ShortMessage(0x0190, 6);
    f.pump.Tick();
    EXPECT_EQ(f.log.lines, QStringList{"90 01 00 Timestamp: 00000006"});
    EXPECT_TRUE(f.api.calls.isEmpty());
    EXPECT_TRUE(f.alerts.boxes.isEmpty());
}

TEST(MidiPump, RecordFailuresAreReportedByTheMonitorOnly)
{
    for (bool monitor : {false, true}) {
        Fixture f;
        f.api.failures["UnprepareHeader"] = IMidiInApi::MIDIERR_STILLPLAYING;
        f.api.failures["AddBuffer"] = IMidiInApi::MMSYSERR_NOMEM;
        f.api.ReturnBuffer(Bytes(3), 1);
        (monitor ? f.monitor : f.pump).Tick();
        QStringList expected = {"Error when unregistering the MidiIn buffer"};
        if (monitor)
            expected << "Error creating the MidiIn buffer";
        EXPECT_EQ(f.alerts.texts(), expected);
        for (const RecordingAlerts::Box& box : f.alerts.boxes) {
            EXPECT_EQ(box.icon, IAlerts::Icon::Critical);
            EXPECT_EQ(box.title, "Error:");
        }
        // The bytes are logged all the same.
        EXPECT_EQ((monitor ? f.monitorLog : f.log).lines.size(), 4);
    }
}

TEST(MidiPump, FullRingWarnsProcessesEverythingAndReportsDropsOnceCaughtUp)
{
    Fixture f;
    for (std::uint32_t i = 0; i < 29; ++i)
        f.api.ShortMessage(0x0B0 | (i << 8), i);
    f.api.ShortMessage(0x7FB0, 100);         // dropped
    f.api.ReturnBuffer(Bytes(12), 101);      // dropped, its record marked
    f.pump.Tick();
    ASSERT_EQ(f.log.lines.size(), 2 + 29 + 1);
    EXPECT_EQ(f.log.lines[0], "Processing the events is taking too long!");
    EXPECT_EQ(f.log.lines[1], "Possible data loss!");
    EXPECT_EQ(f.log.lines[2], "B0 00 00 Timestamp: 00000000");
    EXPECT_EQ(f.log.lines[30], "B0 1C 00 Timestamp: 0000001C");
    EXPECT_EQ(f.log.lines[31], "2 MIDI events were dropped while the queue was full.");
    EXPECT_EQ(f.processed.size(), 29);
    // The record whose entry was dropped is back with the device.
    EXPECT_EQ(f.api.queued.size(), 31u);
    EXPECT_EQ(f.api.queued.back()->dwBytesRecorded, 0u);

    f.pump.Tick();
    EXPECT_EQ(f.log.lines.size(), 32);
}

TEST(MidiPump, EntriesArrivingDuringATickAreHandledInIt)
{
    Fixture f;
    int more = 40;
    f.onProcess = [&] {
        if (more-- > 0)
            f.api.ShortMessage(0x0190, 0);
    };
    f.api.ShortMessage(0x0190, 0);
    f.pump.Tick();
    EXPECT_EQ(f.processed.size(), 41);
    EXPECT_EQ(f.midi.MidiInQueue().Pending(), 0);
}

TEST(MidiPump, FloodingSourceCannotHoldTheTickForEver)
{
    Fixture f;
    f.onProcess = [&] { f.api.ShortMessage(0x0190, 0); };
    f.api.ShortMessage(0x0190, 0);
    f.pump.Tick();
    EXPECT_EQ(f.processed.size(), MidiPump::kMaxEntriesPerTick);
}

TEST(MidiPump, FailingEntryIsReportedOnceThenDropped)
{
    Fixture f;
    f.onProcess = [&] {
        if (f.message.midiid == "66")
            throw VbError::TypeMismatch();
    };
    f.api.ShortMessage(0x0164B0, 1);
    f.api.ShortMessage(0x0166B0, 2);
    f.api.ShortMessage(0x0167B0, 3);
    f.pump.Tick();
    ASSERT_EQ(f.alerts.boxes.size(), 1);
    EXPECT_EQ(f.alerts.boxes[0].text, "VB6 runtime error (tmrMidi_tick): 13 - Type mismatch");
    EXPECT_EQ(f.alerts.boxes[0].icon, IAlerts::Icon::Information);
    EXPECT_EQ(f.processed.size(), 2);  // the tick ended at the failure
    f.pump.Tick();
    EXPECT_EQ(f.alerts.boxes.size(), 1);
    ASSERT_EQ(f.processed.size(), 3);
    EXPECT_EQ(f.processed[2].first, "67");
}

// A modal box inside ProcessMIDI lets timers fire; neither pump may then take
// the entry that is being handled, nor any behind it.
TEST(MidiPump, NoPumpRunsWhileAnotherIsDraining)
{
    Fixture f;
    int nested = 0;
    f.onProcess = [&] {
        if (nested++ == 0) {
            f.monitor.Tick();
            f.pump.Tick();
        }
    };
    f.api.ShortMessage(0x0164B0, 1);
    f.api.ShortMessage(0x0264B0, 2);
    f.pump.Tick();
    EXPECT_TRUE(f.monitorLog.lines.isEmpty());
    EXPECT_EQ(f.log.lines.size(), 2);
    EXPECT_EQ(f.processed.size(), 2);
    EXPECT_EQ(f.midi.MidiInQueue().Pending(), 0);
    f.monitor.Tick();
    EXPECT_TRUE(f.monitorLog.lines.isEmpty());
}
