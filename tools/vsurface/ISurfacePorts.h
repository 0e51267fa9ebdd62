#pragma once

#include <array>
#include <vector>

// One MIDI short message: status byte and two data bytes.
using MidiBytes = std::array<unsigned char, 3>;

// The surface's MIDI ports: the messages it sends, and what it is sent (the
// program's lights). A real MIDI system, or a recorder in tests.
class ISurfacePorts {
public:
    virtual ~ISurfacePorts() = default;
    // Throws std::runtime_error with a readable reason when the message cannot go out.
    virtual void Send(const MidiBytes& message) = 0;
    // The short messages received since the last call, oldest first.
    virtual std::vector<MidiBytes> TakeReceived() = 0;
};
