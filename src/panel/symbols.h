#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QRectF>

class QPainter;

// The few glyphs of the panel header, drawn as vectors so they stay crisp at any scale and
// take their colours from the palette on light and dark themes alike.
enum class Symbol { Pin, PinFill, Gearshape, XmarkCircleFill, SquareGrid2x2 };

// Draws `symbol` inside `box`; `ink` is the glyph, `paper` what shows through its cut-outs.
void paintSymbol(QPainter& painter, const QRectF& box, Symbol symbol, const QColor& ink,
                 const QColor& paper);

// A plain image button without border or bezel; a soft disc shows under the pointer.
class SymbolButton : public QAbstractButton {
    Q_OBJECT

public:
    SymbolButton(Symbol symbol, const QString& toolTip, QWidget* parent = nullptr);

    Symbol symbol() const { return m_symbol; }
    void setSymbol(Symbol symbol);
    // The glyph colour; the palette's text colour when not set.
    void setInk(const QColor& ink);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    Symbol m_symbol;
    QColor m_ink;
    bool m_hovered = false;
    bool m_keyboardFocus = false; // the ring shows only when the keyboard brought focus here
};
