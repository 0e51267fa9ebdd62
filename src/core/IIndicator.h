#pragma once

// A connection lamp. Colours are Windows-order fill colours: 255 red, 65280 green.
class IIndicator {
public:
    static constexpr int kRed = 255;
    static constexpr int kGreen = 65280;

    virtual ~IIndicator() = default;
    virtual void SetFillColor(int color) = 0;
};
