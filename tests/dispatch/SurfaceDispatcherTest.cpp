#include "cat/CatRadio.h"
#include "core/KeyMap.h"
#include "core/Options.h"
#include "dispatch/SurfaceDispatcher.h"
#include "support/MemorySettingsStore.h"
#include "support/RadioReply.h"
#include "support/RecordingAlerts.h"
#include "support/RecordingCatLink.h"
#include "support/RecordingLog.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

const char* const kVfoA = "00014060000";
const char* const kVfoB = "00007030000";
const QString kFailure = QStringLiteral("VB6 runtime error (ProcessMIDI): ");

class SurfaceDispatcherTest : public ::testing::Test {
protected:
    SurfaceDispatcherTest() { ResetRadio(); }

    // The polled radio of every case (VFO A and B, mode 2, both VFOs known),
    // another FB reply after the first where a case has one, and the default maps.
    void ResetRadio(const char* vfoB = kVfoB, QChar mode = '2', const char* laterFbReply = nullptr)
    {
        keyMap.Load(settings);
        radio.TakeSilence();
        radio.TakeReply(IfReply(kVfoA, mode), true);
        radio.TakeReply(QString("FB") + vfoB + ';', true);
        if (laterFbReply)
            radio.TakeReply(laterFbReply, true);
        cat.commands.clear();
        alerts.boxes.clear();
        log.lines.clear();
    }

    // A control change with these two data bytes.
    void Midi(std::uint8_t control, std::uint8_t value)
    {
        dispatcher.Dispatch(MidiEvent::Short(0xB0, control, value));
    }

    // What reached the radio, then what the user was told in boxes and in the log.
    QString Outcome() const
    {
        return cat.commands.join('|') + " / " + alerts.texts().join('|') +
               (log.lines.isEmpty() ? "" : " / " + log.lines.join('|'));
    }

    MemorySettingsStore settings;
    KeyMap keyMap;
    Options options;
    RecordingCatLink cat;
    RecordingAlerts alerts;
    RecordingLog log;
    CatRadio radio{cat, alerts, options};
    SurfaceDispatcher dispatcher{keyMap, options, radio, alerts, log};
};

} // namespace

// The key is built from the message's bytes (hex digits in either case) for
// every key of both maps; steps are worked out here in integer arithmetic.
TEST_F(SurfaceDispatcherTest, EveryDefaultEntryOfBothMapsSendsItsCommands)
{
    static const QRegularExpression step(QStringLiteral("^#(UP|DN)(\\d+)$"));
    const QHash<QString, QString> software = {{"#A/B", "FA00007030000;|FB00014060000;"},
        {"#A>B", "FB00014060000;"}, {"#MUP", "MD3;"}, {"#TXPWR", "PC 50;"}, {"#CWSPD", "KS 50;"}};
    for (const QString rig : {"elecraft", "flex"}) {
        options.SetText(Options::Key::RigType, rig);
        for (const KeyMap::KeyDef& def : KeyMap::Suffixes()) {
            ResetRadio();
            const QString entry = rig == "flex" ? def.flexDefault : def.elecraftDefault;
            const QString bytes = def.suffix == "km2sldb" ? "6840" : def.suffix == "km3sldb" ? "6A40" : def.suffix;
            const std::uint8_t control = bytes.left(2).toUInt(nullptr, 16);
            Midi(control, bytes.mid(2).toUInt(nullptr, 16));
            const QRegularExpressionMatch m = step.match(entry);
            const qint64 from = control == 0x66 ? 7030000 : 14060000, by = m.captured(2).toLongLong();
            const QString expected = m.hasMatch() ? QString::asprintf("%s%011lld;", control == 0x66 ? "FB" : "FA",
                                                                      m.captured(1) == "UP" ? from + by : from - by)
                                                  : software.value(entry, entry);
            EXPECT_EQ(Outcome(), expected + " / ") << qPrintable(rig + " " + def.suffix);
        }
    }
}

