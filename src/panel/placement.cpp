#include "panel/placement.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr qreal dockZone = 160;   // an anchor this close to an edge sits on a dock there
constexpr qreal aboveDock = 85;   // from the anchor to the panel above a bottom dock
constexpr qreal dockFloor = 56;   // least height above the visible frame's lower edge
constexpr qreal besideDock = 200; // from the anchor to the panel beside a side dock
constexpr qreal bottomGap = 12;   // "Bottom center": above the visible frame's lower edge
constexpr qreal margin = 8;       // always kept inside the visible frame

bool contains(const QRectF& rect, const QPointF& point)
{
    return point.x() >= rect.left() && point.x() < rect.left() + rect.width() &&
           point.y() > rect.top() && point.y() <= rect.top() + rect.height();
}

} // namespace

const Placement::Screen* Placement::chooseScreen(const Request& request)
{
    for (const Screen& screen : request.screens) {
        if (contains(screen.frame, request.pointer))
            return &screen;
    }
    if (request.mainScreen >= 0 && request.mainScreen < request.screens.size())
        return &request.screens.at(request.mainScreen);
    return request.screens.isEmpty() ? nullptr : &request.screens.first();
}

QPointF Placement::origin(const Request& request)
{
    const Screen* screen = chooseScreen(request);
    const QRectF visible = screen ? screen->visible : QRectF();
    const QRectF frame = screen ? screen->frame : QRectF();
    // QRectF's top() is its smallest y: the lower edge here, since y grows upwards.
    const qreal minXV = visible.left(), maxXV = visible.left() + visible.width();
    const qreal minYV = visible.top(), maxYV = visible.top() + visible.height();
    const qreal minXF = frame.left(), maxXF = frame.left() + frame.width();
    const qreal minYF = frame.top();
    const qreal w = request.size.width(), h = request.size.height();
    const QPointF p = request.pointer;

    qreal x = 0, y = 0;
    if (!request.anchor) {
        if (request.mode == AtMouse) {
            x = p.x() - w / 2;
            y = p.y() - h / 2;
        } else {
            x = (minXV + maxXV) / 2 - w / 2;
            y = minYV + bottomGap;
        }
    } else {
        const QPointF a = *request.anchor;
        if (a.y() < minYF + dockZone) {
            x = a.x() - w / 2;
            y = std::max(a.y() + aboveDock, minYV + dockFloor);
        } else if (a.x() < minXF + dockZone) {
            x = a.x() + besideDock;
            y = a.y() - h / 2;
        } else if (a.x() > maxXF - dockZone) {
            x = a.x() - w - besideDock;
            y = a.y() - h / 2;
        } else {
            x = a.x() - w / 2;
            y = a.y() - h / 2;
        }
    }
    if (!screen)
        return {x, y};
    // Low edge first, then the high edge, so a panel larger than the frame keeps its top.
    x = std::min(std::max(x, minXV + margin), maxXV - w - margin);
    y = std::min(std::max(y, minYV + margin), maxYV - h - margin);
    return {x, y};
}

bool Placement::usesPointer(const Request& request)
{
    // One screen is chosen whether or not the pointer is on it; an anchor replaces the pointer.
    return request.screens.size() > 1 || (request.mode == AtMouse && !request.anchor);
}

PlacementSpace::PlacementSpace(const QRect& mainScreen)
    : m_left(mainScreen.x())
    , m_bottom(qreal(mainScreen.y()) + mainScreen.height())
{
}

QPointF PlacementSpace::toPlacement(const QPointF& qtPoint) const
{
    return {qtPoint.x() - m_left, m_bottom - qtPoint.y()};
}

QRectF PlacementSpace::toPlacement(const QRect& qtRect) const
{
    return {qreal(qtRect.x()) - m_left, m_bottom - (qreal(qtRect.y()) + qtRect.height()),
            qreal(qtRect.width()), qreal(qtRect.height())};
}

QRect PlacementSpace::toQt(const QPointF& origin, const QSizeF& size) const
{
    const qreal top = m_bottom - (origin.y() + size.height());
    return {int(std::lround(origin.x() + m_left)), int(std::lround(top)),
            int(std::lround(size.width())), int(std::lround(size.height()))};
}
