#pragma once

class QWidget;

// The program's windows are laid out in fixed positions for 8-point
// "MS Sans Serif"; this gives a window and its controls that font, or the
// closest font with Arial's metrics the system has (Liberation Sans), at
// 11 px. CaptionFit then fits each caption where the font runs wider.
class FormFont {
public:
    static void Apply(QWidget& window);
};
