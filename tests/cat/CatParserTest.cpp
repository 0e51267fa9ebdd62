#include "support/QtPrinters.h"
#include "core/IIndicator.h"
#include "cat/CatParser.h"
#include "core/RadioState.h"
#include "support/RecordingAlerts.h"
#include "support/RecordingIndicator.h"

#include <gtest/gtest.h>

namespace {
// A 38-character K3 status reply: VFO A 14 060 000 Hz, mode 3 (CW) in character 30.
const QString kIf38 = "IF00014060000     +000000 0003000001 ;";

struct ParseCase {
    const char* name;
    QString reply;
    RadioState expected;
    int lamp;  // -1: untouched
};

RadioState Start()
{
    RadioState s;
    s.vfo_a_str = "00007000000";
    s.vfo_b_str = "00003500000";
    s.Mode = "2";
    s.last_cat_mode = "2";
    s.rit = "0";
    s.xit = "0";
    s.last_cat_if = "old-if";
    s.last_cat_fb = "old-fb";
    s.valid_cat_a = true;
    s.valid_cat_b = true;
    return s;
}

RadioState With(std::function<void(RadioState&)> change)
{
    RadioState s = Start();
    change(s);
    return s;
}

void ExpectState(const RadioState& want, const RadioState& got)
{
    EXPECT_EQ(want.vfo_a_str, got.vfo_a_str);
    EXPECT_EQ(want.vfo_b_str, got.vfo_b_str);
    EXPECT_EQ(want.Mode, got.Mode);
    EXPECT_EQ(want.last_cat_mode, got.last_cat_mode);
    EXPECT_EQ(want.rit, got.rit);
    EXPECT_EQ(want.xit, got.xit);
    EXPECT_EQ(want.last_cat_if, got.last_cat_if);
    EXPECT_EQ(want.last_cat_fb, got.last_cat_fb);
    EXPECT_EQ(want.valid_cat_a, got.valid_cat_a);
    EXPECT_EQ(want.valid_cat_b, got.valid_cat_b);
}
}

TEST(ParseCAT, ReplyTable)
{
    const QString if37 = kIf38.left(36) + ";";
    const QString if39 = kIf38.left(37) + "X;";
    const std::vector<ParseCase> cases = {
        {"IF of 38 characters takes frequency, mode, flag and lamp", kIf38,
         With([](RadioState& s) {
             s.vfo_a_str = "00014060000";
             s.Mode = "3";
             s.last_cat_mode = "3";
             s.last_cat_if = kIf38;
         }),
         IIndicator::kGreen},
        {"IF of 37 characters takes only the mode", if37,
         With([&](RadioState& s) { s.Mode = "3"; s.last_cat_mode = "3"; }), -1},
        {"IF of 39 characters takes only the mode", if39,
         With([&](RadioState& s) { s.Mode = "3"; s.last_cat_mode = "3"; }), -1},
        {"short IF empties the mode", "IF;",
         With([](RadioState& s) { s.Mode = ""; s.last_cat_mode = ""; }), -1},
        {"lower-case if is ignored", "if" + kIf38.mid(2), Start(), -1},
        {"FB takes VFO B", "FB00007030000;",
         With([](RadioState& s) { s.vfo_b_str = "00007030000"; s.last_cat_fb = "FB00007030000;"; }),
         -1},
        {"short FB is stored as far as it goes and still counts", "FB123;",
         With([](RadioState& s) { s.vfo_b_str = "123;"; s.last_cat_fb = "FB123;"; }), -1},
        {"RT1 switches RIT on", "RT1;", With([](RadioState& s) { s.rit = "1"; }), -1},
        {"RT without digit stores the semicolon", "RT;", With([](RadioState& s) { s.rit = ";"; }), -1},
        {"XT1 switches XIT on", "XT1;", With([](RadioState& s) { s.xit = "1"; }), -1},
        {"rejection clears VFO B only", "?;", With([](RadioState& s) { s.valid_cat_b = false; }), -1},
        {"unknown reply changes nothing", "MD2;", Start(), -1},
        {"fragment without a name changes nothing", "0000;", Start(), -1},
        {"empty reply changes nothing", "", Start(), -1},
    };
    for (const ParseCase& c : cases) {
        SCOPED_TRACE(c.name);
        RadioState state = Start();
        RecordingIndicator lamp;
        RecordingAlerts alerts;
        CatParser(state, lamp, alerts).ParseCAT(c.reply);
        ExpectState(c.expected, state);
        EXPECT_EQ(c.lamp, lamp.color);
        EXPECT_TRUE(alerts.boxes.isEmpty());
    }
}

TEST(ParseCAT, IfSetsValidFromInvalid)
{
    RadioState state;
    RecordingIndicator lamp;
    RecordingAlerts alerts;
    CatParser(state, lamp, alerts).ParseCAT(kIf38);
    EXPECT_TRUE(state.valid_cat_a);
    EXPECT_FALSE(state.valid_cat_b);
}
