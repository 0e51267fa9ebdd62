#pragma once

#include "core/IRadio.h"
#include "core/MidiEvent.h"
#include "rigcommand/RigCommands.h"

#include <QString>

class IAlerts;
class ILogSink;
class KeyMap;
struct Options;

// Turns each MIDI message of the surface into the entry of its map key and
// carries it out on the radio. A text entry is the radio's own text, sent as
// it stands; for a Hamlib radio it is commands of Hamlib's rigctl ("S 1
// VFOB"), and one that fails is a line in the log. An entry beginning with
// "#" is a command of the program (a frequency step of a VFO, copy or swap
// of the VFOs, the next mode, the slider scaled to power or CW speed). The
// key is the rig type's letter and the message's two data bytes in
// hexadecimal ("f6441"), or a slider's own suffix. UI thread only.
class SurfaceDispatcher {
public:
    // The message box shown when a wheel or slider message has no map entry.
    static QString MissingKeyMessage();

    // A step that would take a VFO outside what the radio's frequency field
    // holds is refused with a line in `log`.
    SurfaceDispatcher(const KeyMap& keyMap, const Options& options, IRadio& radio, IAlerts& alerts, ILogSink& log);

    // Every MIDI short message comes here; failures are reported in a box.
    void Dispatch(const MidiEvent& message);

private:
    void DispatchWheelOrSlider(const MidiEvent& message);
    void DispatchButton(const MidiEvent& message);
    void CarryOutWheelEntry(const QString& suffix, const QString& entry, const MidiEvent& message);
    void CarryOutTextEntry(const QString& suffix, const QString& entry);
    void CarryOutProgramCommand(const QString& command, std::uint8_t value);
    void StepVfo(Vfo vfo, const QString& entry);
    void SetLevel(const QByteArray& level, double value);
    // The slider's value 0 to 127 as 0 to 100.
    static int Scaled(std::uint8_t value);

    const KeyMap& keyMap_;
    const Options& options_;
    IRadio& radio_;
    IAlerts& alerts_;
    ILogSink& log_;
    // The Hamlib map's text entries are rigctl commands.
    RigCommands rigctlCommands_;
};
