#pragma once

#include <QList>
#include <QString>

#include <cstdint>
#include <optional>

// How a controller's jog wheel tells a turn, one message value at a time:
//   Offset64:        64 plus the clicks (0x41 one clockwise, 0x3F one back; the surface's own)
//   TwosComplement:  the clicks as a 7-bit two's complement (0x01 one clockwise, 0x7F one back)
//   SignMagnitude:   bit 6 for counter-clockwise, the clicks below it (0x01 one clockwise, 0x41 one back)
//   Absolute:        the knob's position 0 to 127; a turn is the change from the last
enum class WheelEncoding { Offset64, TwosComplement, SignMagnitude, Absolute };

class WheelEncodings {
public:
    static const QList<WheelEncoding>& All();
    // "two's complement", as the user reads it.
    static QString Name(WheelEncoding encoding);
    // "twos", as the settings store it; and back.
    static QString Key(WheelEncoding encoding);
    static std::optional<WheelEncoding> FromKey(const QString& key);

    // The clicks one message tells, clockwise positive; 0 for no turn. An
    // absolute knob's first position (`lastPosition` empty) is no turn, and
    // becomes the position turns count from.
    static int Clicks(WheelEncoding encoding, std::uint8_t value, std::optional<std::uint8_t>& lastPosition);

    // The encoding that reads every value of a clockwise turn as clockwise and
    // every value of the counter-clockwise turn after it as counter-clockwise,
    // at least two of each; of two's complement and sign and magnitude, which
    // read the same values either way, the one that finds the two turns alike
    // in size. None when no encoding fits.
    static std::optional<WheelEncoding> Detect(const QList<std::uint8_t>& clockwise,
                                               const QList<std::uint8_t>& counterClockwise);
};
