#pragma once

#include <QString>
#include <rtmidi/RtMidi.h>

#include <string>
#include <vector>

// A MIDI port that MidiDeviceWatch brings back when its device returns: the
// program's input, or its output to the controller's lights. UI thread only.
class IWatchedMidiPort {
public:
    virtual ~IWatchedMidiPort() = default;

    // The port names of the devices there are now.
    virtual std::vector<std::string> LookAtPortNames() = 0;
    // The port name of the open port; empty when none is open.
    virtual const std::string& PortName() const = 0;
    // The MIDI system the ports are on.
    virtual RtMidi::Api Api() const = 0;
    // Lets a device that went away go.
    virtual void ReleaseLostDevice() = 0;
    // Opens the port of this name again without a box: empty on success, otherwise why not.
    virtual QString Reopen(const std::string& portName) = 0;
};
