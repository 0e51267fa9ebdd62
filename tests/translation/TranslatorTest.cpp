#include "core/KeyMap.h"
#include "core/Options.h"
#include "core/RadioState.h"
#include "core/VbError.h"
#include "support/MemorySettingsStore.h"
#include "support/RadioReply.h"
#include "support/RecordingAlerts.h"
#include "support/RecordingCatSender.h"
#include "translation/Translator.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

const QString kVfoA = QStringLiteral("00014060000");
const QString kVfoB = QStringLiteral("00007030000");
const QString kFbB = QStringLiteral("FB") + kVfoB + QLatin1Char(';');
const QString kFailure = QStringLiteral("VB6 runtime error (ProcessMIDI): ");

// What the radio must receive for a default entry, worked out independently of
// the translation: steps in integer arithmetic on the fixture's frequencies.
QStringList ExpectedFor(const QString& entry, std::uint8_t control)
{
    static const QRegularExpression step(QStringLiteral("^#(UP|DN)(\\d+)$"));
    const QRegularExpressionMatch m = step.match(entry);
    if (m.hasMatch()) {
        const bool vfoB = control == 0x66;
        const qint64 start = vfoB ? 7030000 : 14060000;
        const qint64 delta = m.captured(2).toLongLong();
        const qint64 hz = m.captured(1) == QLatin1String("UP") ? start + delta : start - delta;
        return {QString::asprintf("%s%011lld;", vfoB ? "FB" : "FA", hz)};
    }
    const QHash<QString, QStringList> software = {
        {"#A/B", {"FA00007030000;", "FB00014060000;"}}, {"#A>B", {"FB00014060000;"}},
        {"#MUP", {"MD3;"}}, {"#TXPWR", {"PC 50;"}}, {"#CWSPD", {"KS 50;"}}};
    return software.value(entry, {entry});
}

class TranslatorTest : public ::testing::Test {
protected:
    TranslatorTest()
    {
        keyMap.Load(settings);
        options.rigtype = QStringLiteral("flex");
        ResetRadio();
    }

    void ResetRadio()
    {
        radio = RadioState();
        radio.vfo_a_str = kVfoA;
        radio.vfo_b_str = kVfoB;
        radio.last_cat_if = IfReply(kVfoA);
        radio.last_cat_fb = kFbB;
        radio.Mode = QStringLiteral("2");
        radio.valid_cat_a = radio.valid_cat_b = true;
        cat.commands.clear();
        alerts.boxes.clear();
    }

    // A control change with these two data bytes.
    void Midi(std::uint8_t control, std::uint8_t value)
    {
        translator.ProcessMIDI(MidiEvent::Short(0xB0, control, value));
    }

    QString Outcome() const { return cat.commands.join('|') + " / " + alerts.texts().join('|'); }

    MemorySettingsStore settings;
    KeyMap keyMap;
    RadioState radio;
    Options options;
    RecordingCatSender cat;
    RecordingAlerts alerts;
    Translator translator{keyMap, radio, options, cat, alerts};
};

} // namespace

TEST_F(TranslatorTest, EveryDefaultEntryOfBothMapsSendsItsCommands)
{
    for (const QString rig : {"elecraft", "flex"}) {
        options.rigtype = rig;
        for (const KeyMap::KeyDef& def : KeyMap::Suffixes()) {
            ResetRadio();
            const QString entry = rig == "flex" ? def.flexDefault : def.elecraftDefault;
            std::uint8_t control = def.suffix.left(2).toUInt(nullptr, 16);
            std::uint8_t value = def.suffix.mid(2).toUInt(nullptr, 16);
            if (def.suffix.startsWith("km")) {
                control = def.suffix == "km2sldb" ? 0x68 : 0x6A;
                value = 0x40;
            }
            Midi(control, value);
            EXPECT_EQ(Outcome(), ExpectedFor(entry, control).join('|') + " / ")
                << qPrintable(rig + " " + def.suffix);
        }
    }
}

