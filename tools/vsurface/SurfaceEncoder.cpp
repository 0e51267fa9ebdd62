#include "vsurface/SurfaceEncoder.h"

#include <QStringList>
#include <algorithm>
#include <stdexcept>

namespace {
constexpr int kControlChange = 0xB0;
constexpr int kNoteOn = 0x90;
constexpr int kNoteOff = 0x80;
constexpr int kMaxDataByte = 0x7F;
using Id = SurfaceControls::Id;

// The numbers of the controls in the four modes, and of the first short and
// long press, of each imitation.
struct Numbers {
    int wheelHome, wheelMode1, sliderMode2, sliderMode3, firstButton, firstLongButton;
};
const Numbers kJog{0x0A, 0x0B, 0x0C, 0x0D, 0x24, 0x2A};
const Numbers kEncoder{0x3C, 0x3D, 0x3E, 0x3F, 0x10, 0x16};
} // namespace

QString SurfaceEncoder::ImitationName(Imitation imitation)
{
    switch (imitation) {
    case Imitation::Surface: return QStringLiteral("Vorn-MIDI surface");
    case Imitation::TwosComplementJog: return QStringLiteral("Jog, two's complement, channel 2");
    case Imitation::SignMagnitudeEncoder: return QStringLiteral("Encoder, sign and magnitude");
    }
    return QString();
}

std::optional<int> SurfaceEncoder::WheelController() const
{
    const bool home = mode_ == SurfaceMode::Home;
    if (!home && mode_ != SurfaceMode::Mode1)
        return std::nullopt;
    switch (imitation_) {
    case Imitation::TwosComplementJog: return home ? kJog.wheelHome : kJog.wheelMode1;
    case Imitation::SignMagnitudeEncoder: return home ? kEncoder.wheelHome : kEncoder.wheelMode1;
    case Imitation::Surface: break;
    }
    return SurfaceControls::Byte(home ? Id::WheelHome : Id::WheelMode1);
}

std::optional<int> SurfaceEncoder::SliderController() const
{
    const bool mode2 = mode_ == SurfaceMode::Mode2;
    if (!mode2 && mode_ != SurfaceMode::Mode3)
        return std::nullopt;
    switch (imitation_) {
    case Imitation::TwosComplementJog: return mode2 ? kJog.sliderMode2 : kJog.sliderMode3;
    case Imitation::SignMagnitudeEncoder: return mode2 ? kEncoder.sliderMode2 : kEncoder.sliderMode3;
    case Imitation::Surface: break;
    }
    return SurfaceControls::Byte(mode2 ? Id::SliderMode2 : Id::SliderMode3);
}

std::vector<MidiBytes> SurfaceEncoder::Turn(bool up, int clicks, int speed) const
{
    const std::optional<int> controller = WheelController();
    if (!controller)
        return {};
    speed = std::clamp(speed, 1, kMaxSpeed);
    switch (imitation_) {
    case Imitation::TwosComplementJog:
        return std::vector<MidiBytes>(std::size_t(std::max(clicks, 1)), ControlChange(*controller, up ? 0x01 : 0x7F));
    case Imitation::SignMagnitudeEncoder: return {ControlChange(*controller, up ? speed : 0x40 | speed)};
    case Imitation::Surface: break;
    }
    return {ControlChange(*controller, SurfaceControls::WheelValue(speed, up))};
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
    const bool longPress = length == PressLength::Long;
    if (imitation_ == Imitation::Surface) {
        const Id control = SurfaceControls::Button(button, longPress);
        return ControlChange(SurfaceControls::Byte(control), down ? SurfaceControls::kPressed : SurfaceControls::kReleased);
    }
    const Numbers& numbers = imitation_ == Imitation::TwosComplementJog ? kJog : kEncoder;
    const int note = (longPress ? numbers.firstLongButton : numbers.firstButton) + button - 1;
    return {static_cast<unsigned char>((down ? kNoteOn : kNoteOff) | Channel()), static_cast<unsigned char>(note),
            static_cast<unsigned char>(down ? kMaxDataByte : 0)};
}

std::optional<SurfaceEncoder::Light> SurfaceEncoder::LightOf(const MidiBytes& message) const
{
    const bool noteOff = (message[0] & 0xF0) == kNoteOff;
    const unsigned char status = noteOff ? (kNoteOn | (message[0] & 0x0F)) : message[0];
    for (int button = 1; button <= kButtonCount; ++button) {
        const MidiBytes press = ButtonEdge(button, PressLength::Short, true);
        if (press[0] == status && press[1] == message[1])
            return Light{button, !noteOff && message[2] > 0};
    }
    return std::nullopt;
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

MidiBytes SurfaceEncoder::ControlChange(int controller, int value) const
{
    return {static_cast<unsigned char>(kControlChange | Channel()), static_cast<unsigned char>(controller),
            static_cast<unsigned char>(value)};
}
