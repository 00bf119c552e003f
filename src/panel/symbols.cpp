#include "panel/symbols.h"

#include "panel/panel_style.h"

#include <QFocusEvent>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <numbers>

namespace {

// All glyphs are drawn on a 24-unit grid and scaled into the box.
void paintPin(QPainter& p, bool filled, const QColor& ink)
{
    QPainterPath body;
    body.moveTo(8.5, 3);
    body.lineTo(15.5, 3);
    body.quadTo(16.5, 3, 16, 4.2);
    body.lineTo(15, 6.5);
    body.lineTo(15.2, 10.5);
    body.quadTo(18.5, 12, 18.8, 14.4);
    body.quadTo(18.9, 15.2, 18, 15.2);
    body.lineTo(6, 15.2);
    body.quadTo(5.1, 15.2, 5.2, 14.4);
    body.quadTo(5.5, 12, 8.8, 10.5);
    body.lineTo(9, 6.5);
    body.lineTo(8, 4.2);
    body.quadTo(7.5, 3, 8.5, 3);
    body.closeSubpath();

    QPen pen(ink, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(filled ? QBrush(ink) : QBrush(Qt::NoBrush));
    p.drawPath(body);
    p.drawLine(QPointF(12, 15.2), QPointF(12, 21.2));
}

void paintGear(QPainter& p, const QColor& ink, const QColor& paper)
{
    constexpr int teeth = 8;
    constexpr qreal outer = 10.4;
    constexpr qreal inner = 8.0;
    QPainterPath gear;
    for (int i = 0; i < teeth * 4; ++i) {
        // Each tooth: rise, top, fall, root, a quarter of the tooth pitch each.
        const qreal angle = (i - 0.5) * 2 * std::numbers::pi / (teeth * 4);
        const int phase = i % 4;
        const qreal r = (phase == 1 || phase == 2) ? outer : inner;
        const QPointF point(12 + r * std::cos(angle), 12 + r * std::sin(angle));
        if (i == 0)
            gear.moveTo(point);
        else
            gear.lineTo(point);
    }
    gear.closeSubpath();
    p.setPen(QPen(ink, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(ink);
    p.drawPath(gear);
    p.setPen(Qt::NoPen);
    p.setBrush(paper);
    p.drawEllipse(QPointF(12, 12), 6.0, 6.0);
    p.setBrush(ink);
    p.drawEllipse(QPointF(12, 12), 3.1, 3.1);
    p.setBrush(paper);
    p.drawEllipse(QPointF(12, 12), 1.5, 1.5);
}

void paintXmarkCircle(QPainter& p, const QColor& ink, const QColor& paper)
{
    p.setPen(Qt::NoPen);
    p.setBrush(ink);
    p.drawEllipse(QPointF(12, 12), 9.5, 9.5);
    p.setPen(QPen(paper, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(8.6, 8.6), QPointF(15.4, 15.4));
    p.drawLine(QPointF(15.4, 8.6), QPointF(8.6, 15.4));
}

void paintGrid(QPainter& p, const QColor& ink)
{
    p.setPen(QPen(ink, 1.9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    for (qreal x : {4.0, 13.0}) {
        for (qreal y : {4.0, 13.0})
            p.drawRoundedRect(QRectF(x, y, 7, 7), 1.8, 1.8);
    }
}

} // namespace

void paintSymbol(QPainter& painter, const QRectF& box, Symbol symbol, const QColor& ink,
                 const QColor& paper)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal side = std::min(box.width(), box.height());
    painter.translate(box.center().x() - side / 2, box.center().y() - side / 2);
    painter.scale(side / 24, side / 24);
    switch (symbol) {
    case Symbol::Pin: paintPin(painter, false, ink); break;
    case Symbol::PinFill: paintPin(painter, true, ink); break;
    case Symbol::Gearshape: paintGear(painter, ink, paper); break;
    case Symbol::XmarkCircleFill: paintXmarkCircle(painter, ink, paper); break;
    case Symbol::SquareGrid2x2: paintGrid(painter, ink); break;
    }
    painter.restore();
}

SymbolButton::SymbolButton(Symbol symbol, const QString& toolTip, QWidget* parent)
    : QAbstractButton(parent)
    , m_symbol(symbol)
{
    setToolTip(toolTip);
    setAccessibleName(toolTip);
    setCursor(Qt::ArrowCursor);
    setFocusPolicy(Qt::TabFocus);
    setAttribute(Qt::WA_Hover);
}

void SymbolButton::setSymbol(Symbol symbol)
{
    if (m_symbol == symbol)
        return;
    m_symbol = symbol;
    update();
}

void SymbolButton::setInk(const QColor& ink)
{
    m_ink = ink;
    update();
}

QSize SymbolButton::sizeHint() const
{
    return {24, 24};
}

void SymbolButton::enterEvent(QEnterEvent* event)
{
    m_hovered = true;
    update();
    QAbstractButton::enterEvent(event);
}

void SymbolButton::leaveEvent(QEvent* event)
{
    m_hovered = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void SymbolButton::focusInEvent(QFocusEvent* event)
{
    m_keyboardFocus =
        event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason;
    QAbstractButton::focusInEvent(event);
}

void SymbolButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    if (m_hovered || isDown()) {
        painter.setPen(Qt::NoPen);
        QColor disc = PanelStyle::hover(palette());
        if (isDown())
            disc.setAlpha(disc.alpha() * 2);
        painter.setBrush(disc);
        painter.drawEllipse(box);
    }
    if (hasFocus() && m_keyboardFocus) {
        painter.setPen(QPen(PanelStyle::accent(palette()), 1.2));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(box.adjusted(0.5, 0.5, -0.5, -0.5));
    }
    // The header's glyphs in a softened text colour; the close disc in the dimmed one.
    QColor ink = m_ink;
    if (!ink.isValid()) {
        ink = PanelStyle::primary(palette());
        ink.setAlphaF(m_symbol == Symbol::XmarkCircleFill ? 0.5 : 0.78);
    }
    ink.setAlphaF(ink.alphaF() * (isEnabled() ? 1.0 : 0.4));
    paintSymbol(painter, QRectF(box.center() - QPointF(8, 8), QSizeF(16, 16)), m_symbol, ink,
                palette().color(QPalette::Window));
}
