// A group's own picture: a PNG copy in the icons folder, one new file per change.
#include "model/safe_file.h"
#include "model/store.h"

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

// "<UUID>-<seconds>.png", or with a counter when that name is taken, so that two changes
// within one second never write over (and then delete) the file just made.
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

// Whether `path` names a file directly inside `folder`, however either is spelt.
bool isDirectlyInside(const QString& path, const QString& folder)
{
    const QString parent = QFileInfo(QFileInfo(path).absolutePath()).canonicalFilePath();
    return !parent.isEmpty() && parent == QFileInfo(folder).canonicalFilePath();
}

} // namespace

void Store::deleteIconCopy(const QString& icon)
{
    // A hand-edited file may name any picture of the user's; that is never ours to delete.
    if (icon.isEmpty() || !isDirectlyInside(icon, iconsFolder()))
        return;
    const QString cleaned = QDir::cleanPath(icon);
    for (const AppGroup& group : std::as_const(m_groups)) {
        if (group.icon && QDir::cleanPath(*group.icon) == cleaned)
            return;
    }
    QFile::remove(icon);
}

void Store::setIcon(const QString& from, const QUuid& forGroup)
{
    const QByteArray png = pngOfFirstFrame(from);
    if (png.isEmpty())
        return;
    const qsizetype index = indexOf(forGroup);
    if (index < 0)
        return;
    QDir().mkpath(iconsFolder());
    AppGroup changedGroup = m_groups[index];
    const QString path = freshIconPath(iconsFolder(), changedGroup);
    if (!writeFileAtomically(path, png))
        return;
    const QString previous = changedGroup.icon.value_or(QString());
    changedGroup.icon = path;
    setGroup(index, std::move(changedGroup));
    deleteIconCopy(previous);
}

void Store::clearIcon(const QUuid& forGroup)
{
    const qsizetype index = indexOf(forGroup);
    if (index < 0)
        return;
    const QString previous = m_groups[index].icon.value_or(QString());
    AppGroup changedGroup = m_groups[index];
    changedGroup.icon.reset();
    setGroup(index, changedGroup); // a move here makes GCC 12 warn of an uninitialised optional
    deleteIconCopy(previous);
}
