// The MIDI input over RtMidi against real JACK clients.
#include "midi/MidiInput.h"
#include "support/JackMidiSource.h"
#include "support/RecordingAlerts.h"
#include "support/RecordingLog.h"

#include "support/WaitFor.h"
#include <QRegularExpression>
#include <QThread>
#include <gtest/gtest.h>

namespace {

class MidiOverJack : public ::testing::Test {
protected:
    int DeviceNumber(const QString& name)
    {
        for (const MidiDevice& device : midi.ListDevices()) {
            if (device.name == name)
                return device.number;
        }
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

    // Opens the source and waits until the connection carries messages.
    void Open(JackMidiSource& source)
    {
        const int number = DeviceNumber("Vorn-MIDI");
        ASSERT_GE(number, 0);
        ASSERT_TRUE(midi.Open(number)) << alerts.texts().join('|').toStdString();
        // A probe at a time, so that none is still on its way afterwards.
        bool connected = false;
        for (int attempt = 0; attempt < 100 && !connected; ++attempt) {
            source.SendControlChange(0x01, 0x00);
            connected = PumpUntil([&] { return !handled.isEmpty(); }, 100);
        }
        ASSERT_TRUE(connected);
        PumpUntil([] { return false; }, 100);
        log.lines.clear();
        handled.clear();
    }

    // Every byte of the system-exclusive pieces in the log, in order.
    QByteArray SysexBytesInLog() const
    {
        QByteArray bytes;
        const QRegularExpression byteLine(QStringLiteral("^([0-9A-F]{2} )+$"));
        for (const QString& line : log.lines) {
            if (byteLine.match(line).hasMatch())
                bytes += QByteArray::fromHex(line.toLatin1());
        }
        return bytes;
    }

    RecordingAlerts alerts;
    RecordingLog log;
    QList<MidiEvent> handled;
    QList<bool> connected;
    MidiInput midi{log, alerts, [this](const MidiEvent& e) { handled.append(e); }};
};

}  // namespace

TEST_F(MidiOverJack, MessagesArriveInOrderWithTimestampsAndTheClockLeftOut)
{
    QObject::connect(&midi, &MidiInput::connectedChanged, [this](bool c) { connected << c; });
    JackMidiSource source;
    Open(source);
    source.SendControlChange(0x64, 0x41);
    source.Send({0xF8});        // timing clock
    source.Send({0xC1, 0x07});  // program change
    source.SendSysex(JackMidiSource::Sysex(250));
    source.SendControlChange(0x66, 0x3F);
    ASSERT_TRUE(PumpUntil([&] { return handled.size() >= 3; })) << log.lines.join('\n').toStdString();

    ASSERT_EQ(handled.size(), 3);
    EXPECT_EQ(handled[1].data1, 0x07);
    EXPECT_EQ(handled[2].data2, 0x3F);
    const QStringList shortLines = log.lines.filter(QRegularExpression("Timestamp: [0-9A-F]{8}$"))
                                       .filter(QRegularExpression("^[0-9A-F]{2} [0-9A-F]{2} "));
    ASSERT_EQ(shortLines.size(), 3);
    EXPECT_TRUE(shortLines[0].startsWith("B0 64 41"));
    EXPECT_TRUE(shortLines[1].startsWith("C1 07 00"));
    const JackMidiSource::Bytes sysex = JackMidiSource::Sysex(250);
    EXPECT_EQ(SysexBytesInLog(), QByteArray(reinterpret_cast<const char*>(sysex.data()), 250));

    midi.Close();
    midi.Close();
    EXPECT_TRUE(alerts.boxes.isEmpty());
    EXPECT_EQ(connected, QList<bool>({true, false}));
}

TEST_F(MidiOverJack, DeviceNameIsTheClientNameCutTo31Characters)
{
    JackMidiSource source("A control surface with a long name", "port:with:colons");
    EXPECT_GE(DeviceNumber("A control surface with a long n"), 0);
    EXPECT_EQ(DeviceNumber("A control surface with a long name"), -1);
}