// One row per message: which entry it finds, what reaches the radio, what the user is told.
TEST_F(TranslatorTest, MessagesEntriesAndRadioStatesGiveTheirCommands)
{
    const QString missing = Translator::MissingKeyMessage();
    const struct Case {
        const char* rig;
        const char* key;  // the entry changed for this row, nullptr for none
        const char* entry;
        std::uint8_t control, value;
        bool validA, validB;
        QString outcome;
    } cases[] = {
        // The rig type gives the prefix; a button needs the exact rig name.
        {"elecraft", nullptr, "", 0x64, 0x41, true, true, "UP1; / "},
        {"elecraft", nullptr, "", 0x01, 0x7F, true, true, "SWT10; / "},
        {"Flex", nullptr, "", 0x01, 0x7F, true, true, " / "},
        {"kenwood", nullptr, "", 0x64, 0x41, true, true, " / " + missing},
        {"elecraft", nullptr, "", 0x64, 0x4A, true, true, "UP7; / "},
        // Nothing is done while the link is down; VFO B only once it is known.
        {"flex", nullptr, "", 0x64, 0x41, false, true, " / "},
        {"flex", nullptr, "", 0x06, 0x7F, false, true, " / "},
        {"flex", nullptr, "", 0x66, 0x41, true, false, " / "},
        {"flex", nullptr, "", 0x04, 0x7F, true, false, " / "},
        // Messages without a control or a press.
        {"flex", nullptr, "", 0x01, 0x00, true, true, " / "},
        {"flex", nullptr, "", 0x0B, 0x40, true, true, " / "},
        {"flex", nullptr, "", 0x07, 0x7F, true, true, " / "},
        {"flex", nullptr, "", 0x11, 0x7F, true, true, " / "},
        {"flex", nullptr, "", 0x65, 0x41, true, true, " / "},
        {"flex", nullptr, "", 0x64, 0x40, true, true, " / " + missing},
        {"flex", nullptr, "", 0x64, 0x7F, true, true, " / " + missing},
        // The slider's value is scaled to power and speed; the speed stays at 5 or more.
        {"flex", nullptr, "", 0x68, 0x00, true, true, "PC 0; / "},
        {"flex", nullptr, "", 0x68, 0x64, true, true, "PC 79; / "},
        {"flex", nullptr, "", 0x6A, 0x06, true, true, "KS 5; / "},
        {"flex", nullptr, "", 0x6A, 0x07, true, true, "KS 6; / "},
        {"flex", nullptr, "", 0x6A, 0x7F, true, true, "KS 100; / "},
        // Entries are carried out exactly as written.
        {"flex", "f6441", "#up10", 0x64, 0x41, true, true, " / "},
        {"flex", "f6441", "#A>B", 0x64, 0x41, true, true, " / "},
        {"flex", "fkm2sldb", "#TXPWR ", 0x68, 0x40, true, true, " / "},
        {"flex", "fkm2sldb", " #TXPWR", 0x68, 0x40, true, true, " #TXPWR / "},
        {"flex", "fkm2sldb", "#UP10", 0x68, 0x40, true, true, " / "},
        {"flex", "f017f", "#RIT", 0x01, 0x7F, true, true, " / "},
        {"flex", "f017f", "", 0x01, 0x7F, true, true, " / "},
        {"flex", "fkm3sldb", "UP1;", 0x6A, 0x00, true, true, "UP1; / "},
        {"flex", "f017f", "  swt10; ", 0x01, 0x7F, true, true, "  swt10;  / "},
        {"flex", "f0b7f", "#MUP", 0x0B, 0x7F, true, true, "MD3; / "},
        {"flex", "f0f7f", "#TXPWR", 0x0F, 0x7F, true, true, "PC 100; / "},
        {"flex", "f107f", "#CWSPD", 0x10, 0x7F, true, true, "KS 100; / "},
        // Steps round down and work on the copy of the VFO.
        {"flex", "f663f", "#UP10.7", 0x66, 0x3F, true, true, "FB00007030010; / "},
        {"flex", "f663f", "#DN10.7", 0x66, 0x3F, true, true, "FB00007029990; / "},
        {"flex", "f663f", "#UP-10.5", 0x66, 0x3F, true, true, "FB00007029989; / "},
        {"flex", "f663f", "#UP 25 ", 0x66, 0x3F, true, true, "FB00007030025; / "},
        // Bad entries are reported and send nothing.
        {"flex", "f663f", "#UP", 0x66, 0x3F, true, true, " / " + kFailure + "13 - Type mismatch: \"\""},
        {"flex", "f6641", "#UP10;", 0x66, 0x41, true, true, " / " + kFailure + "13 - Type mismatch: \"10;\""},
        {"flex", "f6641", "#DN1e3", 0x66, 0x41, true, true, " / " + kFailure + "13 - Type mismatch: \"1e3\""},
    };
    for (const Case& c : cases) {
        ResetRadio();
        options.rigtype = c.rig;
        radio.valid_cat_a = c.validA;
        radio.valid_cat_b = c.validB;
        if (c.key)
            keyMap.Write(c.key, c.entry);
        Midi(c.control, c.value);
        EXPECT_EQ(Outcome(), c.outcome) << c.rig << " " << (c.key ? c.key : "") << " '" << c.entry
                                        << "' " << int(c.control) << "/" << int(c.value);
        EXPECT_EQ(radio.vfo_a_str, kVfoA);
        if (c.key)
            keyMap.Load(settings);
    }
}

