#include "cat/CatRadio.h"

#include "cat/CatDialect.h"
#include "cat/ICatLink.h"
#include "core/FailureReport.h"
#include "core/Options.h"

#include <algorithm>
#include <cmath>

namespace {
const QByteArray kPower = "RFPOWER";
const QByteArray kCwSpeed = "KEYSPD";

// A flag of a reply: "1" on, "0" off, anything else unknown.
std::optional<bool> FlagOf(const QString& reply, int position)
{
    const QString flag = CatDialect::Field(reply, position, 1);
    if (flag == QLatin1String("1") || flag == QLatin1String("0"))
        return flag == QLatin1String("1");
    return std::nullopt;
}

qint64& CopyOf(RadioState& state, Vfo vfo)
{
    return vfo == Vfo::A ? state.vfoA : state.vfoB;
}
} // namespace

CatRadio::CatRadio(ICatLink& link, IAlerts& alerts, const Options& options, QObject* parent)
    : IRadio(parent), link_(link), alerts_(alerts), options_(options),
      state_([this](RadioState::Fields fields, const RadioState& before, const RadioState& after) {
          emit stateChanged(fields, before, after);
      })
{
}

QList<RadioMode> CatRadio::Modes() const
{
    const std::optional<RigType> rig = options_.Rig();
    return rig ? CatDialect::Modes(*rig) : QList<RadioMode>();
}

RadioAbilities CatRadio::Abilities() const
{
    return {CatDialect::Functions(), {kPower, kCwSpeed}, {"XCHG", "CPY"}};
}

void CatRadio::StepFrequency(Vfo vfo, qint64 hertz)
{
    state_.Change([&](RadioState& state) { CopyOf(state, vfo) = hertz; });
    link_.SendStep(CatDialect::Frequency(vfo, hertz));
}

void CatRadio::SetFrequency(Vfo vfo, qint64 hertz)
{
    state_.Change([&](RadioState& state) { CopyOf(state, vfo) = hertz; });
    link_.Send(CatDialect::Frequency(vfo, hertz));
}

void CatRadio::SwapVfos()
{
    // Both are built from the replies as they stand before either is sent,
    // so VFO B's must have come.
    if (!State().vfoBKnown)
        return;
    const QString toA = CatDialect::FrequencyFromReply(Vfo::A, vfoBReply_);
    const QString toB = CatDialect::FrequencyFromReply(Vfo::B, statusReply_);
    link_.Send(toA);
    link_.Send(toB);
}

void CatRadio::CopyVfoAToB()
{
    if (!State().vfoBKnown)
        return;
    link_.Send(CatDialect::FrequencyFromReply(Vfo::B, statusReply_));
}

void CatRadio::StepMode()
{
    SendMode(CatDialect::NextModeDigit(modeDigit_));
}

void CatRadio::SendMode(const QString& digit)
{
    modeDigit_ = digit;
    state_.Change([&](RadioState& state) { state.mode = ModeName(digit); });
    link_.Send(CatDialect::Mode(digit));
}

bool CatRadio::SetMode(const QByteArray& name, long passbandHz)
{
    const std::optional<RigType> rig = options_.Rig();
    const QString digit = rig ? CatDialect::ModeDigit(*rig, name) : QString();
    if (digit.isEmpty())
        return false;
    SendMode(digit);
    // "No change" (-1) and "normal" (0) leave the operator's filter alone.
    const QString filter = passbandHz > 0 ? CatDialect::Passband(*rig, int(std::min(passbandHz, 99999L))) : QString();
    if (!filter.isEmpty())
        link_.Send(filter);
    return true;
}

void CatRadio::SetSplit(bool on)
{
    state_.Change([&](RadioState& state) { state.split = on; });
    link_.Send(CatDialect::Split(on));
}

void CatRadio::SetTransmit(bool on)
{
    state_.Change([&](RadioState& state) { state.transmitting = on; });
    link_.Send(CatDialect::Transmit(on));
}

void CatRadio::SendText(const QString& text)
{
    link_.Send(text);
}

bool CatRadio::SetFunction(const QByteArray& name, bool on)
{
    const QString command = CatDialect::Function(name, on);
    if (command.isEmpty())
        return false;
    state_.Change([&](RadioState& state) { state.SetFunction(name, on); });
    link_.Send(command);
    return true;
}

bool CatRadio::SetLevel(const QByteArray& name, double value)
{
    QString command;
    if (name == kPower)
        command = CatDialect::Power(int(std::lround(std::clamp(value, 0.0, 1.0) * 100)));
    else if (name == kCwSpeed)
        command = CatDialect::CwSpeed(int(std::lround(value)));
    else
        return false;
    state_.Change([&](RadioState& state) { state.levels[name] = value; });
    link_.Send(command);
    return true;
}

bool CatRadio::RunVfoOperation(const QByteArray& name)
{
    if (name == "XCHG")
        SwapVfos();
    else if (name == "CPY")
        CopyVfoAToB();
    else
        return false;
    return true;
}

void CatRadio::TakeReply(const QString& reply, bool current)
{
    ReportFailures(alerts_, Routine::TakeReply, [&] {
        switch (CatDialect::KindOf(reply)) {
        case CatDialect::Reply::Status:
            TakeStatus(reply, current);
            break;
        case CatDialect::Reply::VfoB:
            TakeVfoB(reply, current);
            break;
        case CatDialect::Reply::Rit:
            if (current)
                state_.Change([&](RadioState& state) { state.rit = FlagOf(reply, 3); });
            break;
        case CatDialect::Reply::Xit:
            if (current)
                state_.Change([&](RadioState& state) { state.xit = FlagOf(reply, 3); });
            break;
        case CatDialect::Reply::NoiseBlanker:
            if (const std::optional<bool> on = FlagOf(reply, 3); on && current)
                state_.Change([&](RadioState& state) { state.functions["NB"] = *on; });
            break;
        case CatDialect::Reply::Other:
            break;
        }
    });
}

void CatRadio::TakeRefusal(const QByteArray& query)
{
    // A radio without VFO B refuses to tell its frequency.
    if (query == "FB")
        state_.Change([](RadioState& state) { state.vfoBKnown = false; });
}

void CatRadio::TakeSilence()
{
    state_.Change([](RadioState& state) {
        state.answering = false;
        state.vfoBKnown = false;
    });
}

void CatRadio::TakeStatus(const QString& reply, bool current)
{
    // Only a whole status reply with a frequency carries a state the program can trust.
    const std::optional<qint64> hertz = CatDialect::FrequencyOf(reply);
    const bool whole = reply.size() == CatDialect::kStatusReplyLength && hertz;
    if (whole && current)
        statusReply_ = reply;
    if (current)
        modeDigit_ = CatDialect::Field(reply, 30, 1);
    state_.Change([&](RadioState& state) {
        if (whole && current) {
            state.vfoA = *hertz;
            state.transmitting = FlagOf(reply, 29);
            state.vfoBInUse = FlagOf(reply, 31);
            state.split = FlagOf(reply, 33);
        }
        if (current)
            state.mode = ModeName(modeDigit_);
        state.answering = state.answering || whole;
    });
}

void CatRadio::TakeVfoB(const QString& reply, bool current)
{
    if (current)
        vfoBReply_ = reply;
    state_.Change([&](RadioState& state) {
        if (current)
            state.vfoB = CatDialect::FrequencyOf(reply).value_or(state.vfoB);
        state.vfoBKnown = true;
    });
}

QByteArray CatRadio::ModeName(const QString& digit) const
{
    const std::optional<RigType> rig = options_.Rig();
    return rig ? CatDialect::ModeName(*rig, digit) : QByteArray();
}
