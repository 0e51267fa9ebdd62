#pragma once

#include "core/MidiEvent.h"
#include "midi/ControllerControl.h"

#include <QString>

#include <cstdint>
#include <optional>

// The message that lights one light of the controller and puts it out: a
// note or a control change on a channel, with its value (velocity) for on
// and for off.
struct LightMessage {
    static constexpr std::uint8_t kOn = 0x7F;
    static constexpr std::uint8_t kOff = 0x00;

    ControllerControl control{ControllerControl::Kind::ControlChange, 0, 0};
    std::uint8_t on = kOn;
    std::uint8_t off = kOff;

    MidiEvent Message(bool lit) const;
    // The light under the button `button`: the message the button sends,
    // with the usual values; a button learned before kinds were told apart
    // sent control changes on channel 1, as the surface does. None for
    // what cannot light (pitch bend).
    static std::optional<LightMessage> UnderButton(const ControllerControl& button);

    // As stored: "cc 1 01 7F 00", "note 2 24 7F 00"; none for a text that is no such message.
    QString Text() const;
    static std::optional<LightMessage> Parse(const QString& text);

    bool operator==(const LightMessage& other) const
    {
        return control == other.control && on == other.on && off == other.off;
    }
    bool operator!=(const LightMessage& other) const { return !(*this == other); }
};
