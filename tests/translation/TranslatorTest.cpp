#include "core/VbError.h"
#include "support/RecordingAlerts.h"
#include "support/MemorySettingsStore.h"
#include "support/RecordingCatSender.h"
#include "translation/Translator.h"
#include "core/KeyMap.h"
#include "core/Options.h"
#include "core/RadioState.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

const QString kVfoA = QStringLiteral("00014060000");
const QString kVfoB = QStringLiteral("00007030000");

QString IfReply(const QString& frequency)
{
    return QStringLiteral("IF") + frequency + QString(24, QLatin1Char('0')) + QLatin1Char(';');
}

// What the radio must receive for a default entry, worked out independently of
// the translator: steps in integer arithmetic on the fixture's frequencies.
QStringList ExpectedFor(const QString& entry, const QString& midiid)
{
    static const QRegularExpression step(QStringLiteral("^#(UP|DN)(\\d+)$"));
    const QRegularExpressionMatch m = step.match(entry);
    if (m.hasMatch()) {
        const bool vfoB = midiid == QLatin1String("66");
        const qint64 start = vfoB ? 7030000 : 14060000;
        const qint64 delta = m.captured(2).toLongLong();
        const qint64 hz = m.captured(1) == QLatin1String("UP") ? start + delta : start - delta;
        return {QString::asprintf("%s%011lld;", vfoB ? "FB" : "FA", hz)};
    }
    if (entry == QLatin1String("#A/B"))
        return {"FA00007030000;", "FB00014060000;"};
    if (entry == QLatin1String("#A>B"))
        return {"FB00014060000;"};
    if (entry == QLatin1String("#MUP"))
        return {"MD3;"};
    if (entry == QLatin1String("#TXPWR"))
        return {"PC 50;"};
    if (entry == QLatin1String("#CWSPD"))
        return {"KS 50;"};
    return {entry};
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
        radio.last_cat_fb = QStringLiteral("FB") + kVfoB + QLatin1Char(';');
        radio.Mode = QStringLiteral("2");
        radio.valid_cat_a = true;
        radio.valid_cat_b = true;
        cat.commands.clear();
        alerts.boxes.clear();
    }

    // A control change with these two data bytes, given in hexadecimal.
    void Midi(const QString& midiid, const QString& midicmd)
    {
        translator.ProcessMIDI(MidiEvent::Short(0xB0, midiid.toUInt(nullptr, 16), midicmd.toUInt(nullptr, 16)));
    }

    void ExpectNothingHappened(const char* what)
    {
        EXPECT_TRUE(cat.commands.isEmpty()) << what << ": " << qPrintable(cat.commands.join('|'));
        EXPECT_TRUE(alerts.boxes.isEmpty()) << what << ": " << qPrintable(alerts.texts().join('|'));
    }

    void ExpectReport(const QString& text)
    {
        ASSERT_EQ(alerts.boxes.size(), 1);
        EXPECT_EQ(alerts.boxes[0].text, text);
        EXPECT_EQ(alerts.boxes[0].buttons, IAlerts::Buttons::Ok);
        EXPECT_EQ(alerts.boxes[0].icon, IAlerts::Icon::Information);
    }

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
            QString midiid = def.suffix.left(2).toUpper();
            QString midicmd = def.suffix.mid(2).toUpper();
            if (def.suffix.startsWith("km")) {
                midiid = def.suffix == "km2sldb" ? "68" : "6A";
                midicmd = "40";
            }
            Midi(midiid, midicmd);
            const QString where = rig + " " + def.suffix + " " + entry;
            EXPECT_EQ(cat.commands, ExpectedFor(entry, midiid)) << qPrintable(where);
            EXPECT_TRUE(alerts.boxes.isEmpty()) << qPrintable(where);
        }
    }
}

