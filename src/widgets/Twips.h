#pragma once

#include <QRect>

// Window layouts are given in twips; at 96 dpi 15 twips make one pixel.
namespace Twips {
constexpr int kPerPixel = 15;
inline int ToPixels(int twips) { return twips / kPerPixel; }
inline QRect Rect(int left, int top, int width, int height)
{
    return QRect(ToPixels(left), ToPixels(top), ToPixels(width), ToPixels(height));
}
} // namespace Twips
