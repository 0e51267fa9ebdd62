#pragma once

#include <QString>

// The options the main window keeps while it runs, as read from and written
// to section "settings". All are texts, exactly as stored.
struct Options {
    QString catport;
    QString polltime;
    QString midipolltime;
    QString mautoconnect;
    QString rigtype;
    // The network rig control: "1" to serve the radio to other programs, its
    // TCP port, and the address it listens on (by default this computer only).
    QString rigctld;
    QString rigctldport;
    QString rigctldaddress;

    // Whether the numeric value of `mautoconnect` is 1; a text that is not a
    // number (an empty one too) is not.
    bool AutoconnectIsOn() const
    {
        bool isNumber = false;
        const double value = mautoconnect.trimmed().toDouble(&isNumber);
        return isNumber && value == 1;
    }
};
