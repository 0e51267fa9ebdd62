#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

// The controls of the Vorn-MIDI surface and the first data byte (controller
// number) each sends. A wheel's second byte is its speed around kWheelCentre
// (0x41 one step up at speed 1, 0x3F one down); a button's is kPressed when
// pressed and kReleased when let go; a slider's is its position.
class SurfaceControls {
public:
    enum class Id {
        WheelHome, WheelMode1, SliderMode2, SliderMode3,
        Button1, Button2, Button3, Button4, Button5, Button6,
        Button1Long, Button2Long, Button3Long, Button4Long, Button5Long, Button6Long
    };
    enum class Kind { Wheel, Slider, Button };
    struct Control {
        Id id;
        std::uint8_t dataByte;
        Kind kind;
        QString name;      // "Wheel A (home)"
        QString learnKey;  // its key in section [surface] of the settings
    };

    static constexpr int kCount = 16;
    static constexpr int kButtons = 6;
    static constexpr int kWheelSpeeds = 12;
    static constexpr std::uint8_t kPressed = 0x7F;
    static constexpr std::uint8_t kReleased = 0x00;
    static constexpr std::uint8_t kWheelCentre = 0x40;

    // In the order they are learned.
    static const std::array<Control, kCount>& All();
    static const Control& Get(Id id) { return All()[static_cast<int>(id)]; }
    static std::uint8_t Byte(Id id) { return Get(id).dataByte; }
    // Button `number` (1 to kButtons), short or long press.
    static Id Button(int number, bool longPress);
    // The control that sends `dataByte` first.
    static std::optional<Id> OfByte(std::uint8_t dataByte);
    // What a wheel sends turned at `speed` (1 to kWheelSpeeds).
    static std::uint8_t WheelValue(int speed, bool up)
    {
        return static_cast<std::uint8_t>(up ? kWheelCentre + speed : kWheelCentre - speed);
    }
};
