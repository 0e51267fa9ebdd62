#include "midi/ControllerTranslator.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {
using Kind = SurfaceControls::Kind;

bool Pressed(const MidiEvent& message)
{
    const std::uint8_t kind = message.Kind();
    return (kind == MidiEvent::kNoteOn || kind == MidiEvent::kControlChange) && message.data2 > 0;
}

std::uint8_t SliderValue(const MidiEvent& message)
{
    if ((message.Kind()) != MidiEvent::kPitchBend)
        return message.data2;
    const int bend = (message.data2 & 0x7F) << 7 | (message.data1 & 0x7F);
    return std::uint8_t(std::lround(bend * 127.0 / 16383.0));
}
} // namespace

ControllerTranslator::ControllerTranslator(const LearnedControls& learned) : learned_(learned)
{
}

MidiEvent ControllerTranslator::Surface(SurfaceControls::Id control, std::uint8_t value, std::uint32_t timestamp)
{
    return MidiEvent::Short(MidiEvent::kControlChange, SurfaceControls::Byte(control), value, timestamp);
}

void ControllerTranslator::Translate(const MidiEvent& message, const Emit& hand)
{
    if (generation_ != learned_.generation()) {
        generation_ = learned_.generation();
        wheels_ = {};
    }
    const LearnedControls::Table& table = learned_.table();
    const auto found = std::find_if(table.begin(), table.end(),
                                    [&](const auto& learned) { return learned && learned->control.Sends(message); });
    if (found == table.end()) {
        hand(message);
        return;
    }
    const int index = int(found - table.begin());
    const SurfaceControls::Control& control = SurfaceControls::All()[index];
    if ((*found)->control.kind == ControllerControl::Kind::AnyMessage) {
        MidiEvent renumbered = message;
        renumbered.data1 = control.dataByte;
        hand(renumbered);
    } else if (control.kind == Kind::Wheel) {
        Turn(index, **found, message, hand);
    } else if (control.kind == Kind::Slider) {
        hand(Surface(control.id, SliderValue(message), message.timestamp));
    } else {
        hand(Surface(control.id, Pressed(message) ? SurfaceControls::kPressed : SurfaceControls::kReleased,
                     message.timestamp));
    }
}

void ControllerTranslator::Turn(int index, const LearnedControls::Learned& learned, const MidiEvent& message,
                                const Emit& hand)
{
    Wheel& wheel = wheels_[std::size_t(index)];
    const int clicks = WheelEncodings::Clicks(learned.encoding, message.data2, wheel.lastPosition);
    if (clicks == 0)
        return;
    const bool clockwise = clicks > 0;
    wheel.tellsSpeed = wheel.tellsSpeed || std::abs(clicks) > 1;
    const int speed = wheel.tellsSpeed ? std::min(std::abs(clicks), SurfaceControls::kWheelSpeeds)
                                       : wheel.clickSpeed.Click(message.timestamp, clockwise);
    hand(Surface(SurfaceControls::All()[std::size_t(index)].id, SurfaceControls::WheelValue(speed, clockwise),
                 message.timestamp));
}
