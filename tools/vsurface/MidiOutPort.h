#pragma once

#include "vsurface/IMidiOut.h"

#include <QString>
#include <memory>
#include <rtmidi/RtMidi.h>
#include <stdexcept>

// A virtual MIDI output port that other programs see as a device named after
// the client (the connector lists "Vorn-MIDI"). The port lives exactly as long
// as this object.
class MidiOutPort : public IMidiOut {
public:
    // Opening or sending failed; what() says why in words a user can act on.
    class Error : public std::runtime_error {
    public:
        using std::runtime_error::runtime_error;
    };

    // Throws Error when the MIDI system cannot be reached.
    MidiOutPort(RtMidi::Api api, const QString& clientName, const QString& portName);
    ~MidiOutPort() override;
    MidiOutPort(const MidiOutPort&) = delete;
    MidiOutPort& operator=(const MidiOutPort&) = delete;

    void Send(const MidiBytes& message) override;

    static QString ApiName(RtMidi::Api api);

private:
    std::unique_ptr<RtMidiOut> out_;
};