TEST_F(TranslatorTest, StepsBuildOnTheCopyAndRoundTheStepDown)
{
    keyMap.Write("f6446", "#UP1000");
    Midi("64", "46");
    Midi("64", "46");
    EXPECT_EQ(cat.commands, QStringList({"FA00014061000;", "FA00014062000;"}));
    EXPECT_EQ(radio.vfo_a_str, "00014062000");

    const struct {
        const char* entry;
        const char* vfoB;
        const char* sent;
    } cases[] = {
        {"#DN1000", "00000000500", "FB-00000000500;"},
        {"#UP10.7", "00007030000", "FB00007030010;"},
        {"#DN10.7", "00007030000", "FB00007029990;"},
        {"#UP-10.5", "00007030000", "FB00007029989;"},
        {"#UP 25 ", "7030000.9", "FB00007030025;"},
        {"#DN1", "00000000000", "FB-00000000001;"},
        {"#UP100", "99999999950", "FB100000000050;"},
        {"#DN00", "-00000000500", "FB-00000000500;"},
    };
    for (const auto& c : cases) {
        ResetRadio();
        keyMap.Write("f663f", c.entry);
        radio.vfo_b_str = c.vfoB;
        Midi("66", "3F");
        EXPECT_EQ(cat.commands, QStringList{c.sent}) << c.entry << " from " << c.vfoB;
        EXPECT_EQ(QStringLiteral("FB") + radio.vfo_b_str + ";", c.sent) << c.entry;
    }
}

TEST_F(TranslatorTest, NothingIsDoneWhileTheLinkIsDown)
{
    radio.valid_cat_a = false;
    const char* messages[][2] = {{"64", "41"}, {"64", "40"}, {"66", "41"}, {"68", "7F"},
                                 {"6A", "00"}, {"04", "7F"}, {"06", "7F"}, {"0E", "7F"}};
    for (const auto& m : messages)
        Midi(m[0], m[1]);
    ExpectNothingHappened("link down");
    EXPECT_EQ(radio.vfo_a_str, kVfoA);
    EXPECT_EQ(radio.Mode, "2");

    translator.SendCatByCode("#MUP", 0x7F);
    ExpectNothingHappened("SendCatByCode with link down");
}

TEST_F(TranslatorTest, MessagesWithoutAControlAreIgnored)
{
    radio.valid_cat_b = false;
    const char* messages[][2] = {
        {"66", "41"}, // VFO B unknown
        {"01", "00"}, {"04", "7E"}, {"06", "40"}, {"0B", "00"}, // buttons not pressed
        {"07", "7F"}, {"0A", "7F"}, {"11", "7F"}, {"00", "7F"}, {"00", "00"}, // no button
        {"65", "41"},
    };
    for (const auto& m : messages)
        Midi(m[0], m[1]);
    ExpectNothingHappened("no control");
    EXPECT_EQ(radio.vfo_b_str, kVfoB);
}

TEST_F(TranslatorTest, WheelValuesWithoutAnEntryShowTheMissingKeyMessage)
{
    for (const char* value : {"40", "33", "4D", "00", "7F"}) {
        alerts.boxes.clear();
        Midi("64", value);
        ExpectReport(Translator::MissingKeyMessage());
        EXPECT_TRUE(cat.commands.isEmpty()) << value;
    }
    EXPECT_EQ(Translator::MissingKeyMessage(),
              "Object not found runtime error. Please verify your Vorn-MIDI knob map is set "
              "correctly (home 100=Wheel A, mode 1 102=Wheel A, mode 2 104=slider B, mode 3 "
              "106=slider B.");
}

TEST_F(TranslatorTest, RigTypeGivesThePrefixOfWheelsAndPicksTheButtonMap)
{
    const struct {
        const char* rigtype;
        const char* wheelSends; // controller 64 value 41, "" for the missing-key message
        const char* buttonSends; // button 1, "" for nothing
    } cases[] = {
        {"elecraft", "UP1;", "SWT10;"},
        {"flex", "FA00014060010;", "FT1;"},
        {"Flex", "FA00014060010;", ""},
        {"ELECRAFT", "UP1;", ""},
        {"elecraft ", "UP1;", ""},
        {"kenwood", "", ""},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        ResetRadio();
        options.rigtype = c.rigtype;
        Midi("64", "41");
        Midi("01", "7F");
        QStringList expected;
        for (const char* sent : {c.wheelSends, c.buttonSends})
            if (*sent)
                expected << sent;
        EXPECT_EQ(cat.commands, expected) << c.rigtype;
        EXPECT_EQ(alerts.boxes.size(), *c.wheelSends ? 0 : 1) << c.rigtype;
    }
}

