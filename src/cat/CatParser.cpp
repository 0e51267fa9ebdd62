#include "cat/CatParser.h"

#include "core/IIndicator.h"
#include "core/RuntimeError.h"
#include "core/RadioState.h"

namespace {
// Characters `first` (counted from 1) onwards; beyond the end of a short reply they read as empty.
QString Chars(const QString& text, int first, int count)
{
    return text.mid(first - 1, count);
}
}

CatParser::CatParser(RadioState& state, IIndicator& catLamp, IAlerts& alerts)
    : state_(state), catLamp_(catLamp), alerts_(alerts)
{
}

void CatParser::ParseCAT(const QString& catmessage, bool current)
{
    RunGuarded(alerts_, QStringLiteral("ParseCAT"), [&] {
        const QString name = catmessage.left(2);
        if (name == QLatin1String("IF"))
            TakeIf(catmessage, current);
        else if (name == QLatin1String("FB"))
            TakeFb(catmessage, current);
        else if (name == QLatin1String("RT") && current)
            state_.rit = Chars(catmessage, 3, 1);
        else if (name == QLatin1String("XT") && current)
            state_.xit = Chars(catmessage, 3, 1);
        else if (name == QLatin1String("?;"))
            state_.valid_cat_b = false;
    });
}

void CatParser::TakeIf(const QString& reply, bool current)
{
    // Only a full-length status reply carries a frequency the program can trust.
    if (reply.size() == kIfReplyLength) {
        if (current) {
            state_.vfo_a_str = Chars(reply, 3, 11);
            state_.last_cat_if = reply;
            state_.tx = Chars(reply, 29, 1);
            state_.split = Chars(reply, 33, 1);
        }
        state_.valid_cat_a = true;
        catLamp_.SetFillColor(IIndicator::kGreen);
    }
    if (current) {
        state_.Mode = Chars(reply, 30, 1);
        state_.last_cat_mode = state_.Mode;
    }
}

void CatParser::TakeFb(const QString& reply, bool current)
{
    if (current) {
        state_.vfo_b_str = Chars(reply, 3, 11);
        state_.last_cat_fb = reply;
    }
    state_.valid_cat_b = true;
}
