#include "panel/panel_style.h"

#include <algorithm>

namespace {

QFont resized(const QFont& base, qreal delta)
{
    QFont font = base;
    const qreal size = base.pointSizeF() > 0 ? base.pointSizeF() : 10;
    font.setPointSizeF(std::max<qreal>(7, size + delta));
    return font;
}

} // namespace

namespace PanelStyle {

QFont callout(const QFont& base)
{
    return resized(base, -0.5);
}
QFont caption(const QFont& base)
{
    return resized(base, -1.5);
}
QFont small(const QFont& base)
{
    return resized(base, -1);
}

QFont headline(const QFont& base)
{
    QFont font = resized(base, 0.5);
    font.setWeight(QFont::DemiBold);
    return font;
}

bool isDark(const QPalette& palette)
{
    return palette.color(QPalette::Window).lightness() < 128;
}

QColor accent(const QPalette& palette)
{
    return palette.color(QPalette::Active, QPalette::Highlight);
}

QColor primary(const QPalette& palette)
{
    return palette.color(QPalette::WindowText);
}

QColor secondary(const QPalette& palette)
{
    QColor color = palette.color(QPalette::WindowText);
    color.setAlphaF(0.55);
    return color;
}

QColor quietFill()
{
    return QColor(128, 128, 128, 51);
}

QColor material(const QPalette& palette)
{
    QColor color = palette.color(QPalette::Window);
    color.setAlphaF(0.94);
    return color;
}

QColor edge(const QPalette& palette)
{
    return isDark(palette) ? QColor(255, 255, 255, 38) : QColor(0, 0, 0, 40);
}

QColor hover(const QPalette& palette)
{
    return isDark(palette) ? QColor(255, 255, 255, 22) : QColor(0, 0, 0, 18);
}

} // namespace PanelStyle
