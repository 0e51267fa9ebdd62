#pragma once

#include "core/IRadio.h"

#include <QByteArray>
#include <QList>

// What a Hamlib client learns about the radio when it opens it through the
// network rig control ("\dump_state", protocol version 1): frequency ranges,
// the radio's modes and their passbands, PTT by CAT command, and no
// functions, levels or parameters beyond frequency, mode, VFO, split and PTT.
class RigCapabilities {
public:
    // Hamlib's rig model of a network rig ("NET rigctl").
    static constexpr int kNetRigctlModel = 2;

    // The lines of the answer, each ending with a line end, the last one "done".
    static QByteArray DumpState(const QList<RadioMode>& modes);
};
