#pragma once

#include "core/MidiEvent.h"

#include <QString>

#include <cstdint>
#include <optional>

// One control of the user's controller, as learning found it: the kind of
// message it sends (a note, a control change, pitch bend), its channel and
// its number. Two controls that share a number but differ in kind or channel
// are two controls. A control learned before kinds and channels were told
// apart stands for its number in any message, as it always did.
struct ControllerControl {
    enum class Kind { AnyMessage, Note, ControlChange, PitchBend };

    Kind kind = Kind::AnyMessage;
    // 0 to 15 (MIDI channel 1 to 16); any for AnyMessage.
    int channel = 0;
    // The note or controller number; none for PitchBend.
    std::uint8_t number = 0;

    // The control that sent `message`; none for what no control sends
    // (system messages, program changes, aftertouch).
    static std::optional<ControllerControl> Of(const MidiEvent& message);
    bool Sends(const MidiEvent& message) const;
    // The two would take some of the same messages.
    bool Overlaps(const ControllerControl& other) const;

    // As stored: "cc 2 0A", "note 1 24", "bend 3", and "30" for any message
    // with number 0x30; none for a text that is no control.
    QString Text() const;
    static std::optional<ControllerControl> Parse(const QString& text);
    // A data byte in one or two hexadecimal digits ("0A", "7F"); none for anything else.
    static std::optional<std::uint8_t> DataByte(const QString& text);
    // As the user reads it: "CC 10 on channel 2", "pitch bend on channel 3".
    QString Describe() const;

    bool operator==(const ControllerControl& other) const;
};
