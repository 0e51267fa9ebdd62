#include "core/SurfaceControls.h"

#include <algorithm>

const std::array<SurfaceControls::Control, SurfaceControls::kCount>& SurfaceControls::All()
{
    // Button n short sends kFirstButton + n - 1, long kFirstLongButton + n - 1.
    constexpr std::uint8_t kFirstButton = 0x01;
    constexpr std::uint8_t kFirstLongButton = 0x0B;
    static const std::array<Control, kCount> all = [] {
        std::array<Control, kCount> c{{
            {Id::WheelHome, 0x64, Kind::Wheel, QStringLiteral("Wheel A (home)"), QStringLiteral("wheelahome")},
            {Id::WheelMode1, 0x66, Kind::Wheel, QStringLiteral("Wheel A (mode 1)"), QStringLiteral("wheelamode1")},
            {Id::SliderMode2, 0x68, Kind::Slider, QStringLiteral("Slider B (mode 2)"), QStringLiteral("sliderbmode2")},
            {Id::SliderMode3, 0x6A, Kind::Slider, QStringLiteral("Slider B (mode 3)"), QStringLiteral("sliderbmode3")},
        }};
        for (int n = 1; n <= kButtons; ++n) {
            c[static_cast<int>(Button(n, false))] = {Button(n, false), std::uint8_t(kFirstButton + n - 1), Kind::Button,
                                                     QStringLiteral("Button %1").arg(n), QStringLiteral("button%1").arg(n)};
            c[static_cast<int>(Button(n, true))] = {Button(n, true), std::uint8_t(kFirstLongButton + n - 1), Kind::Button,
                                                    QStringLiteral("Button %1 Long Press").arg(n),
                                                    QStringLiteral("button%1long").arg(n)};
        }
        return c;
    }();
    return all;
}

SurfaceControls::Id SurfaceControls::Button(int number, bool longPress)
{
    const Id first = longPress ? Id::Button1Long : Id::Button1;
    return static_cast<Id>(static_cast<int>(first) + number - 1);
}

std::optional<SurfaceControls::Id> SurfaceControls::OfByte(std::uint8_t dataByte)
{
    const auto found = std::find_if(All().begin(), All().end(),
                                    [&](const Control& control) { return control.dataByte == dataByte; });
    return found == All().end() ? std::nullopt : std::optional<Id>(found->id);
}
