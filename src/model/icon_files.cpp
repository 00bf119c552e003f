#include "model/icon_files.h"

#include "model/safe_file.h"

#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>

namespace {

// The first frame of any image Qt can read, at its own pixel size, as PNG bytes.
QByteArray pngOfFirstFrame(const QString& imagePath)
{
    QImageReader reader(imagePath);
    const QImage image = reader.read();
    if (image.isNull())
        return {};
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        return {};
    return png;
}

// Two changes within one second never write over (and then delete) the file just made.
QString freshIconPath(const QString& folder, const AppGroup& group)
{
    const QString stem = folder + QLatin1Char('/') + group.idText() + QLatin1Char('-') +
                         QString::number(QDateTime::currentSecsSinceEpoch());
    QString candidate = stem + QStringLiteral(".png");
    for (int n = 2; candidate == group.icon || QFileInfo(candidate).exists() ||
                    QFileInfo(candidate).isSymLink();
         ++n)
        candidate = stem + QLatin1Char('-') + QString::number(n) + QStringLiteral(".png");
    return candidate;
}

bool isDirectlyInside(const QString& path, const QString& folder)
{
    const QString parent = QFileInfo(QFileInfo(path).absolutePath()).canonicalFilePath();
    return !parent.isEmpty() && parent == QFileInfo(folder).canonicalFilePath();
}

} // namespace

namespace IconFiles {

std::optional<QString> writeCopy(const QString& imagePath, const QString& folder,
                                 const AppGroup& group)
{
    const QByteArray png = pngOfFirstFrame(imagePath);
    if (png.isEmpty())
        return std::nullopt;
    QDir().mkpath(folder);
    const QString path = freshIconPath(folder, group);
    if (!writeFileAtomically(path, png))
        return std::nullopt;
    return path;
}

void deleteUnused(const QString& icon, const QString& folder, const QList<AppGroup>& groups)
{
    if (icon.isEmpty() || !isDirectlyInside(icon, folder))
        return;
    const QString cleaned = QDir::cleanPath(icon);
    for (const AppGroup& group : groups) {
        if (group.icon && QDir::cleanPath(*group.icon) == cleaned)
            return;
    }
    QFile::remove(icon);
}

} // namespace IconFiles