// One row per message: the entry it finds, the radio state it meets, what
// reaches the radio and what the user is told. A message that sends nothing
// leaves the VFO copies and the mode as they were.
TEST_F(SurfaceDispatcherTest, MessagesEntriesAndRadioStatesGiveTheirCommands)
{
    const QString missing = SurfaceDispatcher::MissingKeyMessage();
    const QString mismatch = kFailure + "13 - Type mismatch: ";
    const QString refused = "Step refused: VFO %1 would be at %2 Hz, outside 0 to 99999999999 Hz.";
    // `key` names the entry changed for the row, nullptr none.
    const struct Case {
        const char *rig, *key, *entry;
        std::uint8_t control, value;
        QString outcome;
        const char* vfoB = kVfoB;
        char mode = '2';
        const char* laterFbReply = nullptr;
        bool validA = true, validB = true;
    } cases[] = {
        // A button needs the exact rig name; a wheel needs a rig type whose letter has a map.
        {"Flex", nullptr, "", 0x01, 0x7F, " / "},
        {"kenwood", nullptr, "", 0x64, 0x41, " / " + missing},
        // Nothing is done while the link is down; VFO B only once it is known.
        {"flex", nullptr, "", 0x64, 0x41, " / ", kVfoB, '2', nullptr, false},
        {"flex", nullptr, "", 0x06, 0x7F, " / ", kVfoB, '2', nullptr, false},
        {"flex", nullptr, "", 0x66, 0x41, " / ", kVfoB, '2', nullptr, true, false},
        {"flex", nullptr, "", 0x04, 0x7F, " / ", kVfoB, '2', nullptr, true, false},
        // Messages without a control or a press.
        {"flex", nullptr, "", 0x01, 0x00, " / "},
        {"flex", nullptr, "", 0x0B, 0x40, " / "},
        {"flex", nullptr, "", 0x07, 0x7F, " / "},
        {"flex", nullptr, "", 0x11, 0x7F, " / "},
        {"flex", nullptr, "", 0x65, 0x41, " / "},
        {"flex", nullptr, "", 0x64, 0x40, " / " + missing},
        {"flex", nullptr, "", 0x64, 0x7F, " / " + missing},
        // The slider's value is scaled to power and speed; the speed stays at 5 or more.
        {"flex", nullptr, "", 0x68, 0x00, "PC 0; / "},
        {"flex", nullptr, "", 0x68, 0x64, "PC 79; / "},
        {"flex", nullptr, "", 0x6A, 0x03, "KS 5; / "},
        {"flex", nullptr, "", 0x6A, 0x07, "KS 6; / "},
        {"flex", nullptr, "", 0x6A, 0x7F, "KS 100; / "},
        // Entries are carried out exactly as written.
        {"flex", "f6441", "#up10", 0x64, 0x41, " / "},
        {"flex", "f6441", "#A>B", 0x64, 0x41, " / "},
        {"flex", "fkm2sldb", "#TXPWR ", 0x68, 0x40, " / "},
        {"flex", "fkm2sldb", " #TXPWR", 0x68, 0x40, " #TXPWR / "},
        {"flex", "fkm2sldb", "#UP10", 0x68, 0x40, " / "},
        {"flex", "f017f", "#RIT", 0x01, 0x7F, " / "},
        {"flex", "fkm3sldb", "UP1;", 0x6A, 0x00, "UP1; / "},
        {"flex", "f017f", "  swt10; ", 0x01, 0x7F, "  swt10;  / "},
        {"flex", "f0b7f", "#MUP", 0x0B, 0x7F, "MD3; / "},
        {"flex", "f0f7f", "#TXPWR", 0x0F, 0x7F, "PC 100; / "},
        {"flex", "f107f", "#CWSPD", 0x10, 0x7F, "KS 100; / "},
        // Steps round down, work on the copy of the VFO and keep every digit.
        {"flex", "f663f", "#UP10.7", 0x66, 0x3F, "FB00007030010; / "},
        {"flex", "f663f", "#DN10.7", 0x66, 0x3F, "FB00007029990; / "},
        {"flex", "f663f", "#UP-10.5", 0x66, 0x3F, "FB00007029989; / "},
        {"flex", "f663f", "#UP 25 ", 0x66, 0x3F, "FB00007030025; / "},
        // A garbled FB reply leaves the copy as the last good one set it.
        {"flex", "f663f", "#UP10", 0x66, 0x3F, "FB00007030010; / ", kVfoB, '2', "FB0000703000x;"},
        // A step stays within the radio's eleven digits: up to the top and down to 0 Hz.
        {"flex", "f663f", "#UP10", 0x66, 0x3F, "FB99999999999; / ", "99999999989"},
        {"flex", "f663f", "#DN10", 0x66, 0x3F, "FB00000000000; / ", "00000000010"},
        {"flex", "f663f", "#UP100", 0x66, 0x3F, " /  / " + refused.arg("B", "100000000050"), "99999999950"},
        {"flex", "f663f", "#DN1", 0x66, 0x3F, " /  / " + refused.arg("B", "-1"), "00000000000"},
        {"flex", "f6436", "#DN20000000", 0x64, 0x36, " /  / " + refused.arg("A", "-5940000")},
        // The mode steps 1 to 6, then 9, then 1.
        {"flex", "f017f", "#MUP", 0x01, 0x7F, "MD9; / ", kVfoB, '6'},
        {"flex", "f017f", "#MUP", 0x01, 0x7F, "MD8; / ", kVfoB, '7'},
        {"flex", "f017f", "#MUP", 0x01, 0x7F, "MD1; / ", kVfoB, '9'},
        // Bad entries and unusable radio state are reported and send nothing.
        {"flex", "f663f", "#UP", 0x66, 0x3F, " / " + mismatch + "\"\""},
        {"flex", "f6641", "#UP10;", 0x66, 0x41, " / " + mismatch + "\"10;\""},
        {"flex", "f6641", "#DN1e3", 0x66, 0x41, " / " + mismatch + "\"1e3\""},
        {"flex", "f017f", "#MUP", 0x01, 0x7F, " / " + mismatch + "\"U\"", kVfoB, 'U'},
        {"flex", nullptr, "", 0x04, 0x7F, " / " + mismatch + "no frequency in reply \"FB703;\"", kVfoB, '2', "FB703;"},
        {"flex", nullptr, "", 0x04, 0x7F, " / " + mismatch + "no frequency in reply \"FB0000703000x;\"", kVfoB, '2',
         "FB0000703000x;"},
    };
    for (const Case& c : cases) {
        options.SetText(Options::Key::RigType, c.rig);
        ResetRadio(c.vfoB, QLatin1Char(c.mode), c.laterFbReply);
        if (!c.validB)
            radio.TakeRefusal("FB");
        if (!c.validA)
            radio.TakeSilence();
        if (c.key)
            keyMap.Write(c.key, c.entry);
        Midi(c.control, c.value);
        SCOPED_TRACE(std::string(c.rig) + " " + (c.key ? c.key : "") + " '" + c.entry + "' " + c.vfoB + " " + c.mode);
        EXPECT_EQ(Outcome(), c.outcome) << int(c.control) << "/" << int(c.value);
        EXPECT_EQ(radio.State().vfoA, 14060000);
        const QString copies = QString::number(radio.State().vfoB) + "/" + radio.modeDigit();
        EXPECT_EQ(copies, cat.commands.isEmpty() ? QString::number(QString(c.vfoB).toLongLong()) + "/" + c.mode : copies);
    }

    // Quick steps build on the copy, one command each (the sender's line
    // keeps up); copy and swap use the replies the poll stored.
    options.SetText(Options::Key::RigType, "flex");
    ResetRadio();
    keyMap.Write("f6446", "#UP1000");
    for (const std::uint8_t control : {0x64, 0x64, 0x66, 0x64, 0x04, 0x0E, 0x64})
        Midi(control, control == 0x64 ? 0x46 : control == 0x66 ? 0x41 : 0x7F);
    EXPECT_EQ(cat.commands, QStringList({"FA00014061000;", "FA00014062000;", "FB00007030010;", "FA00014063000;",
                                         "FA00007030000;", "FB00014060000;", "FB00014060000;", "FA00014064000;"}));
}
