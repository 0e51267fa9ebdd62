#include "midi/WheelEncoding.h"

#include <algorithm>
#include <cstdlib>

namespace {
constexpr int kMinClicks = 2;

int RelativeClicks(WheelEncoding encoding, std::uint8_t value)
{
    switch (encoding) {
    case WheelEncoding::Offset64: return value - 0x40;
    case WheelEncoding::TwosComplement: return value < 0x40 ? value : value - 0x80;
    case WheelEncoding::SignMagnitude: return value & 0x40 ? -(value & 0x3F) : value & 0x3F;
    case WheelEncoding::Absolute: break;
    }
    return 0;
}

bool TurnsOneWay(WheelEncoding encoding, const QList<std::uint8_t>& values, int sign)
{
    return std::all_of(values.begin(), values.end(),
                       [&](std::uint8_t value) { return RelativeClicks(encoding, value) * sign > 0; });
}

int MedianSize(WheelEncoding encoding, const QList<std::uint8_t>& values)
{
    QList<int> sizes;
    for (const std::uint8_t value : values)
        sizes << std::abs(RelativeClicks(encoding, value));
    std::sort(sizes.begin(), sizes.end());
    return sizes[sizes.size() / 2];
}

// Positions that rise click by click while turned clockwise, then fall from
// about where they stood.
bool KnobTurned(const QList<std::uint8_t>& clockwise, const QList<std::uint8_t>& counterClockwise)
{
    const auto rises = [](const QList<std::uint8_t>& values, int sign) {
        for (qsizetype i = 1; i < values.size(); ++i)
            if ((values[i] - values[i - 1]) * sign <= 0)
                return false;
        return true;
    };
    const int reach = std::max(clockwise.back() - clockwise.front(), 1);
    const int back = clockwise.back() - counterClockwise.front();
    return rises(clockwise, 1) && rises(counterClockwise, -1) && back >= 0 && back <= reach;
}
} // namespace

const QList<WheelEncoding>& WheelEncodings::All()
{
    static const QList<WheelEncoding> all = {WheelEncoding::Offset64, WheelEncoding::TwosComplement,
                                             WheelEncoding::SignMagnitude, WheelEncoding::Absolute};
    return all;
}

QString WheelEncodings::Name(WheelEncoding encoding)
{
    switch (encoding) {
    case WheelEncoding::Offset64: return QStringLiteral("offset 64");
    case WheelEncoding::TwosComplement: return QStringLiteral("two's complement");
    case WheelEncoding::SignMagnitude: return QStringLiteral("sign and magnitude");
    case WheelEncoding::Absolute: break;
    }
    return QStringLiteral("absolute knob");
}

QString WheelEncodings::Key(WheelEncoding encoding)
{
    switch (encoding) {
    case WheelEncoding::Offset64: return QStringLiteral("offset64");
    case WheelEncoding::TwosComplement: return QStringLiteral("twos");
    case WheelEncoding::SignMagnitude: return QStringLiteral("signmag");
    case WheelEncoding::Absolute: break;
    }
    return QStringLiteral("absolute");
}

std::optional<WheelEncoding> WheelEncodings::FromKey(const QString& key)
{
    for (const WheelEncoding encoding : All())
        if (Key(encoding) == key)
            return encoding;
    return std::nullopt;
}

int WheelEncodings::Clicks(WheelEncoding encoding, std::uint8_t value, std::optional<std::uint8_t>& lastPosition)
{
    if (encoding != WheelEncoding::Absolute)
        return RelativeClicks(encoding, value & 0x7F);
    const int clicks = lastPosition ? value - *lastPosition : 0;
    lastPosition = value;
    return clicks;
}

std::optional<WheelEncoding> WheelEncodings::Detect(const QList<std::uint8_t>& clockwise,
                                                    const QList<std::uint8_t>& counterClockwise)
{
    if (clockwise.size() < kMinClicks || counterClockwise.size() < kMinClicks)
        return std::nullopt;
    QList<WheelEncoding> fitting;
    for (const WheelEncoding encoding :
         {WheelEncoding::Offset64, WheelEncoding::TwosComplement, WheelEncoding::SignMagnitude}) {
        if (TurnsOneWay(encoding, clockwise, 1) && TurnsOneWay(encoding, counterClockwise, -1))
            fitting << encoding;
    }
    if (fitting.isEmpty())
        return KnobTurned(clockwise, counterClockwise) ? std::optional(WheelEncoding::Absolute) : std::nullopt;
    const int turnedClockwise = MedianSize(fitting.front(), clockwise);
    const auto alike = [&](WheelEncoding encoding) {
        return std::abs(MedianSize(encoding, counterClockwise) - turnedClockwise);
    };
    return *std::min_element(fitting.begin(), fitting.end(),
                             [&](WheelEncoding a, WheelEncoding b) { return alike(a) < alike(b); });
}
