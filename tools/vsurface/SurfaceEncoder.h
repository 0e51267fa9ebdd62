#pragma once

#include "core/SurfaceControls.h"
#include "vsurface/ISurfacePorts.h"

#include <QString>
#include <optional>
#include <vector>

// The surface's four layers. The wheel reports in Home and in Mode 1, the
// slider in Mode 2 and Mode 3, each under its own controller number
// (SurfaceControls). A control whose layer is not selected stays silent, as
// on the hardware.
enum class SurfaceMode { Home, Mode1, Mode2, Mode3 };

enum class PressLength { Short, Long };

// What the window stands in for: the Vorn-MIDI surface (control changes on
// channel 1, the wheel 64 plus or minus its speed); a DJ controller's jog on
// channel 2, one message a click in two's complement (0x01, 0x7F), with note
// buttons (as a Hercules DJControl); or a Mackie-style encoder on channel 1
// telling its speed in sign and magnitude, with note buttons.
enum class Imitation { Surface, TwosComplementJog, SignMagnitudeEncoder };

// Turns wheel turns, slider moves and button edges into the exact messages
// the controller it imitates sends.
class SurfaceEncoder {
public:
    static constexpr int kMaxSpeed = SurfaceControls::kWheelSpeeds;
    static constexpr int kButtonCount = SurfaceControls::kButtons;
    static constexpr int kModeCount = 4;

    void SetMode(SurfaceMode mode) { mode_ = mode; }
    SurfaceMode Mode() const { return mode_; }
    void SetImitation(Imitation imitation) { imitation_ = imitation; }
    static QString ImitationName(Imitation imitation);

    // The controller the wheel (slider) reports under in the current mode; none
    // when it is silent in this mode.
    std::optional<int> WheelController() const;
    std::optional<int> SliderController() const;

    // up: clockwise, `clicks` of it, at `speed` 1..kMaxSpeed (clamped): one
    // message with the speed, or one per click for the jog. Nothing in Mode 2 and Mode 3.
    std::vector<MidiBytes> Turn(bool up, int clicks, int speed) const;
    // value 0..127, clamped. Nothing in Home and Mode 1.
    std::optional<MidiBytes> Slide(int value) const;
    // button 1..kButtonCount: 0x7F when down, 0x00 when up (a note-off for note buttons).
    MidiBytes ButtonEdge(int button, PressLength length, bool down) const;
    // The button (1..kButtonCount) whose light `message` switches, and whether
    // on: a message like the button's short press, on above 0; a note-off puts
    // a note button's light out. None for any other message.
    struct Light {
        int button;
        bool on;
    };
    std::optional<Light> LightOf(const MidiBytes& message) const;

    static QString ModeName(SurfaceMode mode);
    static QString Hex(const MidiBytes& message);

private:
    MidiBytes ControlChange(int controller, int value) const;
    int Channel() const { return imitation_ == Imitation::TwosComplementJog ? 1 : 0; }

    SurfaceMode mode_ = SurfaceMode::Home;
    Imitation imitation_ = Imitation::Surface;
};
