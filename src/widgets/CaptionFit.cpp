#include "widgets/CaptionFit.h"

#include "widgets/WrappingButton.h"

#include <QFontInfo>
#include <QHash>
#include <QLabel>
#include <QList>

#include <algorithm>
#include <map>
#include <tuple>

namespace {

// True when the control sits in `window` itself, not in a window of its own
// opened from it. (A window built as a child becomes one only later.)
bool InWindow(const QWidget& control, const QWidget& window)
{
    for (const QWidget* w = control.parentWidget(); w != &window; w = w->parentWidget()) {
        if (!w || w->isWindow())
            return false;
    }
    return true;
}

bool Fits(const QWidget& control, bool wrapped)
{
    QRect area;
    int flags = 0;
    QString text;
    if (auto* label = qobject_cast<const QLabel*>(&control)) {
        area = label->contentsRect();
        flags = static_cast<int>(label->alignment());
        text = label->text();
    } else {
        auto* button = static_cast<const WrappingButton*>(&control);
        area = button->captionArea();
        flags = wrapped ? WrappingButton::kCaptionFlags
                        : WrappingButton::kCaptionFlags & ~Qt::TextWordWrap;
        text = button->text();
    }
    const QSize need = control.fontMetrics().boundingRect(area, flags, text).size();
    return need.width() <= area.width() && need.height() <= area.height();
}

// How far the control may reach: the left edge of the nearest control to its
// right on its line and the top edge of the nearest one below it, or the
// edges of its parent.
QPoint Limits(const QWidget& control)
{
    const QWidget& parent = *control.parentWidget();
    const QRect own = control.geometry();
    QPoint limit(parent.width(), parent.height());
    for (const QWidget* other : parent.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (other == &control || other->isWindow() || other->isHidden())
            continue;
        const QRect g = other->geometry();
        if (g.top() <= own.bottom() && g.bottom() >= own.top() && g.left() > own.left())
            limit.setX(std::min(limit.x(), g.left()));
        if (g.left() <= own.right() && g.right() >= own.left() && g.top() > own.top())
            limit.setY(std::min(limit.y(), g.top()));
    }
    return limit;
}

void CutBackToNeighbours(QWidget& control)
{
    const QPoint below = Limits(control);
    control.resize(control.width(), std::min(control.height(), below.y() - control.y()));
    const QPoint beside = Limits(control);
    control.resize(std::min(control.width(), beside.x() - control.x()), control.height());
}

// The least width from the laid-out one up to the room beside the control at
// which its caption fits; false when none does.
bool FitWidth(QWidget& control, int laidOutWidth, bool wrapped)
{
    const int room = Limits(control).x() - control.x();
    for (int width = std::min(laidOutWidth, room); width <= room; ++width) {
        control.resize(width, control.height());
        if (Fits(control, wrapped))
            return true;
    }
    return false;
}

bool FitAtFont(QWidget& control, int laidOutWidth)
{
    return FitWidth(control, laidOutWidth, false) ||
           (qobject_cast<WrappingButton*>(&control) && FitWidth(control, laidOutWidth, true));
}

void SetPixelSize(QWidget& control, int pixels)
{
    if (QFontInfo(control.font()).pixelSize() == pixels)
        return;
    QFont font = control.font();
    font.setPixelSize(pixels);
    control.setFont(font);
}

void FitGroup(const QList<QWidget*>& group, const QHash<QWidget*, int>& laidOutWidth)
{
    const int largest = QFontInfo(group.first()->font()).pixelSize();
    for (int pixels = largest; pixels >= CaptionFit::kSmallestPixelSize; --pixels) {
        bool all = true;
        for (QWidget* control : group) {
            SetPixelSize(*control, pixels);
            all = FitAtFont(*control, laidOutWidth.value(control)) && all;
        }
        if (all)
            return;
    }
}

} // namespace

void CaptionFit::Apply(QWidget& window)
{
    // Style and font must be final before anything is measured.
    window.ensurePolished();
    QHash<QWidget*, int> laidOutWidth;
    std::map<std::tuple<QWidget*, bool, int>, QList<QWidget*>> groups;
    for (QWidget* control : window.findChildren<QWidget*>()) {
        const bool isLabel = qobject_cast<QLabel*>(control) != nullptr;
        if ((!isLabel && !qobject_cast<WrappingButton*>(control)) || !InWindow(*control, window))
            continue;
        CutBackToNeighbours(*control);
        laidOutWidth.insert(control, control->width());
        groups[{control->parentWidget(), isLabel, isLabel ? control->x() : control->y()}] << control;
    }
    for (const auto& group : groups)
        FitGroup(group.second, laidOutWidth);
}
