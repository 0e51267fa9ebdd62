#pragma once

class QWidget;

// The program's windows are laid out in fixed positions for 8-point
// "MS Sans Serif"; this gives a window that font, or the closest narrow sans
// serif the system has, and buttons whose captions use their whole width.
class FormFont {
public:
    static void Apply(QWidget& window);
};
