#include "panel/group_icon.h"

#include <QDateTime>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

namespace {

// Icon files get a new name on every change, so the path and its stamp name one picture.
QImage loadImage(const QString& path)
{
    static QHash<QString, QImage> images;
    const QFileInfo info(path);
    const QString key = path + QLatin1Char('\n') +
                        QString::number(info.lastModified().toMSecsSinceEpoch()) +
                        QLatin1Char('/') + QString::number(info.size());
    auto it = images.constFind(key);
    if (it == images.constEnd())
        it = images.insert(key, info.isFile() ? QImage(path) : QImage());
    return *it;
}

} // namespace

QPixmap groupIcon(const AppGroup& group, int side, qreal devicePixelRatio)
{
    if (!group.icon || group.icon->isEmpty())
        return {};
    const QImage image = loadImage(*group.icon);
    if (image.isNull())
        return {};
    const int pixels = qRound(side * devicePixelRatio);
    QPixmap pixmap(pixels, pixels);
    pixmap.fill(Qt::transparent);
    {
        QPainter painter(&pixmap);
        painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
        QPainterPath clip;
        const qreal radius = pixels * 0.22;
        clip.addRoundedRect(QRectF(0, 0, pixels, pixels), radius, radius);
        painter.setClipPath(clip);
        painter.drawImage(QRectF(0, 0, pixels, pixels), image);
    }
    pixmap.setDevicePixelRatio(devicePixelRatio);
    return pixmap;
}
