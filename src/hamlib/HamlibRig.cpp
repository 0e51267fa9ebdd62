#include "hamlib/HamlibRig.h"

#include "hamlib/HamlibModels.h"

#include <QFileInfo>
#include <cerrno>

namespace {
// A transmit switch Hamlib would not drive unless told: the model switches by
// CAT, yet its default PTT type says none (the dummy rig).
bool PttByCatUnset(const rig_caps& caps)
{
    return caps.set_ptt && caps.ptt_type == RIG_PTT_NONE;
}
}

std::unique_ptr<HamlibRig> HamlibRig::Create(const HamlibConfig& config, QString& error)
{
    const HamlibModel* model = HamlibModels::Instance().Find(config.model);
    if (!model) {
        error = QStringLiteral("Hamlib knows no radio model %1").arg(config.model);
        return nullptr;
    }
    std::unique_ptr<HamlibRig> rig(new HamlibRig(*model, config));
    return rig->Configure(config, error) ? std::move(rig) : nullptr;
}

HamlibRig::HamlibRig(const HamlibModel& model, const HamlibConfig& config)
    : rig_(rig_init(rig_model_t(config.model))), portKind_(model.portKind), readsVfoB_(model.readsVfoB),
      port_(config.port.isEmpty() ? model.defaultPort : config.port),
      name_(model.maker + QLatin1Char(' ') + model.name + (port_.isEmpty() ? QString() : QStringLiteral(" on ") + port_))
{
}

HamlibRig::~HamlibRig()
{
    Close();
}

bool HamlibRig::Configure(const HamlibConfig& config, QString& error)
{
    if (!rig_) {
        error = QStringLiteral("%1: Hamlib cannot make a handle for it").arg(name_);
        return false;
    }
    const bool serial = portKind_ == HamlibPortKind::Serial;
    return (config.port.isEmpty() || SetConf("rig_pathname", config.port, error)) &&
           (!serial || config.speed <= 0 || SetConf("serial_speed", QString::number(config.speed), error)) &&
           SetConf("timeout", QString::number(serial ? kSerialTimeoutMs : kNetworkTimeoutMs), error) &&
           SetConf("retry", QString::number(serial ? kSerialRetries : 0), error) &&
           SetConf("cache_timeout", QStringLiteral("0"), error) &&
           (!PttByCatUnset(*rig_->caps) || SetConf("ptt_type", QStringLiteral("RIG"), error));
}

bool HamlibRig::SetConf(const char* name, const QString& value, QString& error)
{
    const int code = rig_set_conf(rig_.get(), rig_token_lookup(rig_.get(), name), value.toLocal8Bit().constData());
    if (code != RIG_OK)
        error = QStringLiteral("%1: Hamlib refuses %2 %3: %4").arg(name_, QLatin1String(name), value, ErrorText(code));
    return code == RIG_OK;
}

RIG* HamlibRig::ForCall() const
{
    errno = 0;
    return rig_.get();
}

int HamlibRig::Open(QString& why)
{
    Close();
    if (PortMissing()) {
        why = QStringLiteral("there is no such device");
        return -RIG_EIO;
    }
    const int code = rig_open(ForCall());
    open_ = code == RIG_OK;
    if (!open_)
        why = ErrorText(code);
    return code;
}

// Hamlib tries a missing device for two seconds before it gives up; a path
// that is not there is known at once.
bool HamlibRig::PortMissing() const
{
    return portKind_ == HamlibPortKind::Serial && port_.startsWith(QLatin1Char('/')) && !QFileInfo::exists(port_);
}

void HamlibRig::Close()
{
    if (open_)
        rig_close(ForCall());
    open_ = false;
}

bool HamlibRig::TakesRawText() const
{
    return rig_->caps->rig_model != RIG_MODEL_NETRIGCTL;
}

bool HamlibRig::Simulated() const
{
    const rig_model_t model = rig_->caps->rig_model;
    return model == RIG_MODEL_DUMMY || model == RIG_MODEL_NONE || rig_->caps->port_type == RIG_PORT_NONE;
}

bool HamlibRig::GoneAfter(int code)
{
    freq_t hertz = 0;
    return IsLinkFailure(code) && rig_get_freq(ForCall(), RIG_VFO_CURR, &hertz) != RIG_OK;
}

vfo_t HamlibRig::ToHamlib(Vfo vfo)
{
    return vfo == Vfo::A ? RIG_VFO_A : RIG_VFO_B;
}

std::optional<Vfo> HamlibRig::FromHamlib(vfo_t vfo)
{
    if (vfo == RIG_VFO_A || vfo == RIG_VFO_MAIN)
        return Vfo::A;
    if (vfo == RIG_VFO_B || vfo == RIG_VFO_SUB)
        return Vfo::B;
    return std::nullopt;
}

QString HamlibRig::VfoName(std::optional<Vfo> vfo)
{
    return QString::fromLatin1(rig_strvfo(vfo ? ToHamlib(*vfo) : RIG_VFO_CURR));
}

QString HamlibRig::ErrorText(int code)
{
    return QString::fromLocal8Bit(rigerror2(code)).trimmed();
}

bool HamlibRig::IsLinkFailure(int code)
{
    const int error = qAbs(code);
    // Hamlib counts a radio switched off among the errors that trying again
    // cannot mend; opening it again once it is on does.
    return error != RIG_OK && (error == RIG_EPOWER || !RIG_IS_SOFT_ERRCODE(error));
}

QList<RadioMode> HamlibRig::Modes() const
{
    QList<RadioMode> modes;
    for (rmode_t mode = 1; mode != 0 && mode <= rig_->state.mode_list; mode <<= 1) {
        if (rig_->state.mode_list & mode)
            modes.append({QByteArray(rig_strrmode(mode)), int(rig_passband_normal(rig_.get(), mode))});
    }
    return modes;
}

RadioAbilities HamlibRig::Abilities() const
{
    RadioAbilities abilities;
    for (unsigned bit = 0; bit < 64; ++bit) {
        const setting_t setting = setting_t(1) << bit;
        if (rig_has_set_func(rig_.get(), setting))
            abilities.functions << rig_strfunc(setting);
        if (rig_has_set_level(rig_.get(), setting))
            abilities.levels << rig_strlevel(setting);
        if (bit < 32 && rig_has_vfo_op(rig_.get(), vfo_op_t(1u << bit)))
            abilities.vfoOperations << rig_strvfop(vfo_op_t(1u << bit));
    }
    return abilities;
}
