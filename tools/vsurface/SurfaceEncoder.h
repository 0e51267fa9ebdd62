#pragma once

#include "core/SurfaceControls.h"
#include "vsurface/IMidiOut.h"

#include <QString>
#include <optional>

// The surface's four layers. The wheel reports in Home and in Mode 1, the
// slider in Mode 2 and Mode 3, each under its own controller number
// (SurfaceControls). A control whose layer is not selected stays silent, as
// on the hardware.
enum class SurfaceMode { Home, Mode1, Mode2, Mode3 };

enum class PressLength { Short, Long };

// Turns wheel turns, slider moves and button edges into the exact control change
// messages the hardware surface sends on MIDI channel 1.
class SurfaceEncoder {
public:
    static constexpr int kMaxSpeed = SurfaceControls::kWheelSpeeds;
    static constexpr int kButtonCount = SurfaceControls::kButtons;
    static constexpr int kModeCount = 4;

    void SetMode(SurfaceMode mode) { mode_ = mode; }
    SurfaceMode Mode() const { return mode_; }

    // The controller the wheel (slider) reports under in the current mode; none
    // when it is silent in this mode.
    std::optional<int> WheelController() const;
    std::optional<int> SliderController() const;

    // up: clockwise. speed 1..kMaxSpeed, clamped. Nothing in Mode 2 and Mode 3.
    std::optional<MidiBytes> Turn(bool up, int speed) const;
    // value 0..127, clamped. Nothing in Home and Mode 1.
    std::optional<MidiBytes> Slide(int value) const;
    // button 1..kButtonCount; down sends 0x7F, up sends 0x00.
    MidiBytes ButtonEdge(int button, PressLength length, bool down) const;

    static QString ModeName(SurfaceMode mode);
    static QString Hex(const MidiBytes& message);

private:
    static MidiBytes ControlChange(int controller, int value);

    SurfaceMode mode_ = SurfaceMode::Home;
};