TEST_F(TranslatorTest, BuiltKeysFindLowerCaseEntriesAndRigSwitchNeedsNoReload)
{
    options.rigtype = "elecraft";
    Midi("64", "4A");
    Midi("04", "7F");
    options.rigtype = "flex";
    Midi("04", "7F");
    EXPECT_EQ(cat.commands,
              QStringList({"UP7;", "SWT13;", "FA00007030000;", "FB00014060000;"}));
}

TEST_F(TranslatorTest, EntriesAreCarriedOutExactlyAsWritten)
{
    const struct {
        const char* entry;
        const char* midiid;
        const char* midicmd;
        QStringList sent;
    } cases[] = {
        {"#up10", "64", "41", {}},
        {"#Up10", "64", "41", {}},
        {"#A>B", "64", "41", {}},
        {"#MUP", "66", "41", {}},
        {"#TXPWR ", "68", "40", {}},
        {" #TXPWR", "68", "40", {" #TXPWR"}},
        {"#txpwr", "68", "40", {}},
        {"#RIT", "68", "40", {}},
        {"#UP10", "68", "40", {}},
        {"#rit", "01", "7F", {}},
        {"#RIT", "01", "7F", {}},
        {"#", "01", "7F", {}},
        {"", "01", "7F", {""}},
        {"UP1;", "6A", "00", {"UP1;"}},
        {"  swt10; ", "01", "7F", {"  swt10; "}},
        {"#MUP", "0B", "7F", {"MD3;"}},
        {"#TXPWR", "0F", "7F", {"PC 100;"}},
        {"#CWSPD", "10", "7F", {"KS 100;"}},
    };
    for (const auto& c : cases) {
        ResetRadio();
        const QString key = QStringLiteral("f") +
            (QString(c.midiid) == "68" ? "km2sldb" : QString(c.midiid) == "6A" ? "km3sldb"
                                                                            : c.midiid + QString(c.midicmd));
        keyMap.Write(key, c.entry);
        Midi(c.midiid, c.midicmd);
        EXPECT_EQ(cat.commands, c.sent) << "'" << c.entry << "' on " << c.midiid;
        EXPECT_TRUE(alerts.boxes.isEmpty()) << c.entry;
        EXPECT_EQ(radio.vfo_a_str, kVfoA) << c.entry;
        EXPECT_EQ(radio.vfo_b_str, kVfoB) << c.entry;
    }
}

TEST_F(TranslatorTest, SliderValuesAreScaledToPowerAndSpeed)
{
    const struct {
        const char* value;
        const char* power;
        const char* speed;
    } cases[] = {
        {"00", "PC 0;", "KS 5;"},     {"03", "PC 2;", "KS 5;"},     {"06", "PC 5;", "KS 5;"},
        {"07", "PC 6;", "KS 6;"},     {"40", "PC 50;", "KS 50;"},   {"64", "PC 79;", "KS 79;"},
        {"7E", "PC 99;", "KS 99;"},   {"7F", "PC 100;", "KS 100;"},
    };
    for (const auto& c : cases) {
        ResetRadio();
        Midi("68", c.value);
        Midi("6A", c.value);
        EXPECT_EQ(cat.commands, QStringList({c.power, c.speed})) << c.value;
    }
}