// The radio state a command is built from: the VFO copies, the mode, the
// stored replies; unusable state is reported and nothing is sent.
TEST_F(TranslatorTest, CommandsBuildOnTheRadioStateOrReportIt)
{
    const struct Case {
        const char* entry;
        const char* vfoB;
        const char* mode;
        const char* fbReply;
        QString outcome;
    } cases[] = {
        {"#UP100", "99999999950", "2", "", "FB100000000050; / "},
        {"#DN1", "00000000000", "2", "", "FB-00000000001; / "},
        {"#DN00", "-00000000500", "2", "", "FB-00000000500; / "},
        {"#UP10", "", "2", "", " / " + kFailure + "13 - Type mismatch: \"\""},
        {"#UP10", "7030k", "2", "", " / " + kFailure + "13 - Type mismatch: \"7030k\""},
        {"#UP10", "99999999999999999999", "2", "", " / " + kFailure + "6 - Overflow"},
        {"#MUP", "", "6", "", "MD9; / "},
        {"#MUP", "", "7", "", "MD8; / "},
        {"#MUP", "", "9", "", "MD1; / "},
        {"#MUP", "", " 3 ", "", "MD4; / "},
        {"#MUP", "", "4.9", "", "MD5; / "},
        {"#MUP", "", "U", "", " / " + kFailure + "13 - Type mismatch: \"U\""},
        {"#MUP", "", "32767", "", " / " + kFailure + "6 - Overflow"},
        {"#A/B", "", "2", "FB703;", " / " + kFailure + "13 - Type mismatch: no frequency in reply \"FB703;\""},
        {"#A/B", "", "2", "FB0000703000x;",
         " / " + kFailure + "13 - Type mismatch: no frequency in reply \"FB0000703000x;\""},
    };
    for (const Case& c : cases) {
        ResetRadio();
        radio.vfo_b_str = c.vfoB;
        radio.Mode = c.mode;
        if (*c.fbReply)
            radio.last_cat_fb = c.fbReply;
        const bool step = QString(c.entry).startsWith("#UP") || QString(c.entry).startsWith("#DN");
        keyMap.Write(step ? "f663f" : "f017f", c.entry);
        Midi(step ? 0x66 : 0x01, step ? 0x3F : 0x7F);
        EXPECT_EQ(Outcome(), c.outcome) << c.entry << " " << c.vfoB << c.mode << c.fbReply;
        if (!alerts.boxes.isEmpty()) {
            EXPECT_EQ(radio.vfo_b_str, c.vfoB) << "a failed step leaves the copy";
            EXPECT_EQ(radio.Mode, c.mode) << "a failed step leaves the mode";
        }
    }
    keyMap.Load(settings);

    // Quick steps build on the copy; copy and swap use the replies the poll stored.
    ResetRadio();
    keyMap.Write("f6446", "#UP1000");
    Midi(0x64, 0x46);
    Midi(0x64, 0x46);
    Midi(0x04, 0x7F);
    Midi(0x0E, 0x7F);
    EXPECT_EQ(cat.commands, QStringList({"FA00014061000;", "FA00014062000;", "FA00007030000;",
                                         "FB00014060000;", "FB00014060000;"}));
}
