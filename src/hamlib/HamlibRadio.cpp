#include "hamlib/HamlibRadio.h"

#include "core/ILogSink.h"
#include "hamlib/HamlibCommand.h"
#include "hamlib/HamlibLink.h"

#include <algorithm>

namespace {
// RIT or XIT is on as the radio says, or where it does not say, while its offset is not 0.
std::optional<bool> OnOrOffset(const std::optional<bool>& on, const std::optional<qint64>& offset)
{
    if (on || !offset)
        return on;
    return *offset != 0;
}

qint64& CopyOf(RadioState& state, Vfo vfo)
{
    return vfo == Vfo::A ? state.vfoA : state.vfoB;
}

// Each kind of report to its own handler.
template <typename... Handlers>
struct Overloaded : Handlers... {
    using Handlers::operator()...;
};
template <typename... Handlers>
Overloaded(Handlers...) -> Overloaded<Handlers...>;
} // namespace

HamlibRadio::HamlibRadio(HamlibLink& link, ILogSink& log, QObject* parent)
    : IRadio(parent), link_(link), log_(log),
      state_([this](RadioState::Fields fields, const RadioState& before, const RadioState& after) {
          emit stateChanged(fields, before, after);
      })
{
    connect(&link_, &HamlibLink::reported, this, &HamlibRadio::Take);
}

void HamlibRadio::Reset()
{
    state_.Reset();
    modes_.clear();
    abilities_ = {};
}

void HamlibRadio::StepFrequency(Vfo vfo, qint64 hertz)
{
    state_.Change([&](RadioState& state) { CopyOf(state, vfo) = hertz; });
    newestRequest_ = link_.PostStep(vfo, hertz);
}

void HamlibRadio::SetFrequency(Vfo vfo, qint64 hertz)
{
    state_.Change([&](RadioState& state) { CopyOf(state, vfo) = hertz; });
    Request([=] { return HamlibCommand::SetFrequency(vfo, hertz); });
}

void HamlibRadio::SwapVfos()
{
    RunOrSetBoth("XCHG", State().vfoB, State().vfoA);
}

void HamlibRadio::CopyVfoAToB()
{
    RunOrSetBoth("CPY", State().vfoA, State().vfoA);
}

void HamlibRadio::RunOrSetBoth(const QByteArray& operation, qint64 toA, qint64 toB)
{
    if (abilities_.vfoOperations.contains(operation)) {
        Request([name = QString::fromLatin1(operation)] { return HamlibCommand::VfoOperation(name); });
    } else if (State().vfoBKnown) {
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
                                  [this](const RadioMode& mode) { return mode.name == State().mode; });
    const RadioMode& next = now == modes_.end() || now + 1 == modes_.end() ? modes_.front() : *(now + 1);
    state_.Change([&](RadioState& state) { state.mode = next.name; });
    Request([name = QString::fromLatin1(next.name)] { return HamlibCommand::SetMode(name, 0); });
}

bool HamlibRadio::SetMode(const QByteArray& name, long passbandHz)
{
    const bool known = std::any_of(modes_.begin(), modes_.end(),
                                   [&](const RadioMode& mode) { return mode.name == name; });
    if (!known)
        return false;
    state_.Change([&](RadioState& state) { state.mode = name; });
    Request([=] { return HamlibCommand::SetMode(QString::fromLatin1(name), passbandHz); });
    return true;
}

void HamlibRadio::SetSplit(bool on)
{
    state_.Change([&](RadioState& state) { state.split = on; });
    Request([=] { return HamlibCommand::SetSplit(on, on ? Vfo::B : Vfo::A); });
}

void HamlibRadio::SetTransmit(bool on)
{
    state_.Change([&](RadioState& state) { state.transmitting = on; });
    Request([=] { return HamlibCommand::SetTransmit(on); });
}

void HamlibRadio::SendText(const QString& text)
{
    Request([raw = text.toLatin1()] { return HamlibCommand::SendRaw(raw); });
}

bool HamlibRadio::SetRit(int hertz)
{
    Request([=] { return HamlibCommand::SetRit(hertz); });
    return true;
}

bool HamlibRadio::SetXit(int hertz)
{
    Request([=] { return HamlibCommand::SetXit(hertz); });
    return true;
}

bool HamlibRadio::SetFunction(const QByteArray& name, bool on)
{
    if (!abilities_.functions.contains(name))
        return false;
    state_.Change([&](RadioState& state) { state.SetFunction(name, on); });
    Request([=] { return HamlibCommand::SetFunction(QString::fromLatin1(name), on); });
    return true;
}

bool HamlibRadio::SetLevel(const QByteArray& name, double value)
{
    if (!abilities_.levels.contains(name))
        return false;
    state_.Change([&](RadioState& state) { state.levels[name] = value; });
    Request([=] { return HamlibCommand::SetLevel(QString::fromLatin1(name), value); });
    return true;
}

bool HamlibRadio::RunVfoOperation(const QByteArray& name)
{
    if (!abilities_.vfoOperations.contains(name))
        return false;
    Request([=] { return HamlibCommand::VfoOperation(QString::fromLatin1(name)); });
    return true;
}

void HamlibRadio::Request(std::function<HamlibCommand()> build)
{
    newestRequest_ = link_.Send(std::move(build));
}

void HamlibRadio::Take(const HamlibReport& report)
{
    std::visit(Overloaded{
                   [this](const HamlibOpened& opened) {
                       modes_ = opened.modes;
                       abilities_ = opened.abilities;
                   },
                   [this](const HamlibReading& reading) { TakeReading(reading); },
                   [this](const HamlibFailed& failed) {
                       state_.Change([](RadioState& state) { state.answering = false; });
                       log_.AppendLine(failed.message);
                   },
                   [this](const HamlibRecovered&) { log_.AppendLine(QStringLiteral("The radio answers again.")); },
                   [this](const HamlibRefusal& refusal) {
                       log_.AppendLine(QStringLiteral("Not carried out: %1: %2").arg(refusal.command, refusal.message));
                   },
                   [this](const HamlibTraced& traced) { log_.AppendLine(traced.line); },
               },
               report);
}

void HamlibRadio::TakeReading(const HamlibReading& reading)
{
    // Reads made before the program's newest request would pull the copy
    // back behind it (the wheel's hand, a logger's frequency): they only
    // prove that the radio answers.
    const bool current = reading.requestSerial >= newestRequest_;
    state_.Change([&](RadioState& state) {
        state.answering = true;
        state.vfoBKnown = reading.vfoB.has_value();
        if (!current)
            return;
        state.vfoA = reading.vfoA.value_or(state.vfoA);
        state.vfoB = reading.vfoB.value_or(state.vfoB);
        state.mode = reading.mode.toLatin1();
        state.transmitting = reading.transmitting;
        state.split = reading.split;
        state.rit = OnOrOffset(reading.ritOn, reading.rit);
        state.xit = OnOrOffset(reading.xitOn, reading.xit);
        state.vfoBInUse = reading.vfoBInUse;
        if (reading.noiseBlanker)
            state.SetFunction("NB", *reading.noiseBlanker);
    });
}
