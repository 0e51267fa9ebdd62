#pragma once

#include "core/MidiEvent.h"
#include "midi/ClickSpeed.h"
#include "midi/LearnedControls.h"

#include <array>
#include <functional>
#include <optional>

// Turns what the user's controller sends into what the surface would send
// for the same use, so that every key map, the dispatcher and the network
// clients work as they do with the surface:
//   a learned wheel's turn: the surface's wheel message, 64 plus or minus
//     the speed (a message of n clicks is speed n, at most 12; a wheel that
//     tells single clicks only gets its speed from ClickSpeed);
//   a learned button: 0x7F when pressed (note-on with a velocity, a control
//     change above 0), 0x00 when let go (note-off, velocity 0, value 0);
//   a learned slider: its control change's value, or pitch bend's 14 bits
//     scaled to 0 to 127;
//   an entry of a number alone: the surface's number in place of the
//     controller's, the rest as it came;
//   anything else: as it came.
// The table is read at each message, and state kept per wheel starts afresh
// when the table changes. UI thread only.
class ControllerTranslator {
public:
    using Emit = std::function<void(const MidiEvent& surfaceMessage)>;

    explicit ControllerTranslator(const LearnedControls& learned);

    // Hands the surface's messages for `message` to `hand`: none, one or (a
    // message no control was learned for) the message itself.
    void Translate(const MidiEvent& message, const Emit& hand);

private:
    // What a learned wheel remembers between messages.
    struct Wheel {
        std::optional<std::uint8_t> lastPosition;
        ClickSpeed clickSpeed;
        // It has sent a turn of more than one click: it tells its own speed.
        bool tellsSpeed = false;
    };

    void Turn(int index, const LearnedControls::Learned& learned, const MidiEvent& message, const Emit& hand);
    static MidiEvent Surface(SurfaceControls::Id control, std::uint8_t value, std::uint32_t timestamp);

    const LearnedControls& learned_;
    int generation_ = -1;
    std::array<Wheel, SurfaceControls::kCount> wheels_{};
};
