#include "cat/CatParser.h"
#include "core/IIndicator.h"
#include "core/RadioState.h"
#include "support/RadioReply.h"
#include "support/RecordingAlerts.h"
#include "support/RecordingIndicator.h"

#include <gtest/gtest.h>

namespace {
// A 38-character status reply: VFO A 14 060 000 Hz, mode 3 (CW) in character 30.
const QString kIf38 = IfReply();

// The whole state in one line: VFO A, VFO B, mode (and its copy), RIT, XIT,
// the stored IF and FB replies, and whether A and B are known.
QString Text(const RadioState& s)
{
    return QStringList{s.vfo_a_str, s.vfo_b_str, s.Mode + "/" + s.last_cat_mode, s.rit, s.xit,
                       s.last_cat_if, s.last_cat_fb, s.valid_cat_a ? "A" : "-", s.valid_cat_b ? "B" : "-"}
        .join('|');
}
}

// A reply that is not current answers a query that a later command overtook:
// it proves the link, but the values the program holds are newer.
TEST(ParseCAT, EachReplyChangesOnlyItsPartOfTheState)
{
    const QString before = "00007000000|00003500000|2/2|0|0|old-if|old-fb|-|B";
    const struct { const char* name; QString reply; QString after; int lamp; bool current = true; } cases[] = {
        {"a whole IF takes frequency, mode and the reply", kIf38,
         "00014060000|00003500000|3/3|0|0|" + kIf38 + "|old-fb|A|B", IIndicator::kGreen},
        {"IF of 37 characters takes only the mode", kIf38.left(36) + ";", "00007000000|00003500000|3/3|0|0|old-if|old-fb|-|B", -1},
        {"IF of 39 characters takes only the mode", kIf38.left(37) + "X;", "00007000000|00003500000|3/3|0|0|old-if|old-fb|-|B", -1},
        {"a short IF empties the mode", "IF;", "00007000000|00003500000|/|0|0|old-if|old-fb|-|B", -1},
        {"lower-case if is ignored", "if" + kIf38.mid(2), before, -1},
        {"FB takes VFO B", "FB00007030000;", "00007000000|00007030000|2/2|0|0|old-if|FB00007030000;|-|B", -1},
        {"a short FB is taken as far as it goes", "FB123;", "00007000000|123;|2/2|0|0|old-if|FB123;|-|B", -1},
        {"RT1", "RT1;", "00007000000|00003500000|2/2|1|0|old-if|old-fb|-|B", -1},
        {"RT without a digit", "RT;", "00007000000|00003500000|2/2|;|0|old-if|old-fb|-|B", -1},
        {"XT1", "XT1;", "00007000000|00003500000|2/2|0|1|old-if|old-fb|-|B", -1},
        {"a rejection clears VFO B only", "?;", "00007000000|00003500000|2/2|0|0|old-if|old-fb|-|-", -1},
        {"an unknown reply", "MD2;", before, -1},
        {"a fragment without a name", "0000;", before, -1},
        {"nothing", "", before, -1},
        {"an IF not current only proves the link", kIf38, "00007000000|00003500000|2/2|0|0|old-if|old-fb|A|B",
         IIndicator::kGreen, false},
        {"a short IF not current", "IF;", before, -1, false},
        {"an FB not current", "FB00007030000;", before, -1, false},
        {"an RT not current", "RT1;", before, -1, false},
        {"an XT not current", "XT1;", before, -1, false},
    };
    for (const auto& c : cases) {
        RadioState state{"00007000000", "00003500000", "2", "0", "0", "", "", "old-if", "old-fb", "2", false, true};
        RecordingIndicator lamp;
        RecordingAlerts alerts;
        CatParser(state, lamp, alerts).ParseCAT(c.reply, c.current);
        EXPECT_EQ(Text(state), c.after) << c.name;
        EXPECT_EQ(lamp.color, c.lamp) << c.name;
        EXPECT_TRUE(alerts.boxes.isEmpty()) << c.name;
    }
    RadioState fresh;
    RecordingIndicator lamp;
    RecordingAlerts alerts;
    CatParser(fresh, lamp, alerts).ParseCAT(kIf38);
    EXPECT_TRUE(fresh.valid_cat_a && !fresh.valid_cat_b);
}
