#pragma once

#include <QList>
#include <QPoint>
#include <QRect>

#include <functional>

class OptionsStore;
class NumberedError;

// Where to put the main window for a stored position: exactly there when its
// title bar is on a screen, otherwise at the top left of the primary screen so
// that nobody is left with a window they cannot reach. UI thread only.
class WindowPlacement {
public:
    static constexpr int kTitleBarHeight = 24;
    static constexpr int kMinVisibleWidth = 40;

    static QPoint Place(QPoint stored, int windowWidth, const QList<QRect>& screens,
                        const QRect& primary);
    // Place() on the screens of the running desktop.
    static QPoint OnScreens(QPoint stored, int windowWidth);

    // The stored position in pixels; an edge that cannot be read is handed to
    // `report` and taken as 0.
    static QPoint Stored(const OptionsStore& settings, const std::function<void(const NumberedError&)>& report);
    static void Store(OptionsStore& settings, QPoint position);
};
