#include "app/tray_icon.h"

#include "panel/save_problem_line.h"

#include <QIconEngine>
#include <QPainter>
#include <QPixmap>

namespace {

class GridIconEngine final : public QIconEngine {
public:
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override
    {
        const qreal side = std::min(rect.width(), rect.height());
        const QPointF topLeft(rect.x() + (rect.width() - side) / 2.0,
                              rect.y() + (rect.height() - side) / 2.0);
        const qreal inset = side * 0.125;
        const qreal gap = side * 0.1;
        const qreal cell = (side - 2 * inset - gap) / 2;
        const qreal radius = cell * 0.28;
        const qreal rim = std::max<qreal>(1.0, side / 24.0);

        QColor fill(0xf2, 0xf4, 0xf8);
        QColor edge(0x20, 0x24, 0x2c, 220);
        if (mode == QIcon::Disabled) {
            fill.setAlpha(110);
            edge.setAlpha(90);
        }
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(QPen(edge, rim));
        painter->setBrush(fill);
        for (int row = 0; row < 2; ++row) {
            for (int column = 0; column < 2; ++column) {
                const QRectF square(topLeft.x() + inset + column * (cell + gap),
                                    topLeft.y() + inset + row * (cell + gap), cell, cell);
                painter->drawRoundedRect(square.adjusted(rim / 2, rim / 2, -rim / 2, -rim / 2),
                                         radius, radius);
            }
        }
        painter->restore();
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return scaledPixmap(size, mode, state, 1.0);
    }

    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override
    {
        QPixmap pixmap(size * scale);
        pixmap.setDevicePixelRatio(scale);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paint(&painter, QRect(QPoint(0, 0), size), mode, state);
        return pixmap;
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        return {{16, 16}, {22, 22}, {24, 24}, {32, 32}, {48, 48}, {64, 64}, {128, 128}};
    }

    QIconEngine* clone() const override { return new GridIconEngine; }
};

} // namespace

QIcon TrayIcon::make()
{
    return QIcon(new GridIconEngine);
}

QString TrayIcon::toolTip(const QString& saveProblem)
{
    const QString name = QStringLiteral("Traymate");
    return saveProblem.isEmpty()
               ? name
               : name + QLatin1Char('\n') + SaveProblemLine::sentence(saveProblem);
}
