#include "hamlib/HamlibRadio.h"

#include "core/ILamp.h"
#include "core/ILogSink.h"
#include "core/RadioState.h"
#include "hamlib/HamlibCommand.h"
#include "hamlib/HamlibLink.h"

#include <algorithm>

HamlibRadio::HamlibRadio(HamlibLink& link, RadioState& state, ILamp& lamp, ILogSink& log, QObject* parent)
    : QObject(parent), link_(link), state_(state), lamp_(lamp), log_(log)
{
    connect(&link_, &HamlibLink::opened, this, &HamlibRadio::TakeOpened);
    connect(&link_, &HamlibLink::polled, this, &HamlibRadio::TakeReading);
    connect(&link_, &HamlibLink::failed, this, &HamlibRadio::TakeFailure);
    connect(&link_, &HamlibLink::recovered, this, &HamlibRadio::TakeRecovery);
    connect(&link_, &HamlibLink::refused, this, &HamlibRadio::TakeRefusal);
    connect(&link_, &HamlibLink::traced, this, [this](const QString& line) { log_.AppendLine(line); });
}

namespace {
// RIT or XIT is on as the radio says, or where it does not say, while its offset is not 0.
std::optional<bool> OnOrOffset(const std::optional<bool>& on, const std::optional<qint64>& offset)
{
    if (on || !offset)
        return on;
    return *offset != 0;
}
} // namespace

HamlibVfo HamlibRadio::Of(Vfo vfo)
{
    return vfo == Vfo::A ? HamlibVfo::A : HamlibVfo::B;
}

void HamlibRadio::Reset()
{
    state_ = RadioState();
    modes_.clear();
    vfoOperations_.clear();
    lamp_.SetUp(false);
}

bool HamlibRadio::LinkUp() const
{
    return state_.answering;
}

void HamlibRadio::StepFrequency(Vfo vfo, qint64 hertz)
{
    (vfo == Vfo::A ? state_.vfoA : state_.vfoB) = hertz;
    newestStep_ = link_.PostStep(Of(vfo), hertz);
}

void HamlibRadio::SetFrequency(Vfo vfo, qint64 hertz)
{
    (vfo == Vfo::A ? state_.vfoA : state_.vfoB) = hertz;
    link_.Send([to = Of(vfo), hertz] { return HamlibCommand::SetFrequency(to, hertz); });
}

void HamlibRadio::SwapVfos()
{
    RunOrSetBoth(QStringLiteral("XCHG"), state_.vfoB, state_.vfoA);
}

void HamlibRadio::CopyVfoAToB()
{
    RunOrSetBoth(QStringLiteral("CPY"), state_.vfoA, state_.vfoA);
}

void HamlibRadio::RunOrSetBoth(const QString& operation, qint64 toA, qint64 toB)
{
    if (vfoOperations_.contains(operation)) {
        link_.Send([=] { return HamlibCommand::VfoOperation(operation); });
    } else if (state_.vfoBKnown) {
        // Both from the poll's reading, taken before either is set.
        SetFrequency(Vfo::A, toA);
        SetFrequency(Vfo::B, toB);
    }
}

void HamlibRadio::StepMode()
{
    if (modes_.isEmpty())
        return;
    const auto now = std::find_if(modes_.begin(), modes_.end(),
                                  [this](const RadioMode& mode) { return mode.name == state_.mode; });
    const RadioMode& next = now == modes_.end() || now + 1 == modes_.end() ? modes_.front() : *(now + 1);
    state_.mode = next.name;
    link_.Send([name = QString::fromLatin1(next.name)] { return HamlibCommand::SetMode(name, 0); });
}

bool HamlibRadio::SetMode(const QByteArray& name, long passbandHz)
{
    const bool known = std::any_of(modes_.begin(), modes_.end(),
                                   [&](const RadioMode& mode) { return mode.name == name; });
    if (!known)
        return false;
    state_.mode = name;
    link_.Send([=] { return HamlibCommand::SetMode(QString::fromLatin1(name), passbandHz); });
    return true;
}

void HamlibRadio::SetPower(int percent)
{
    link_.Send([=] { return HamlibCommand::SetLevel(QStringLiteral("RFPOWER"), percent / 100.0); });
}

void HamlibRadio::SetCwSpeed(int wordsPerMinute)
{
    link_.Send([=] { return HamlibCommand::SetLevel(QStringLiteral("KEYSPD"), wordsPerMinute); });
}

void HamlibRadio::SetSplit(bool on)
{
    state_.split = on;
    link_.Send([=] { return HamlibCommand::SetSplit(on, on ? HamlibVfo::B : HamlibVfo::A); });
}

void HamlibRadio::SetTransmit(bool on)
{
    state_.transmitting = on;
    link_.Send([=] { return HamlibCommand::SetTransmit(on); });
}

void HamlibRadio::SendText(const QString& text)
{
    link_.Send([raw = text.toLatin1()] { return HamlibCommand::SendRaw(raw, false); });
}

bool HamlibRadio::SetRit(int hertz)
{
    link_.Send([=] { return HamlibCommand::SetRit(hertz); });
    return true;
}

bool HamlibRadio::SetXit(int hertz)
{
    link_.Send([=] { return HamlibCommand::SetXit(hertz); });
    return true;
}

bool HamlibRadio::SetFunction(const QByteArray& name, bool on)
{
    link_.Send([=] { return HamlibCommand::SetFunction(QString::fromLatin1(name), on); });
    return true;
}

bool HamlibRadio::SetLevel(const QByteArray& name, double value)
{
    link_.Send([=] { return HamlibCommand::SetLevel(QString::fromLatin1(name), value); });
    return true;
}

bool HamlibRadio::RunVfoOperation(const QByteArray& name)
{
    link_.Send([=] { return HamlibCommand::VfoOperation(QString::fromLatin1(name)); });
    return true;
}

void HamlibRadio::TakeOpened(const QString&, const QList<RadioMode>& modes, const QStringList& vfoOperations)
{
    modes_ = modes;
    vfoOperations_ = vfoOperations;
}

void HamlibRadio::TakeReading(const HamlibReading& reading)
{
    // A read made before the newest wheel step would pull the copy back behind the hand.
    const bool current = reading.stepSerial >= newestStep_;
    if (reading.vfoA && current)
        state_.vfoA = *reading.vfoA;
    state_.vfoBKnown = reading.vfoB.has_value();
    if (reading.vfoB && current)
        state_.vfoB = *reading.vfoB;
    state_.mode = reading.mode.toLatin1();
    state_.transmitting = reading.transmitting;
    state_.split = reading.split;
    state_.rit = OnOrOffset(reading.ritOn, reading.rit);
    state_.xit = OnOrOffset(reading.xitOn, reading.xit);
    if (!state_.answering)
        lamp_.SetUp(true);
    state_.answering = true;
}

void HamlibRadio::TakeFailure(const QString& message)
{
    state_.answering = false;
    lamp_.SetUp(false);
    log_.AppendLine(message);
}

void HamlibRadio::TakeRecovery()
{
    log_.AppendLine(QStringLiteral("The radio answers again."));
}

void HamlibRadio::TakeRefusal(const HamlibRefusal& refusal)
{
    log_.AppendLine(QStringLiteral("Not carried out: %1: %2").arg(refusal.command, refusal.message));
}
