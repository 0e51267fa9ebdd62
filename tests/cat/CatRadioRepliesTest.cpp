#include "cat/CatRadio.h"
#include "core/Options.h"
#include "support/QtPrinters.h"
#include "support/RadioReply.h"
#include "support/RecordingAlerts.h"
#include "support/RecordingCatLink.h"

#include <gtest/gtest.h>

namespace {
// A 38-character status reply: VFO A 14 060 000 Hz, mode 3 (CW) in character 30.
const QString kIf38 = IfReply();

QString FlagText(const std::optional<bool>& flag)
{
    return flag ? (*flag ? "1" : "0") : "?";
}

// The whole state in one line: VFO A, VFO B, mode (its name and the radio's
// digit), RIT, XIT, the frequency of the stored IF reply, the stored FB
// reply, and whether the radio answers and VFO B is known.
QString Text(const CatRadio& radio)
{
    const RadioState& s = radio.State();
    return QStringList{QString::number(s.vfoA), QString::number(s.vfoB), s.mode + "/" + radio.modeDigit(),
                       FlagText(s.rit), FlagText(s.xit), radio.statusReply().mid(2, 11), radio.vfoBReply(),
                       s.answering ? "A" : "-", s.vfoBKnown ? "B" : "-"}
        .join('|');
}

struct Radio {
    Radio() { options.SetText(Options::Key::RigType, "flex"); }
    Options options;
    RecordingCatLink link;
    RecordingAlerts alerts;
    CatRadio radio{link, alerts, options};
};
} // namespace

// A reply that is not current answers a query that a later command overtook:
// it proves the link, but the values the program holds are newer.
TEST(CatRadioReplies, EachReplyChangesOnlyItsPartOfTheState)
{
    const QString before = "7000000|3500000|USB/2|0|0|00007000000|FB00003500000;|-|-";
    const struct { const char* name; QString reply; QString after; bool current = true; } cases[] = {
        {"a whole IF takes frequency, mode and the reply", kIf38,
         "14060000|3500000|CW/3|0|0|00014060000|FB00003500000;|A|-"},
        {"IF of 37 characters takes only the mode", kIf38.left(36) + ";", "7000000|3500000|CW/3|0|0|00007000000|FB00003500000;|-|-"},
        {"IF of 39 characters takes only the mode", kIf38.left(37) + "X;", "7000000|3500000|CW/3|0|0|00007000000|FB00003500000;|-|-"},
        {"IF with a garbled frequency takes only the mode", IfReply("0001406000x"),
         "7000000|3500000|CW/3|0|0|00007000000|FB00003500000;|-|-"},
        {"a short IF empties the mode", "IF;", "7000000|3500000|/|0|0|00007000000|FB00003500000;|-|-"},
        {"lower-case if is ignored", "if" + kIf38.mid(2), before},
        {"FB takes VFO B", "FB00007030000;", "7000000|7030000|USB/2|0|0|00007000000|FB00007030000;|-|B"},
        {"a short FB keeps VFO B", "FB123;", "7000000|3500000|USB/2|0|0|00007000000|FB123;|-|B"},
        {"RT1", "RT1;", "7000000|3500000|USB/2|1|0|00007000000|FB00003500000;|-|-"},
        {"RT without a digit", "RT;", "7000000|3500000|USB/2|?|0|00007000000|FB00003500000;|-|-"},
        {"XT1", "XT1;", "7000000|3500000|USB/2|0|1|00007000000|FB00003500000;|-|-"},
        {"an unknown reply", "MD2;", before},
        {"a fragment without a name", "0000;", before},
        {"nothing", "", before},
        {"an IF not current only proves the link", kIf38, "7000000|3500000|USB/2|0|0|00007000000|FB00003500000;|A|-",
         false},
        {"a short IF not current", "IF;", before, false},
        {"an FB not current only says VFO B is there", "FB00007030000;",
         "7000000|3500000|USB/2|0|0|00007000000|FB00003500000;|-|B", false},
        {"an RT not current", "RT1;", before, false},
        {"an XT not current", "XT1;", before, false},
    };
    for (const auto& c : cases) {
        Radio r;
        for (const QString& reply : {IfReply("00007000000", '2'), QString("FB00003500000;"), QString("RT0;"), QString("XT0;")})
            r.radio.TakeReply(reply, true);
        r.radio.TakeSilence();
        r.radio.TakeReply(c.reply, c.current);
        EXPECT_EQ(Text(r.radio), c.after) << c.name;
        EXPECT_TRUE(r.alerts.boxes.isEmpty()) << c.name;
    }
    Radio fresh;
    fresh.radio.TakeReply("FB00007030000;", true);
    fresh.radio.TakeRefusal("NB");
    EXPECT_TRUE(fresh.radio.State().vfoBKnown) << "a radio without a noise blanker may have VFO B";
    fresh.radio.TakeRefusal("FB");
    EXPECT_FALSE(fresh.radio.State().vfoBKnown) << "a radio that refuses to tell VFO B has none";
}

// Every change of the state is told once, with what changed, and a poll that
// finds the radio as it was tells nothing.
TEST(CatRadioReplies, EachChangeIsToldOnceAndAnUnchangedPollNotAtAll)
{
    Radio r;
    QList<RadioState::Fields> told;
    QObject::connect(&r.radio, &IRadio::stateChanged,
                     [&](RadioState::Fields fields, const RadioState& before, const RadioState& after) {
                         EXPECT_EQ(before.DifferencesTo(after), fields);
                         told << fields;
                     });
    const QStringList poll = {IfReply("00007000000", '2'), "FB00003500000;", "RT0;", "XT0;", "NB1;"};
    for (const QString& reply : poll)
        r.radio.TakeReply(reply, true);
    using F = RadioState::Field;
    EXPECT_EQ(told, (QList<RadioState::Fields>{F::Answering | F::VfoA | F::Transmitting | F::Split | F::Mode |
                                                   F::VfoBInUse,
                                               F::VfoBKnown | F::VfoB, F::Rit, F::Xit, F::Functions}));
    told.clear();
    for (const QString& reply : poll)
        r.radio.TakeReply(reply, true);
    EXPECT_TRUE(told.isEmpty());

    r.radio.StepFrequency(Vfo::A, 7000010);
    r.radio.TakeSilence();
    r.radio.TakeSilence();
    EXPECT_EQ(told, (QList<RadioState::Fields>{F::VfoA, F::Answering | F::VfoBKnown}));
}

// The noise blanker's reply and the status reply's receiving VFO (character
// 31: 0 VFO A, 1 VFO B, 2 a memory) set what the lights show.
TEST(CatRadioReplies, NoiseBlankerAndReceivingVfo)
{
    const QString onB = IfReply().left(30) + "1" + IfReply().mid(31);
    const QString onMemory = IfReply().left(30) + "2" + IfReply().mid(31);
    const struct { QString reply; bool current; QString after; } cases[] = {
        {"NB1;", true, "1|?"},  {"NB0;", true, "0|?"},      {"NB;", true, "?|?"},      {"NB1;", false, "?|?"},
        {IfReply(), true, "?|0"}, {onB, true, "?|1"}, {onMemory, true, "?|?"}, {onB, false, "?|?"},
    };
    for (const auto& c : cases) {
        Radio r;
        r.radio.TakeReply(c.reply, c.current);
        const RadioState& s = r.radio.State();
        EXPECT_EQ(FlagText(s.Function("NB")) + "|" + FlagText(s.vfoBInUse), c.after) << c.reply.toStdString();
    }
}
