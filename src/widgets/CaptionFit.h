#pragma once

class QWidget;

// Fits the captions of a window laid out in fixed positions to the font the
// system really has, which may run wider than the layout's. Every label and
// WrappingButton keeps its left and top edges; where its caption does not
// fit, the first of these answers that works is taken:
//  1. the control grows rightwards into the free room beside it, up to the
//     next control on its line or the edge of its parent;
//  2. a WrappingButton wraps its caption onto further lines (growing as in 1
//     where the wrapped caption needs it);
//  3. a smaller font, one pixel at a time down to kSmallestPixelSize, taken
//     by a whole column of labels (same left edge) or row of buttons (same
//     top edge) at once, so that neighbours keep one size.
// No control comes to reach into another: where the layout lets the blank
// end of one touch the control beside or below it, that end is cut back.
// Call once, after the window's controls are placed. UI thread only.
class CaptionFit {
public:
    static constexpr int kSmallestPixelSize = 8;

    static void Apply(QWidget& window);
};
