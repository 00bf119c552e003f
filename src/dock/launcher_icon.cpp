#include "dock/launcher_icon.h"

#include "platform/desktop_icon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <algorithm>
#include <array>

namespace {

constexpr int kSide = 512;

// The layout below is given with the origin at the lower left and y growing upwards; this
// turns such a rectangle into the image's own coordinates once.
constexpr QRectF fromLowerLeft(qreal x, qreal y, qreal width, qreal height)
{
    return QRectF(x, kSide - y - height, width, height);
}

constexpr QRectF kShape = fromLowerLeft(40, 40, 432, 432);
constexpr qreal kCornerRadius = 96;

constexpr std::array<QRectF, 1> kOneItem = {fromLowerLeft(106, 106, 300, 300)};
constexpr std::array<QRectF, 2> kTwoItems = {fromLowerLeft(56, 161, 190, 190),
                                             fromLowerLeft(266, 161, 190, 190)};
constexpr std::array<QRectF, 4> kFourItems = {
    fromLowerLeft(56, 266, 190, 190), fromLowerLeft(266, 266, 190, 190),
    fromLowerLeft(56, 56, 190, 190), fromLowerLeft(266, 56, 190, 190)};

QList<QRectF> itemSquares(qsizetype items)
{
    switch (std::min<qsizetype>(items, 4)) {
    case 0: return {};
    case 1: return {kOneItem.begin(), kOneItem.end()};
    case 2: return {kTwoItems.begin(), kTwoItems.end()};
    case 3: return {kFourItems.begin(), kFourItems.begin() + 3};
    default: return {kFourItems.begin(), kFourItems.end()};
    }
}

QColor grey(qreal level)
{
    return QColor::fromRgbF(float(level), float(level), float(level));
}

// Fills the shape with the image, keeping its proportions and cutting what overflows.
void drawFilling(QPainter& painter, const QPainterPath& shape, const QImage& image)
{
    const qreal scale = std::max(kShape.width() / image.width(), kShape.height() / image.height());
    QRectF target(0, 0, image.width() * scale, image.height() * scale);
    target.moveCenter(kShape.center());
    // The shape first, then the image kept only where the shape is: the edge stays smooth,
    // which a clip path would not give.
    painter.fillPath(shape, Qt::black);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.drawImage(target, image);
}

void drawItems(QPainter& painter, const QPainterPath& shape, const QStringList& apps)
{
    QLinearGradient gradient(kShape.topLeft(), kShape.bottomLeft());
    gradient.setColorAt(0, grey(0.96));
    gradient.setColorAt(1, grey(0.78));
    painter.fillPath(shape, gradient);

    const QList<QRectF> squares = itemSquares(apps.size());
    for (qsizetype i = 0; i < squares.size(); ++i) {
        const QRectF& square = squares[i];
        const QPixmap pixmap = desktopIcon(apps[i]).pixmap(square.size().toSize(), 1.0);
        if (!pixmap.isNull())
            painter.drawPixmap(square, pixmap, QRectF(pixmap.rect()));
    }
}

} // namespace

QImage Launchers::icon(const AppGroup& group)
{
    QImage image(kSide, kSide, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    QPainterPath shape;
    shape.addRoundedRect(kShape, kCornerRadius, kCornerRadius);

    const QImage custom = group.icon ? QImage(*group.icon) : QImage();
    if (!custom.isNull())
        drawFilling(painter, shape, custom);
    else
        drawItems(painter, shape, group.apps);
    painter.end();
    return image;
}
