#include "cat/CatParser.h"

#include "cat/CatDialect.h"
#include "core/FailureReport.h"
#include "core/ILamp.h"
#include "core/Options.h"
#include "core/RadioState.h"

namespace {
// A flag of a reply: "1" on, "0" off, anything else unknown.
std::optional<bool> FlagOf(const QString& reply, int position)
{
    const QString flag = CatDialect::Field(reply, position, 1);
    if (flag == QLatin1String("1") || flag == QLatin1String("0"))
        return flag == QLatin1String("1");
    return std::nullopt;
}
}

CatParser::CatParser(RadioState& state, ILamp& catLamp, IAlerts& alerts, const Options& options)
    : state_(state), catLamp_(catLamp), alerts_(alerts), options_(options)
{
}

void CatParser::Take(const QString& reply, bool current)
{
    ReportFailures(alerts_, Routine::TakeReply, [&] {
        switch (CatDialect::KindOf(reply)) {
        case CatDialect::Reply::Status: TakeStatus(reply, current); break;
        case CatDialect::Reply::VfoB: TakeVfoB(reply, current); break;
        case CatDialect::Reply::Rit: if (current) state_.rit = FlagOf(reply, 3); break;
        case CatDialect::Reply::Xit: if (current) state_.xit = FlagOf(reply, 3); break;
        case CatDialect::Reply::Refused: state_.vfoBKnown = false; break;
        case CatDialect::Reply::Other: break;
        }
    });
}

void CatParser::TakeStatus(const QString& reply, bool current)
{
    // Only a whole status reply with a frequency carries a state the program can trust.
    const std::optional<qint64> hertz = CatDialect::FrequencyOf(reply);
    if (reply.size() == CatDialect::kStatusReplyLength && hertz) {
        if (current) {
            state_.vfoA = *hertz;
            statusReply_ = reply;
            state_.transmitting = FlagOf(reply, 29);
            state_.split = FlagOf(reply, 33);
        }
        state_.answering = true;
        catLamp_.SetUp(true);
    }
    if (current)
        TakeModeDigit(CatDialect::Field(reply, 30, 1));
}

void CatParser::TakeVfoB(const QString& reply, bool current)
{
    if (current) {
        if (const std::optional<qint64> hertz = CatDialect::FrequencyOf(reply))
            state_.vfoB = *hertz;
        vfoBReply_ = reply;
    }
    state_.vfoBKnown = true;
}

void CatParser::TakeModeDigit(const QString& digit)
{
    modeDigit_ = digit;
    const std::optional<RigType> rig = options_.Rig();
    state_.mode = rig ? CatDialect::ModeName(*rig, digit) : QByteArray();
}
