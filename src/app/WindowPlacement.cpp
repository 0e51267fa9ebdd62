#include "app/WindowPlacement.h"

#include "core/OptionsStore.h"
#include "core/NumberedError.h"
#include "widgets/Twips.h"

#include <QGuiApplication>
#include <QScreen>

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

QPoint WindowPlacement::OnScreens(QPoint stored, int windowWidth)
{
    QList<QRect> screens;
    for (QScreen* s : QGuiApplication::screens())
        screens << s->availableGeometry();
    const QScreen* primary = QGuiApplication::primaryScreen();
    return Place(stored, windowWidth, screens, primary ? primary->availableGeometry() : QRect());
}

QPoint WindowPlacement::Stored(const OptionsStore& settings,
                               const std::function<void(const NumberedError&)>& report)
{
    auto twipsOf = [&](OptionsStore::Edge edge) {
        try {
            return static_cast<float>(settings.ReadEdge(edge));
        } catch (const NumberedError& e) {
            report(e);
            return 0.0f;
        }
    };
    const float top = twipsOf(OptionsStore::Edge::Top);
    const float left = twipsOf(OptionsStore::Edge::Left);
    return QPoint(qRound(left / Twips::kPerPixel), qRound(top / Twips::kPerPixel));
}

void WindowPlacement::Store(OptionsStore& settings, QPoint position)
{
    settings.StoreEdges(position.y() * Twips::kPerPixel, position.x() * Twips::kPerPixel);
}
