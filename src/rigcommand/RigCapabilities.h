#pragma once

#include "core/IRadio.h"

#include <QByteArray>
#include <QList>

// What a Hamlib client learns about the radio when it opens it through the
// network rig control ("\dump_state", protocol version 1): frequency ranges,
// the radio's modes and their passbands, PTT by CAT command, and the
// functions, levels and VFO operations the radio carries out. Hamlib's
// client checks these before it sends a request, so a radio's function that
// is not told here is refused by the client itself.
class RigCapabilities {
public:
    // Hamlib's rig model of a network rig ("NET rigctl").
    static constexpr int kNetRigctlModel = 2;

    // The lines of the answer, each ending with a line end, the last one "done".
    static QByteArray DumpState(const QList<RadioMode>& modes, const RadioAbilities& abilities);
    // A level's value as rigctl writes it: with six decimals, or for a level
    // Hamlib keeps as a whole number ("KEYSPD") without.
    static QByteArray LevelText(const QByteArray& name, double value);
};
