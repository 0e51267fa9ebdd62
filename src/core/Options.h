#pragma once

#include "core/RigType.h"

#include <QString>
#include <optional>

// The options the main window keeps while it runs, as read from and written
// to section "settings". All are texts, exactly as stored.
struct Options {
    QString catPort;
    QString pollTime;
    QString midiPollTime;
    QString autoconnect;
    QString rigType;
    // The network rig control: "1" to serve the radio to other programs, its
    // TCP port, and the address it listens on (by default this computer only).
    QString rigctlOn;
    QString rigctlPort;
    QString rigctlAddress;
    // The radio reached through Hamlib (rig type "hamlib"): Hamlib's model
    // number, its port (a serial device, or host:port for a network model)
    // and the serial speed.
    QString hamlibModel;
    QString hamlibPort;
    QString hamlibSpeed;

    // Whether the numeric value of `autoconnect` is 1; a text that is not a
    // number (an empty one too) is not.
    bool AutoconnectIsOn() const
    {
        bool isNumber = false;
        const double value = autoconnect.trimmed().toDouble(&isNumber);
        return isNumber && value == 1;
    }
    // The rig type the stored text names exactly; none for any other text.
    std::optional<RigType> Rig() const { return RigTypes::FromSetting(rigType); }
};
