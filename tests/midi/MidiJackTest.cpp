#include "midi/MidiFunctions.h"
#include "midi/MidiPump.h"
#include "midi/RtMidiInApi.h"
#include "support/JackMidiSource.h"
#include "support/RecordingAlerts.h"
#include "support/RecordingLog.h"

#include <QDeadlineTimer>
#include <QRegularExpression>
#include <QThread>
#include <gtest/gtest.h>

// The real layer over RtMidi against a real JACK client named "Vorn-MIDI".
namespace {

class MidiOverJack : public ::testing::Test {
protected:
    int DeviceNumber(const QString& name)
    {
        MidiFunctions::DeviceList list;
        midi.ListMidiInDevices(list);
        for (const auto& entry : list) {
            if (entry.first == name)
                return entry.second;
        }
        return -1;
    }

    // Pumps as the main window's timer would, until `done` holds (bounded for a slow machine).
    template <class Done>
    bool PumpUntil(Done done, int milliseconds = 10000)
    {
        const QDeadlineTimer deadline(milliseconds);
        while (!deadline.hasExpired()) {
            pump.Tick();
            if (done())
                return true;
            QThread::msleep(2);
        }
        return false;
    }

    // Opens the source and waits until the connection carries messages.
    void OpenAndStart(JackMidiSource& source)
    {
        const int number = DeviceNumber("Vorn-MIDI");
        ASSERT_GE(number, 0);
        midi.OpenMidiIn(number);
        ASSERT_NE(midi.hMidiIn(), 0u);
        ASSERT_EQ(api.Start(midi.hMidiIn()), IMidiInApi::MMSYSERR_NOERROR);
        // A probe at a time, so that none is still on its way afterwards.
        bool connected = false;
        for (int attempt = 0; attempt < 100 && !connected; ++attempt) {
            source.SendControlChange(0x01, 0x00);
            connected = PumpUntil([&] { return !processed.isEmpty(); }, 100);
        }
        ASSERT_TRUE(connected);
        QThread::msleep(100);
        pump.Tick();
        log.lines.clear();
        processed.clear();
    }

    // Every byte of the sysex blocks in the log, in order.
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

    RtMidiInApi api;
    RecordingAlerts alerts;
    MidiFunctions midi{api, alerts};
    RecordingLog log;
    MidiMessage message;
    QList<QPair<QString, QString>> processed;
    MidiPump pump{midi, log, alerts, MidiPump::DrainMode::MainWindowPump(message, [this] {
                      processed.append({message.midiid, message.midicmd});
                  })};
};

}  // namespace

TEST_F(MidiOverJack, ControlChangesReachTheRingTheLogAndProcessMidi)
{
    JackMidiSource source;
    OpenAndStart(source);
    source.SendControlChange(0x64, 0x41);
    source.Send({0xF8});        // timing clock: never recorded
    source.Send({0xC1, 0x07});  // program change
    source.Send({0xFE});        // active sensing
    source.SendControlChange(0x66, 0x3F);
    ASSERT_TRUE(PumpUntil([&] { return processed.size() >= 4; })) << log.lines.join('\n').toStdString();

    const QList<QPair<QString, QString>> expected = {
        {"64", "41"}, {"07", "00"}, {"00", "00"}, {"66", "3F"}};
    EXPECT_EQ(processed, expected);
    const QStringList prefixes = {"B0 64 41", "C1 07 00", "FE 00 00", "B0 66 3F"};
    ASSERT_EQ(log.lines.size(), prefixes.size());
    const QRegularExpression timestamp(QStringLiteral("^ Timestamp: [0-9A-F]{8}$"));
    for (int i = 0; i < prefixes.size(); ++i) {
        EXPECT_TRUE(log.lines[i].startsWith(prefixes[i])) << log.lines[i].toStdString();
        EXPECT_TRUE(timestamp.match(log.lines[i].mid(8)).hasMatch()) << log.lines[i].toStdString();
    }
    EXPECT_TRUE(alerts.boxes.isEmpty());
}

TEST_F(MidiOverJack, SysexArrivesWholeAndTheRecordsGoBackToTheDevice)
{
    JackMidiSource source;
    OpenAndStart(source);
    for (int round = 0; round < 12; ++round) {  // more records than there are: they are reused
        log.lines.clear();
        for (std::size_t length : {std::size_t{12}, std::size_t{250}})
            source.SendSysex(JackMidiSource::Sysex(length));
        ASSERT_TRUE(PumpUntil([&] { return SysexBytesInLog().size() >= 262; }));
        const JackMidiSource::Bytes twelve = JackMidiSource::Sysex(12);
        const JackMidiSource::Bytes long250 = JackMidiSource::Sysex(250);
        QByteArray expected(reinterpret_cast<const char*>(twelve.data()), 12);
        expected.append(reinterpret_cast<const char*>(long250.data()), 250);
        EXPECT_EQ(SysexBytesInLog(), expected);
        EXPECT_EQ(log.lines.filter("SysExclMsg recieved.").size(), 4);  // 12, 100, 100, 50
        EXPECT_EQ(log.lines.filter(QRegularExpression("^(12|100|50) Bytes:$")).size(), 4);
    }
    EXPECT_TRUE(alerts.boxes.isEmpty());
    midi.CloseMidiIn();
    EXPECT_TRUE(alerts.boxes.isEmpty());
    EXPECT_EQ(midi.hMidiIn(), 0u);
}

TEST_F(MidiOverJack, DeviceNameIsTheClientNameCutTo31Characters)
{
    JackMidiSource source("A control surface with a long name", "port:with:colons");
    EXPECT_GE(DeviceNumber("A control surface with a long n"), 0);
    EXPECT_EQ(DeviceNumber("A control surface with a long name"), -1);
}

TEST_F(MidiOverJack, OpeningADeviceThatIsNotThereFailsCleanly)
{
    int number = -1;
    {
        JackMidiSource source;
        number = DeviceNumber("Vorn-MIDI");
        ASSERT_GE(number, 0);
    }
    midi.OpenMidiIn(number);  // listed, but gone since
    midi.OpenMidiIn(1000);
    ASSERT_EQ(alerts.boxes.size(), 2);
    for (const RecordingAlerts::Box& box : alerts.boxes) {
        EXPECT_EQ(box.text, "The specified device identifier is out of range.");
        EXPECT_EQ(box.icon, IAlerts::Icon::Critical);
        EXPECT_EQ(box.title, "Error:");
    }
    EXPECT_EQ(midi.hMidiIn(), 0u);
}

TEST_F(MidiOverJack, ReopeningStartsAfreshAndCloseTwiceIsQuiet)
{
    JackMidiSource source;
    OpenAndStart(source);
    OpenAndStart(source);
    source.SendControlChange(0x64, 0x41);
    ASSERT_TRUE(PumpUntil([&] { return !processed.isEmpty(); }));
    midi.CloseMidiIn();
    midi.CloseMidiIn();
    EXPECT_TRUE(alerts.boxes.isEmpty());
}
