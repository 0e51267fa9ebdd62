#pragma once

#include <array>

// One MIDI short message: status byte and two data bytes.
using MidiBytes = std::array<unsigned char, 3>;

// Where the surface's messages go: a real MIDI port, or a recorder in tests.
class IMidiOut {
public:
    virtual ~IMidiOut() = default;
    // Throws std::runtime_error with a readable reason when the message cannot go out.
    virtual void Send(const MidiBytes& message) = 0;
};
