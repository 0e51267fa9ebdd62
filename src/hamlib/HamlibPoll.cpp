#include "hamlib/HamlibPoll.h"

#include "hamlib/HamlibCommand.h"
#include "hamlib/HamlibRig.h"

namespace {
int ReadFrequency(HamlibRig& rig, vfo_t vfo, std::optional<qint64>& into)
{
    freq_t hertz = 0;
    const int code = rig_get_freq(rig.ForCall(), vfo, &hertz);
    if (code == RIG_OK)
        into = qint64(hertz);
    return code;
}

int ReadMode(HamlibRig& rig, HamlibReading& into)
{
    rmode_t mode = RIG_MODE_NONE;
    pbwidth_t passband = 0;
    const int code = rig_get_mode(rig.ForCall(), RIG_VFO_CURR, &mode, &passband);
    if (code == RIG_OK) {
        into.mode = QString::fromLatin1(rig_strrmode(mode));
        into.passband = qint64(passband);
    }
    return code;
}

int ReadSplit(HamlibRig& rig, HamlibReading& into)
{
    split_t split = RIG_SPLIT_OFF;
    vfo_t txVfo = RIG_VFO_NONE;
    const int code = rig_get_split_vfo(rig.ForCall(), RIG_VFO_CURR, &split, &txVfo);
    if (code == RIG_OK) {
        into.split = split == RIG_SPLIT_ON;
        into.txVfo = HamlibRig::FromHamlib(txVfo);
    }
    return code;
}

int ReadTransmit(HamlibRig& rig, HamlibReading& into)
{
    ptt_t ptt = RIG_PTT_OFF;
    const int code = rig_get_ptt(rig.ForCall(), RIG_VFO_CURR, &ptt);
    if (code == RIG_OK)
        into.transmitting = ptt != RIG_PTT_OFF;
    return code;
}

int ReadVfoInUse(HamlibRig& rig, HamlibReading& into)
{
    vfo_t vfo = RIG_VFO_NONE;
    const int code = rig_get_vfo(rig.ForCall(), &vfo);
    if (code == RIG_OK)
        into.vfoBInUse = HamlibRig::FromHamlib(vfo) == Vfo::B;
    return code;
}

int ReadOffset(int (*get)(RIG*, vfo_t, shortfreq_t*), HamlibRig& rig, std::optional<qint64>& into)
{
    shortfreq_t hertz = 0;
    const int code = get(rig.ForCall(), RIG_VFO_CURR, &hertz);
    if (code == RIG_OK)
        into = qint64(hertz);
    return code;
}

int ReadFunction(setting_t func, HamlibRig& rig, std::optional<bool>& into)
{
    int on = 0;
    const int code = rig_get_func(rig.ForCall(), RIG_VFO_CURR, func, &on);
    if (code == RIG_OK)
        into = on != 0;
    return code;
}

QString Value(const std::optional<qint64>& value)
{
    return value ? QString::number(*value) : QStringLiteral("?");
}

QString Value(const std::optional<bool>& value)
{
    return value ? QString::number(int(*value)) : QStringLiteral("?");
}
}

void HamlibPoll::Reset(HamlibRig& rig)
{
    const rig_caps& caps = *rig.ForCall()->caps;
    queries_.clear();
    using R = HamlibReading;
    queries_.push_back({QStringLiteral("f VFOA"), [](HamlibRig& h, R& r) { return ReadFrequency(h, RIG_VFO_A, r.vfoA); }});
    if (rig.ReadsVfoB())
        queries_.push_back({QStringLiteral("f VFOB"), [](HamlibRig& h, R& r) { return ReadFrequency(h, RIG_VFO_B, r.vfoB); }});
    if (caps.get_mode)
        queries_.push_back({QStringLiteral("m"), ReadMode});
    if (caps.get_split_vfo)
        queries_.push_back({QStringLiteral("s"), ReadSplit});
    if (caps.get_ptt)
        queries_.push_back({QStringLiteral("t"), ReadTransmit});
    if (caps.get_rit)
        queries_.push_back({QStringLiteral("j"), [](HamlibRig& h, R& r) { return ReadOffset(rig_get_rit, h, r.rit); }});
    if (caps.get_xit)
        queries_.push_back({QStringLiteral("z"), [](HamlibRig& h, R& r) { return ReadOffset(rig_get_xit, h, r.xit); }});
    if (rig_has_get_func(rig.ForCall(), RIG_FUNC_RIT))
        queries_.push_back({QStringLiteral("u RIT"), [](HamlibRig& h, R& r) { return ReadFunction(RIG_FUNC_RIT, h, r.ritOn); }});
    if (rig_has_get_func(rig.ForCall(), RIG_FUNC_XIT))
        queries_.push_back({QStringLiteral("u XIT"), [](HamlibRig& h, R& r) { return ReadFunction(RIG_FUNC_XIT, h, r.xitOn); }});
    if (rig_has_get_func(rig.ForCall(), RIG_FUNC_NB))
        queries_.push_back({QStringLiteral("u NB"), [](HamlibRig& h, R& r) { return ReadFunction(RIG_FUNC_NB, h, r.noiseBlanker); }});
    if (caps.get_vfo)
        queries_.push_back({QStringLiteral("v"), ReadVfoInUse});
}

HamlibPoll::Tick HamlibPoll::Read(HamlibRig& rig)
{
    Tick tick;
    for (auto query = queries_.begin(); query != queries_.end();) {
        const int code = query->read(rig, tick.reading);
        // A read that failed on the link while the radio still answers met a
        // garbled or late reply (noise on the line, a loaded machine): it
        // waits for the next tick (taken as gone, it dropped the wheel's
        // steps until then). Any other failed read is the model's limit.
        if (code == RIG_OK) {
            ++query;
        } else if (rig.GoneAfter(code)) {
            tick.failure = code;
            tick.failedRead = query->text;
            return tick;
        } else if (HamlibRig::IsLinkFailure(code)) {
            ++query;
        } else {
            tick.notes << HamlibCommand::TraceLine(query->text, {code, {}}) + QStringLiteral(": no longer read");
            query = queries_.erase(query);
        }
    }
    return tick;
}

QString HamlibPoll::Summary(const HamlibReading& r)
{
    QStringList parts{QStringLiteral("f VFOA ") + Value(r.vfoA)};
    if (r.vfoB)
        parts << QStringLiteral("f VFOB ") + Value(r.vfoB);
    if (!r.mode.isEmpty())
        parts << QStringLiteral("m %1 %2").arg(r.mode, Value(r.passband));
    if (r.split)
        parts << QStringLiteral("s %1 %2").arg(Value(r.split), HamlibRig::VfoName(r.txVfo));
    if (r.transmitting)
        parts << QStringLiteral("t ") + Value(r.transmitting);
    if (r.rit)
        parts << QStringLiteral("j ") + Value(r.rit);
    if (r.xit)
        parts << QStringLiteral("z ") + Value(r.xit);
    if (r.ritOn)
        parts << QStringLiteral("u RIT ") + Value(r.ritOn);
    if (r.xitOn)
        parts << QStringLiteral("u XIT ") + Value(r.xitOn);
    if (r.noiseBlanker)
        parts << QStringLiteral("u NB ") + Value(r.noiseBlanker);
    if (r.vfoBInUse)
        parts << QStringLiteral("v ") + HamlibRig::VfoName(*r.vfoBInUse ? Vfo::B : Vfo::A);
    return QStringLiteral("poll: ") + parts.join(QStringLiteral(", "));
}
