#pragma once

#include "vsurface/ISurfacePorts.h"

#include <QString>
#include <memory>
#include <rtmidi/RtMidi.h>
#include <stdexcept>

// The surface's virtual MIDI ports over RtMidi, which other programs see as a
// device named after the client (the connector lists "Vorn-MIDI"): "out"
// sends, "in" receives. Each port is a client of its own; on ALSA both carry
// the one name. The ports live exactly as long as this object.
class MidiSurfacePorts : public ISurfacePorts {
public:
    // Opening or sending failed; what() says why in words a user can act on.
    class Error : public std::runtime_error {
    public:
        using std::runtime_error::runtime_error;
    };

    // Throws Error when the MIDI system cannot be reached.
    MidiSurfacePorts(RtMidi::Api api, const QString& clientName);
    ~MidiSurfacePorts() override;
    MidiSurfacePorts(const MidiSurfacePorts&) = delete;
    MidiSurfacePorts& operator=(const MidiSurfacePorts&) = delete;

    void Send(const MidiBytes& message) override;
    std::vector<MidiBytes> TakeReceived() override;

    static QString ApiName(RtMidi::Api api);
    // Why the MIDI system `api` cannot be reached, for a user to act on.
    static Error Unreachable(RtMidi::Api api, const QString& what);

private:
    std::unique_ptr<RtMidiOut> out_;
    std::unique_ptr<RtMidiIn> in_;
};
