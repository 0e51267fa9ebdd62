#include "vsurface/SurfaceEncoder.h"

#include <QStringList>
#include <algorithm>
#include <stdexcept>

namespace {
constexpr int kControlChange = 0xB0;
constexpr int kWheelHome = 0x64;
constexpr int kWheelMode1 = 0x66;
constexpr int kSliderMode2 = 0x68;
constexpr int kSliderMode3 = 0x6A;
constexpr int kFirstShortButton = 0x01;
constexpr int kFirstLongButton = 0x0B;
constexpr int kPressed = 0x7F;
constexpr int kReleased = 0x00;
// Speed 1 is one off the centre value 0x40 (which the surface never sends),
// each further speed one more.
constexpr int kWheelCentre = 0x40;
constexpr int kMaxDataByte = 0x7F;
}

std::optional<int> SurfaceEncoder::WheelController() const
{
    switch (mode_) {
    case SurfaceMode::Home: return kWheelHome;
    case SurfaceMode::Mode1: return kWheelMode1;
    default: return std::nullopt;
    }
}

std::optional<int> SurfaceEncoder::SliderController() const
{
    switch (mode_) {
    case SurfaceMode::Mode2: return kSliderMode2;
    case SurfaceMode::Mode3: return kSliderMode3;
    default: return std::nullopt;
    }
}

std::optional<MidiBytes> SurfaceEncoder::Turn(bool up, int speed) const
{
    const std::optional<int> controller = WheelController();
    if (!controller)
        return std::nullopt;
    const int step = std::clamp(speed, 1, kMaxSpeed);
    return ControlChange(*controller, up ? kWheelCentre + step : kWheelCentre - step);
}

std::optional<MidiBytes> SurfaceEncoder::Slide(int value) const
{
    const std::optional<int> controller = SliderController();
    if (!controller)
        return std::nullopt;
    return ControlChange(*controller, std::clamp(value, 0, kMaxDataByte));
}

MidiBytes SurfaceEncoder::ButtonEdge(int button, PressLength length, bool down) const
{
    if (button < 1 || button > kButtonCount)
        throw std::invalid_argument("surface button number out of range");
    const int first = length == PressLength::Short ? kFirstShortButton : kFirstLongButton;
    return ControlChange(first + button - 1, down ? kPressed : kReleased);
}

QString SurfaceEncoder::ModeName(SurfaceMode mode)
{
    switch (mode) {
    case SurfaceMode::Home: return QStringLiteral("Home");
    case SurfaceMode::Mode1: return QStringLiteral("Mode 1");
    case SurfaceMode::Mode2: return QStringLiteral("Mode 2");
    case SurfaceMode::Mode3: return QStringLiteral("Mode 3");
    }
    return QString();
}

QString SurfaceEncoder::Hex(const MidiBytes& message)
{
    QStringList parts;
    for (unsigned char byte : message)
        parts << QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0')).toUpper();
    return parts.join(QLatin1Char(' '));
}

MidiBytes SurfaceEncoder::ControlChange(int controller, int value)
{
    return {static_cast<unsigned char>(kControlChange), static_cast<unsigned char>(controller),
            static_cast<unsigned char>(value)};
}
