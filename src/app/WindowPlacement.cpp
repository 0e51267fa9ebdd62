#include "app/WindowPlacement.h"

QPoint WindowPlacement::Place(QPoint stored, int windowWidth, const QList<QRect>& screens,
                              const QRect& primary)
{
    const QRect titleBar(stored, QSize(windowWidth, kTitleBarHeight));
    for (const QRect& screen : screens) {
        const QRect visible = screen.intersected(titleBar);
        if (visible.width() >= kMinVisibleWidth && visible.height() >= kTitleBarHeight / 2)
            return stored;
    }
    return primary.topLeft();
}
