#include "vsurface/SurfaceEncoder.h"

#include <QStringList>
#include <algorithm>
#include <stdexcept>

namespace {
// Control change on MIDI channel 1.
constexpr int kControlChange = 0xB0;
constexpr int kMaxDataByte = 0x7F;
using Id = SurfaceControls::Id;
}

std::optional<int> SurfaceEncoder::WheelController() const
{
    switch (mode_) {
    case SurfaceMode::Home: return SurfaceControls::Byte(Id::WheelHome);
    case SurfaceMode::Mode1: return SurfaceControls::Byte(Id::WheelMode1);
    default: return std::nullopt;
    }
}

std::optional<int> SurfaceEncoder::SliderController() const
{
    switch (mode_) {
    case SurfaceMode::Mode2: return SurfaceControls::Byte(Id::SliderMode2);
    case SurfaceMode::Mode3: return SurfaceControls::Byte(Id::SliderMode3);
    default: return std::nullopt;
    }
}

std::optional<MidiBytes> SurfaceEncoder::Turn(bool up, int speed) const
{
    const std::optional<int> controller = WheelController();
    if (!controller)
        return std::nullopt;
    return ControlChange(*controller, SurfaceControls::WheelValue(std::clamp(speed, 1, kMaxSpeed), up));
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
    const Id control = SurfaceControls::Button(button, length == PressLength::Long);
    return ControlChange(SurfaceControls::Byte(control), down ? SurfaceControls::kPressed : SurfaceControls::kReleased);
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
