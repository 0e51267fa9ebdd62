#pragma once

#include <QList>
#include <QPoint>
#include <QRect>

// Where to put the main window for a stored position: exactly there when its
// title bar is on a screen, otherwise at the top left of the primary screen so
// that nobody is left with a window they cannot reach.
class WindowPlacement {
public:
    static constexpr int kTitleBarHeight = 24;
    static constexpr int kMinVisibleWidth = 40;

    static QPoint Place(QPoint stored, int windowWidth, const QList<QRect>& screens,
                        const QRect& primary);
};
