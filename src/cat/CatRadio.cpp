#include "cat/CatRadio.h"

#include "cat/CatDialect.h"
#include "cat/CatParser.h"
#include "cat/ICatLink.h"
#include "core/Options.h"
#include "core/RadioState.h"

#include <algorithm>

CatRadio::CatRadio(ICatLink& link, CatParser& parser, RadioState& state, const Options& options)
    : link_(link), parser_(parser), state_(state), options_(options)
{
}

bool CatRadio::LinkUp() const
{
    return link_.IsOpen() && state_.answering;
}

QList<RadioMode> CatRadio::Modes() const
{
    const std::optional<RigType> rig = options_.Rig();
    return rig ? CatDialect::Modes(*rig) : QList<RadioMode>();
}

qint64& CatRadio::CopyOf(Vfo vfo)
{
    return vfo == Vfo::A ? state_.vfoA : state_.vfoB;
}

void CatRadio::StepFrequency(Vfo vfo, qint64 hertz)
{
    CopyOf(vfo) = hertz;
    link_.SendStep(CatDialect::Frequency(vfo, hertz));
}

void CatRadio::SetFrequency(Vfo vfo, qint64 hertz)
{
    CopyOf(vfo) = hertz;
    link_.Send(CatDialect::Frequency(vfo, hertz));
}

void CatRadio::SwapVfos()
{
    // Both are built from the replies, so VFO B's must have come.
    if (!state_.vfoBKnown)
        return;
    // Both are built from the replies as they stand before either is sent.
    const QString toA = CatDialect::FrequencyFromReply(Vfo::A, parser_.vfoBReply());
    const QString toB = CatDialect::FrequencyFromReply(Vfo::B, parser_.statusReply());
    link_.Send(toA);
    link_.Send(toB);
}

void CatRadio::CopyVfoAToB()
{
    if (!state_.vfoBKnown)
        return;
    link_.Send(CatDialect::FrequencyFromReply(Vfo::B, parser_.statusReply()));
}

void CatRadio::StepMode()
{
    SendMode(CatDialect::NextModeDigit(parser_.modeDigit()));
}

void CatRadio::SendMode(const QString& digit)
{
    parser_.TakeModeDigit(digit);
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

void CatRadio::SetPower(int percent)
{
    link_.Send(CatDialect::Power(percent));
}

void CatRadio::SetCwSpeed(int wordsPerMinute)
{
    link_.Send(CatDialect::CwSpeed(wordsPerMinute));
}

void CatRadio::SetSplit(bool on)
{
    state_.split = on;
    link_.Send(CatDialect::Split(on));
}

void CatRadio::SetTransmit(bool on)
{
    state_.transmitting = on;
    link_.Send(CatDialect::Transmit(on));
}

void CatRadio::SendText(const QString& text)
{
    link_.Send(text);
}
