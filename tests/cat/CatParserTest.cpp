#include "cat/CatParser.h"
#include "core/Options.h"
#include "core/RadioState.h"
#include "support/RadioReply.h"
#include "support/RecordingAlerts.h"
#include "support/RecordingLamp.h"

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
QString Text(const RadioState& s, const CatParser& parser)
{
    return QStringList{QString::number(s.vfoA), QString::number(s.vfoB), s.mode + "/" + parser.modeDigit(),
                       FlagText(s.rit), FlagText(s.xit), parser.statusReply().mid(2, 11), parser.vfoBReply(),
                       s.answering ? "A" : "-", s.vfoBKnown ? "B" : "-"}
        .join('|');
}
}

// A reply that is not current answers a query that a later command overtook:
// it proves the link, but the values the program holds are newer.
TEST(CatParser, EachReplyChangesOnlyItsPartOfTheState)
{
    const QString before = "7000000|3500000|USB/2|0|0|00007000000|FB00003500000;|-|B";
    const struct { const char* name; QString reply; QString after; bool lampUp = false; bool current = true; } cases[] = {
        {"a whole IF takes frequency, mode and the reply", kIf38,
         "14060000|3500000|CW/3|0|0|00014060000|FB00003500000;|A|B", true},
        {"IF of 37 characters takes only the mode", kIf38.left(36) + ";", "7000000|3500000|CW/3|0|0|00007000000|FB00003500000;|-|B"},
        {"IF of 39 characters takes only the mode", kIf38.left(37) + "X;", "7000000|3500000|CW/3|0|0|00007000000|FB00003500000;|-|B"},
        {"IF with a garbled frequency takes only the mode", IfReply("0001406000x"),
         "7000000|3500000|CW/3|0|0|00007000000|FB00003500000;|-|B"},
        {"a short IF empties the mode", "IF;", "7000000|3500000|/|0|0|00007000000|FB00003500000;|-|B"},
        {"lower-case if is ignored", "if" + kIf38.mid(2), before},
        {"FB takes VFO B", "FB00007030000;", "7000000|7030000|USB/2|0|0|00007000000|FB00007030000;|-|B"},
        {"a short FB keeps VFO B", "FB123;", "7000000|3500000|USB/2|0|0|00007000000|FB123;|-|B"},
        {"RT1", "RT1;", "7000000|3500000|USB/2|1|0|00007000000|FB00003500000;|-|B"},
        {"RT without a digit", "RT;", "7000000|3500000|USB/2|?|0|00007000000|FB00003500000;|-|B"},
        {"XT1", "XT1;", "7000000|3500000|USB/2|0|1|00007000000|FB00003500000;|-|B"},
        {"a rejection clears VFO B only", "?;", "7000000|3500000|USB/2|0|0|00007000000|FB00003500000;|-|-"},
        {"an unknown reply", "MD2;", before},
        {"a fragment without a name", "0000;", before},
        {"nothing", "", before},
        {"an IF not current only proves the link", kIf38, "7000000|3500000|USB/2|0|0|00007000000|FB00003500000;|A|B",
         true, false},
        {"a short IF not current", "IF;", before, false, false},
        {"an FB not current", "FB00007030000;", before, false, false},
        {"an RT not current", "RT1;", before, false, false},
        {"an XT not current", "XT1;", before, false, false},
    };
    Options options;
    options.rigType = "flex";
    for (const auto& c : cases) {
        RadioState state;
        RecordingLamp lamp;
        RecordingAlerts alerts;
        CatParser parser(state, lamp, alerts, options);
        for (const QString& reply : {IfReply("00007000000", '2'), QString("FB00003500000;"), QString("RT0;"), QString("XT0;")})
            parser.Take(reply);
        state.answering = lamp.up = false;
        parser.Take(c.reply, c.current);
        EXPECT_EQ(Text(state, parser), c.after) << c.name;
        EXPECT_EQ(lamp.up, c.lampUp) << c.name;
        EXPECT_TRUE(alerts.boxes.isEmpty()) << c.name;
    }
    RadioState fresh;
    RecordingLamp lamp;
    RecordingAlerts alerts;
    CatParser(fresh, lamp, alerts, options).Take(kIf38);
    EXPECT_TRUE(fresh.answering && !fresh.vfoBKnown);
}
