#include "hamlib/HamlibModels.h"

#include <hamlib/rig.h>

#include <algorithm>
#include <clocale>
#include <memory>

namespace {
constexpr int kStandardSpeeds[] = {300, 600, 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200, 230400, 460800};

HamlibPortKind KindOf(rig_port_t port)
{
    switch (port) {
    case RIG_PORT_SERIAL:
        return HamlibPortKind::Serial;
    case RIG_PORT_NETWORK:
    case RIG_PORT_UDP_NETWORK:
        return HamlibPortKind::Network;
    default:
        return HamlibPortKind::Other;
    }
}

// The port a fresh handle of the model has: Hamlib keeps it nowhere else.
QString DefaultPort(rig_model_t model)
{
    const std::unique_ptr<RIG, decltype(&rig_cleanup)> rig(rig_init(model), &rig_cleanup);
    return rig ? QString::fromLocal8Bit(rig->state.rigport.pathname) : QString();
}

HamlibModel ModelOf(const rig_caps& caps)
{
    HamlibModel model;
    model.number = int(caps.rig_model);
    model.maker = QString::fromLatin1(caps.mfg_name).trimmed();
    model.name = QString::fromLatin1(caps.model_name).trimmed();
    model.status = QString::fromLatin1(rig_strstatus(caps.status));
    model.portKind = KindOf(caps.port_type);
    model.readsVfoB = caps.targetable_vfo & RIG_TARGETABLE_FREQ;
    if (model.portKind != HamlibPortKind::Serial) {
        model.defaultPort = DefaultPort(caps.rig_model);
        return model;
    }
    model.defaultSpeed = caps.serial_rate_max;
    for (const int speed : kStandardSpeeds)
        if (speed >= caps.serial_rate_min && speed <= caps.serial_rate_max)
            model.speeds << speed;
    return model;
}

int AddModel(const rig_caps* caps, rig_ptr_t models)
{
    static_cast<std::vector<HamlibModel>*>(models)->push_back(ModelOf(*caps));
    return 1;  // on to the next model
}
}

HamlibModels::HamlibModels()
{
    // Hamlib reads and writes numbers with the C library, and some drivers
    // (NET rigctl) switch LC_NUMERIC to "C" and back around their open: a
    // process-wide change from the worker's thread, restored from a name the
    // switch has just freed. Already "C", there is nothing to switch.
    std::setlocale(LC_NUMERIC, "C");
    rig_set_debug(RIG_DEBUG_NONE);
    rig_load_all_backends();
    rig_list_foreach(AddModel, &models_);
    std::sort(models_.begin(), models_.end(),
              [](const HamlibModel& a, const HamlibModel& b) { return a.number < b.number; });
}

const HamlibModels& HamlibModels::Instance()
{
    static const HamlibModels models;
    return models;
}

const HamlibModel* HamlibModels::Find(int number) const
{
    const auto found = std::lower_bound(models_.begin(), models_.end(), number,
                                        [](const HamlibModel& model, int n) { return model.number < n; });
    return found != models_.end() && found->number == number ? &*found : nullptr;
}
