// The MIDI input over RtMidi against real JACK clients.
#include "midi/MidiInput.h"
#include "support/JackMidiSource.h"
#include "support/RecordingAlerts.h"
#include "support/RecordingLog.h"
#include "support/WaitFor.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

class MidiOverJack : public ::testing::Test {
protected:
    int DeviceNumber(const QString& name)
    {
        for (const MidiDevice& device : midi.ListDevices())
            if (device.name == name)
                return device.number;
        return -1;
    }

    // Pumps as the timer would, until `done` holds.
    bool PumpUntil(const std::function<bool()>& done, int milliseconds = 10000)
    {
        return WaitFor([&] {
            midi.PumpTick();
            return done();
        }, milliseconds);
    }

    RecordingAlerts alerts;
    RecordingLog log;
    QStringList handled;  // the data bytes of each message handed on
    MidiInput midi{log, alerts, [this](const MidiEvent& e) {
                       handled << MidiEvent::Hex2(e.data1) + MidiEvent::Hex2(e.data2);
                   }};
};

}  // namespace

// Short messages are logged and handed on in order, the clock is left out, a
// long system-exclusive message is logged whole in pieces of 100 bytes.
TEST_F(MidiOverJack, MessagesArriveInOrderWithTimestampsAndTheClockLeftOut)
{
    JackMidiSource source;
    ASSERT_TRUE(midi.Open(DeviceNumber("Vorn-MIDI"))) << alerts.texts().join('|').toStdString();
    // One probe at a time until the connection carries messages, so that none is on its way afterwards.
    bool connected = false;
    for (int attempt = 0; attempt < 100 && !connected; ++attempt) {
        source.SendControlChange(0x01, 0x00);
        connected = PumpUntil([&] { return !handled.isEmpty(); }, 100);
    }
    ASSERT_TRUE(connected);
    PumpUntil([] { return false; }, 100);
    log.lines.clear();
    handled.clear();

    source.SendControlChange(0x64, 0x41);
    source.Send({0xF8});        // timing clock
    source.Send({0xC1, 0x07});  // program change
    source.SendSysex(JackMidiSource::Sysex(250));
    source.SendControlChange(0x66, 0x3F);
    ASSERT_TRUE(PumpUntil([&] { return handled.size() >= 3; })) << log.lines.join('\n').toStdString();
    EXPECT_EQ(handled, QStringList({"6441", "0700", "663F"}));
    QStringList shortMessages;
    for (const QString& line : log.lines.filter(QRegularExpression("^([0-9A-F]{2} ){3}Timestamp: [0-9A-F]{8}$")))
        shortMessages << line.left(8);
    EXPECT_EQ(shortMessages, QStringList({"B0 64 41", "C1 07 00", "B0 66 3F"}));
    EXPECT_EQ(log.lines.filter(" Bytes:"), QStringList({"100 Bytes:", "100 Bytes:", "50 Bytes:"}));
    EXPECT_EQ(QByteArray::fromHex(log.lines.filter(QRegularExpression("^([0-9A-F]{2} )+$")).join("").toLatin1()),
              QByteArray(reinterpret_cast<const char*>(JackMidiSource::Sysex(250).data()), 250));
    EXPECT_TRUE(alerts.boxes.isEmpty());

    // The input closes while the source stays (see ~JackMidiSource).
    midi.Close();
}

// A message is handled on arrival: the callback wakes the pump, whose timer
// (here 10 s) is only the rhythm besides.
TEST_F(MidiOverJack, MessagesAreHandledOnArrival)
{
    JackMidiSource source;
    ASSERT_TRUE(midi.Open(DeviceNumber("Vorn-MIDI"))) << alerts.texts().join('|').toStdString();
    midi.SetPumpInterval(10000);
    EXPECT_TRUE(WaitFor([&] {
        source.SendControlChange(0x64, 0x41);
        return WaitFor([&] { return !handled.isEmpty(); }, 200);
    }, 5000));
    midi.Close();
}

TEST_F(MidiOverJack, DeviceNameIsTheClientNameCutTo31Characters)
{
    JackMidiSource source("A control surface with a long name", "port:with:colons");
    EXPECT_GE(DeviceNumber("A control surface with a long n"), 0);
    EXPECT_EQ(DeviceNumber("A control surface with a long name"), -1);
}
