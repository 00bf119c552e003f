#include "panel/group_icon.h"

#include <QCache>
#include <QDateTime>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

namespace {

// Finished pictures by file, stamp and size: tabs repaint on every hover and drag step, and
// decoding and scaling a large photo each time would be felt. Icon files get a new name on
// every change, so the path and its stamp name one picture. Bounded to a few megabytes.
QCache<QString, QPixmap>& renderedPictures()
{
    static QCache<QString, QPixmap> pictures(8 * 1024 * 1024);
    return pictures;
}

QPixmap rounded(const QImage& image, int pixels)
{
    QPixmap pixmap(pixels, pixels);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    QPainterPath clip;
    const qreal radius = pixels * 0.22;
    clip.addRoundedRect(QRectF(0, 0, pixels, pixels), radius, radius);
    painter.setClipPath(clip);
    painter.drawImage(QRectF(0, 0, pixels, pixels), image);
    return pixmap;
}

} // namespace

QPixmap groupIcon(const AppGroup& group, int side, qreal devicePixelRatio)
{
    if (!group.icon || group.icon->isEmpty())
        return {};
    const QFileInfo info(*group.icon);
    if (!info.isFile())
        return {};
    const int pixels = qRound(side * devicePixelRatio);
    const QString key = *group.icon + QLatin1Char('\n') +
                        QString::number(info.lastModified().toMSecsSinceEpoch()) +
                        QLatin1Char('/') + QString::number(info.size()) + QLatin1Char('@') +
                        QString::number(pixels);
    QCache<QString, QPixmap>& pictures = renderedPictures();
    QPixmap pixmap;
    if (const QPixmap* cached = pictures.object(key)) {
        pixmap = *cached;
    } else {
        // A file that is no image is remembered too, as a null picture.
        const QImage image(*group.icon);
        if (!image.isNull())
            pixmap = rounded(image, pixels);
        pictures.insert(key, new QPixmap(pixmap), pixmap.isNull() ? 1 : pixels * pixels * 4);
    }
    if (pixmap.isNull())
        return {};
    pixmap.setDevicePixelRatio(devicePixelRatio);
    return pixmap;
}
