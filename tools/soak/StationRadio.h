#pragma once

#include <QObject>
#include <functional>

// The radio at the far end of the program's line, which the soak switches off
// and on again: the simulator (the program's own CAT link, or Hamlib's
// TS-480 driver on it) or a rigctld (Hamlib's NET rigctl).
class StationRadio : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Switches it on at VFO A `vfoAHz`; `noiseBurstAfter` > 0 puts line noise
    // after that many commands, where the radio can. `then` is told whether
    // it is on and takes commands.
    virtual void Start(qint64 vfoAHz, int noiseBurstAfter, std::function<void(bool)> then) = 0;
    // Whether Start's line noise means anything to this radio.
    virtual bool TakesNoise() const { return false; }
    // Switched off at once, as a power cut does.
    virtual void Kill() = 0;
    // VFO A as the radio has it now, when it can be told; `then` gets -1 when not.
    virtual void ReadVfoA(std::function<void(qint64)> then) = 0;
    // Whether the program is talking to this radio since its last start: it
    // has polled it (for a rigctld, which logs nothing, always true).
    virtual bool Polled() = 0;
    // What the program's settings need to reach it, as "section/key=value" lines.
    virtual QStringList SettingsLines() const = 0;
    // VFO A commands the radio was sent with a frequency outside the band the
    // wheel tunes, and VFO B commands (where the radio logs them).
    virtual int StrayVfoACommands() { return 0; }
    virtual int VfoBCommands() { return -1; }
};
