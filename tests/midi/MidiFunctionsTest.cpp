#include "FakeMidiInApi.h"
#include "midi/MidiFunctions.h"
#include "support/RecordingAlerts.h"

#include <gtest/gtest.h>

namespace {

struct Fixture {
    FakeMidiInApi api;
    RecordingAlerts alerts;
    MidiFunctions midi{api, alerts};
};

void ExpectDeviceBox(const RecordingAlerts::Box& box, const QString& text)
{
    EXPECT_EQ(box.text, text);
    EXPECT_EQ(box.icon, IAlerts::Icon::Critical);
    EXPECT_EQ(box.title, "Error:");
}

}  // namespace

TEST(MidiFunctions, ListKeepsTrueDeviceNumbersAndLeavesOutFailingDevices)
{
    Fixture f;
    f.api.deviceNames = {"Midi Through", "Broken", "Vorn-MIDI"};
    f.api.failingCaps = {1};
    MidiFunctions::DeviceList list = {{"stale", 9}};
    f.midi.ListMidiInDevices(list);
    const MidiFunctions::DeviceList expected = {{"Midi Through", 0}, {"Vorn-MIDI", 2}};
    EXPECT_EQ(list, expected);

    f.api.deviceNames.clear();
    f.midi.ListMidiInDevices(list);
    EXPECT_TRUE(list.isEmpty());
}

TEST(MidiFunctions, OpenQueuesAllRecordsWithTheirOwnDataAreas)
{
    Fixture f;
    f.api.deviceNames = {"Vorn-MIDI"};
    f.midi.OpenMidiIn(0);
    EXPECT_EQ(f.midi.hMidiIn(), 42u);
    ASSERT_EQ(f.api.queued.size(), 31u);
    for (MidiHdr* h : f.api.queued) {
        EXPECT_EQ(h->dwBufferLength, 100u);
        EXPECT_EQ(h->dwBytesRecorded, 0u);
        EXPECT_EQ(f.midi.FindBuffer(reinterpret_cast<std::uintptr_t>(h))->Data, h->lpData);
    }
    EXPECT_EQ(f.api.calls.count("PrepareHeader"), 31);
    EXPECT_FALSE(f.api.calls.contains("Start"));  // the caller starts the device
    EXPECT_EQ(f.midi.MidiInQueue().Pending(), 0);
    EXPECT_TRUE(f.alerts.boxes.isEmpty());
}

TEST(MidiFunctions, FailedOpenShowsTheLayersTextAndLeavesNothingOpen)
{
    Fixture f;
    f.api.deviceNames = {"Vorn-MIDI"};
    f.midi.OpenMidiIn(5);
    ASSERT_EQ(f.alerts.boxes.size(), 1);
    ExpectDeviceBox(f.alerts.boxes[0], "fake error 2");
    EXPECT_EQ(f.midi.hMidiIn(), 0u);
    EXPECT_FALSE(f.api.calls.contains("PrepareHeader"));
    f.midi.CloseMidiIn();
    EXPECT_EQ(f.api.calls, QStringList{"Open 5"});
}

TEST(MidiFunctions, EachRecordThatCannotBeQueuedIsReportedOnce)
{
    Fixture f;
    f.api.deviceNames = {"Vorn-MIDI"};
    f.api.failures["PrepareHeader"] = IMidiInApi::MMSYSERR_NOMEM;
    f.api.failuresLeft["PrepareHeader"] = 2;
    f.api.failures["AddBuffer"] = IMidiInApi::MMSYSERR_NOMEM;
    f.api.failuresLeft["AddBuffer"] = 1;
    f.midi.OpenMidiIn(0);
    EXPECT_EQ(f.alerts.texts(), QStringList(3, "Error creating the MidiIn buffers!"));
    EXPECT_EQ(f.api.calls.count("AddBuffer"), 29);  // not after a failed prepare
    EXPECT_EQ(f.api.queued.size(), 28u);
    EXPECT_EQ(f.midi.hMidiIn(), 42u);
}

TEST(MidiFunctions, OpeningASecondDeviceClosesTheFirstAndEmptiesTheRing)
{
    Fixture f;
    f.api.deviceNames = {"A", "B"};
    f.midi.OpenMidiIn(0);
    f.api.ShortMessage(0x414090, 1);
    f.api.calls.clear();
    f.midi.OpenMidiIn(1);
    QStringList expected = {"Stop", "Reset"};
    for (int i = 0; i < 31; ++i)
        expected << "UnprepareHeader";
    expected << "Close" << "Open 1";
    EXPECT_EQ(f.api.calls.mid(0, expected.size()), expected);
    EXPECT_EQ(f.midi.MidiInQueue().Pending(), 0);
    EXPECT_EQ(f.midi.MidiInQueue().TakeDropped(), 0);
    EXPECT_EQ(f.api.queued.size(), 31u);
    EXPECT_TRUE(f.alerts.boxes.isEmpty());
}

TEST(MidiFunctions, CloseReportsFailuresAndForgetsTheHandleAllTheSame)
{
    Fixture f;
    f.api.deviceNames = {"Vorn-MIDI"};
    f.midi.OpenMidiIn(0);
    f.api.failures["UnprepareHeader"] = IMidiInApi::MIDIERR_STILLPLAYING;
    f.api.failuresLeft["UnprepareHeader"] = 2;
    f.api.failures["Close"] = IMidiInApi::MMSYSERR_INVALHANDLE;
    f.midi.CloseMidiIn();
    ASSERT_EQ(f.alerts.boxes.size(), 3);
    ExpectDeviceBox(f.alerts.boxes[0], "Error when unregistering the MidiIn buffer");
    ExpectDeviceBox(f.alerts.boxes[1], "Error when unregistering the MidiIn buffer");
    ExpectDeviceBox(f.alerts.boxes[2], "fake error 5");
    EXPECT_EQ(f.midi.hMidiIn(), 0u);
    // The records the reset handed back are not left for a pump to trip over.
    EXPECT_EQ(f.midi.MidiInQueue().Pending(), 0);

    f.api.calls.clear();
    f.midi.CloseMidiIn();
    EXPECT_TRUE(f.api.calls.isEmpty());
    EXPECT_EQ(f.alerts.boxes.size(), 3);
}

TEST(MidiFunctions, CallbackRecordsEverythingButTheTimingClock)
{
    Fixture f;
    f.api.deviceNames = {"Vorn-MIDI"};
    f.midi.OpenMidiIn(0);
    f.api.ShortMessage(0xF8, 10);
    f.api.ShortMessage(0xFE, 11);
    f.api.ShortMessage(0xF8F8, 12);  // not a clock byte alone
    f.api.callback(f.api.openHandle, 0x3C1 /* open */, f.api.instance, 1, 2);
    f.api.callback(f.api.openHandle, 0x3CC /* more data */, f.api.instance, 0x90, 2);
    f.api.ReturnBuffer("\xF0\x7E\xF7", 13);
    MidiInRing& ring = f.midi.MidiInQueue();
    ASSERT_EQ(ring.Pending(), 3);
    EXPECT_EQ(ring.Front().Param1, 0xFEu);
    EXPECT_EQ(ring.Front().Param2, 11u);
    ring.PopFront();
    EXPECT_EQ(ring.Front().Param1, 0xF8F8u);
    ring.PopFront();
    EXPECT_EQ(ring.Front().Kind, IMidiInApi::MIM_LONGDATA);
    EXPECT_NE(f.midi.FindBuffer(ring.Front().Param1), nullptr);
}