TEST_F(TranslatorTest, ModeStepSkipsSevenAndEightAndWrapsAfterNine)
{
    radio.Mode = "1";
    QStringList modes;
    for (int i = 0; i < 8; ++i) {
        Midi("06", "7F");
        modes << radio.Mode;
    }
    EXPECT_EQ(modes, QStringList({"2", "3", "4", "5", "6", "9", "1", "2"}));
    EXPECT_EQ(cat.commands,
              QStringList({"MD2;", "MD3;", "MD4;", "MD5;", "MD6;", "MD9;", "MD1;", "MD2;"}));

    const char* from[][2] = {{"7", "8"}, {"8", "9"}, {"0", "1"}, {" 3 ", "4"}, {"4.9", "5"}};
    for (const auto& f : from) {
        ResetRadio();
        radio.Mode = f[0];
        translator.SendCatByCode("#MUP", 0x7F);
        EXPECT_EQ(radio.Mode, f[1]) << f[0];
        EXPECT_EQ(cat.commands, QStringList{QStringLiteral("MD%1;").arg(f[1])}) << f[0];
    }
    EXPECT_EQ(radio.last_cat_mode, "");
}

TEST_F(TranslatorTest, VfoCopyAndSwapUseTheStoredReplies)
{
    radio.vfo_a_str = "00014060500"; // a wheel step since the last poll is not seen
    translator.SendCatByCode("#A/B", 0x7F);
    translator.SendCatByCode("#A>B", 0x7F);
    EXPECT_EQ(cat.commands,
              QStringList({"FA00007030000;", "FB00014060000;", "FB00014060000;"}));
    EXPECT_EQ(radio.last_cat_if, IfReply(kVfoA));

    cat.commands.clear();
    radio.valid_cat_b = false;
    translator.SendCatByCode("#A/B", 0x7F);
    translator.SendCatByCode("#A>B", 0x7F);
    ExpectNothingHappened("VFO B unknown");
}

TEST_F(TranslatorTest, FailuresAreReportedAndNothingIsSent)
{
    const struct {
        const char* entry;
        const char* vfoB;
        const char* mode;
        const char* fbReply;
        const char* midiid;
        const char* midicmd;
        const char* report;
    } cases[] = {
        {"#UP", "00007030000", "2", "FB00007030000;", "66", "41", "13 - Type mismatch: \"\""},
        {"#UP10;", "00007030000", "2", "FB00007030000;", "66", "41",
         "13 - Type mismatch: \"10;\""},
        {"#DN1e3", "00007030000", "2", "FB00007030000;", "66", "41",
         "13 - Type mismatch: \"1e3\""},
        {"#UP10", "", "2", "FB00007030000;", "66", "41", "13 - Type mismatch: \"\""},
        {"#UP10", "7030k", "2", "FB00007030000;", "66", "41", "13 - Type mismatch: \"7030k\""},
        {"#UP10", "99999999999999999999", "2", "FB00007030000;", "66", "41", "6 - Overflow"},
        {"#MUP", "00007030000", "", "FB00007030000;", "01", "7F", "13 - Type mismatch: \"\""},
        {"#MUP", "00007030000", "U", "FB00007030000;", "01", "7F", "13 - Type mismatch: \"U\""},
        {"#MUP", "00007030000", "32767", "FB00007030000;", "01", "7F", "6 - Overflow"},
        {"#A/B", "00007030000", "2", "FB703;", "01", "7F",
         "13 - Type mismatch: no frequency in reply \"FB703;\""},
        {"#A/B", "00007030000", "2", "FB0000703000x;", "01", "7F",
         "13 - Type mismatch: no frequency in reply \"FB0000703000x;\""},
    };
    for (const auto& c : cases) {
        ResetRadio();
        radio.vfo_b_str = c.vfoB;
        radio.Mode = c.mode;
        radio.last_cat_fb = c.fbReply;
        const QString midiid = c.midiid;
        const QString key = midiid == "68" ? QStringLiteral("fkm2sldb") : "f" + midiid + c.midicmd;
        keyMap.Write(key, c.entry);
        Midi(c.midiid, c.midicmd);
        ExpectReport(QStringLiteral("VB6 runtime error (ProcessMIDI): ") + c.report);
        EXPECT_TRUE(cat.commands.isEmpty()) << c.entry;
        EXPECT_EQ(radio.vfo_b_str, c.vfoB) << c.entry;
        EXPECT_EQ(radio.Mode, c.mode) << c.entry;
    }
}
