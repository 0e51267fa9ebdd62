#include "hamlib/HamlibCommand.h"

#include "hamlib/HamlibRig.h"
#include "rigcommand/RigResult.h"

namespace {
HamlibAnswer Done(int code)
{
    return {code, {}};
}

HamlibAnswer Unavailable(const QString& why)
{
    return {-RIG_ENAVAIL, why};
}

QString Bit(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

HamlibAnswer Raw(HamlibRig& rig, const QByteArray& text)
{
    if (!rig.TakesRawText())
        return Unavailable(QStringLiteral("raw text does not go through NET rigctl"));
    // Hamlib 4.6 answers raw text to a rig it only simulates by copying the
    // text into the reply buffer, which this call does not give.
    if (rig.Simulated())
        return Done(-RIG_ENAVAIL);
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.constData());
    return Done(qMin(0, rig_send_raw(rig.ForCall(), bytes, int(text.size()), nullptr, 0, nullptr)));
}
}

HamlibCommand::HamlibCommand(QString text, Action action) : text_(std::move(text)), action_(std::move(action))
{
}

HamlibCommand HamlibCommand::Refused(QString text, int code, const QString& why)
{
    return HamlibCommand(std::move(text), [code, why](HamlibRig&) { return HamlibAnswer{code, why}; });
}

HamlibCommand HamlibCommand::SetFrequency(Vfo vfo, qint64 hertz)
{
    return HamlibCommand(QStringLiteral("F %1 %2").arg(HamlibRig::VfoName(vfo)).arg(hertz), [vfo, hertz](HamlibRig& rig) {
        return Done(rig_set_freq(rig.ForCall(), HamlibRig::ToHamlib(vfo), freq_t(hertz)));
    });
}

HamlibCommand HamlibCommand::VfoOperation(const QString& name)
{
    QString text = QStringLiteral("G ") + name;
    const vfo_op_t op = rig_parse_vfo_op(name.toLatin1().constData());
    if (op == RIG_OP_NONE)
        return Refused(text, -RIG_EINVAL, QStringLiteral("Hamlib knows no VFO operation %1").arg(name));
    return HamlibCommand(text, [op, name](HamlibRig& rig) {
        if (!rig_has_vfo_op(rig.ForCall(), op))
            return Unavailable(QStringLiteral("the model has no VFO operation %1").arg(name));
        return Done(rig_vfo_op(rig.ForCall(), RIG_VFO_CURR, op));
    });
}

HamlibCommand HamlibCommand::SetMode(const QString& name, qint64 passband)
{
    QString text = QStringLiteral("M %1 %2").arg(name).arg(passband);
    const rmode_t mode = rig_parse_mode(name.toLatin1().constData());
    if (mode == RIG_MODE_NONE)
        return Refused(text, -RIG_EINVAL, QStringLiteral("Hamlib knows no mode %1").arg(name));
    return HamlibCommand(text, [mode, passband](HamlibRig& rig) {
        return Done(rig_set_mode(rig.ForCall(), RIG_VFO_CURR, mode, pbwidth_t(passband)));
    });
}

HamlibCommand HamlibCommand::SetLevel(const QString& name, double value)
{
    QString text = QStringLiteral("L %1 %2").arg(name).arg(value);
    const setting_t level = rig_parse_level(name.toLatin1().constData());
    if (level == RIG_LEVEL_NONE)
        return Refused(text, -RIG_EINVAL, QStringLiteral("Hamlib knows no level %1").arg(name));
    return HamlibCommand(text, [level, name, value](HamlibRig& rig) {
        if (!rig_has_set_level(rig.ForCall(), level))
            return Unavailable(QStringLiteral("the model cannot set level %1").arg(name));
        value_t setting{};
        if (RIG_LEVEL_IS_FLOAT(level))
            setting.f = float(value);
        else
            setting.i = qRound(value);
        return Done(rig_set_level(rig.ForCall(), RIG_VFO_CURR, level, setting));
    });
}

HamlibCommand HamlibCommand::SetFunction(const QString& name, bool on)
{
    QString text = QStringLiteral("U %1 %2").arg(name, Bit(on));
    const setting_t func = rig_parse_func(name.toLatin1().constData());
    if (func == RIG_FUNC_NONE)
        return Refused(text, -RIG_EINVAL, QStringLiteral("Hamlib knows no function %1").arg(name));
    return HamlibCommand(text, [func, name, on](HamlibRig& rig) {
        if (!rig_has_set_func(rig.ForCall(), func))
            return Unavailable(QStringLiteral("the model cannot set function %1").arg(name));
        return Done(rig_set_func(rig.ForCall(), RIG_VFO_CURR, func, on ? 1 : 0));
    });
}

HamlibCommand HamlibCommand::SetSplit(bool on, Vfo txVfo)
{
    return HamlibCommand(QStringLiteral("S %1 %2").arg(Bit(on), HamlibRig::VfoName(txVfo)), [on, txVfo](HamlibRig& rig) {
        const split_t split = on ? RIG_SPLIT_ON : RIG_SPLIT_OFF;
        return Done(rig_set_split_vfo(rig.ForCall(), RIG_VFO_CURR, split, HamlibRig::ToHamlib(txVfo)));
    });
}

HamlibCommand HamlibCommand::SetTransmit(bool on)
{
    return HamlibCommand(QStringLiteral("T ") + Bit(on), [on](HamlibRig& rig) {
        return Done(rig_set_ptt(rig.ForCall(), RIG_VFO_CURR, on ? RIG_PTT_ON : RIG_PTT_OFF));
    });
}

HamlibCommand HamlibCommand::SetRit(qint64 hertz)
{
    return HamlibCommand(QStringLiteral("J %1").arg(hertz), [hertz](HamlibRig& rig) {
        return Done(rig_set_rit(rig.ForCall(), RIG_VFO_CURR, shortfreq_t(hertz)));
    });
}

HamlibCommand HamlibCommand::SetXit(qint64 hertz)
{
    return HamlibCommand(QStringLiteral("Z %1").arg(hertz), [hertz](HamlibRig& rig) {
        return Done(rig_set_xit(rig.ForCall(), RIG_VFO_CURR, shortfreq_t(hertz)));
    });
}

HamlibCommand HamlibCommand::SendRaw(const QByteArray& text)
{
    return HamlibCommand(QStringLiteral("w ") + QString::fromLatin1(text), [text](HamlibRig& rig) { return Raw(rig, text); });
}

HamlibAnswer HamlibCommand::Run(HamlibRig& rig) const
{
    return action_(rig);
}

QString HamlibCommand::TraceLine(const HamlibAnswer& answer) const
{
    return TraceLine(text_, answer);
}

QString HamlibCommand::TraceLine(const QString& request, const HamlibAnswer& answer)
{
    const QString report = QString::fromLatin1(RigResult::Report(answer.code));
    if (answer.code == RIG_OK)
        return QStringLiteral("%1 -> %2").arg(request, report);
    const QString why = answer.text.isEmpty() ? HamlibRig::ErrorText(answer.code) : answer.text;
    return QStringLiteral("%1 -> %2 (%3)").arg(request, report, why);
}
