#include "platform/linux/desktop_file_ids.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>

namespace DesktopFileIds {

namespace {

QStringList applicationFolders()
{
    QStringList folders;
    for (const QString& data :
         QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        folders.append(QDir::cleanPath(data + QStringLiteral("/applications")));
    return folders;
}

// `name` inside `folder`, where each "-" of the name may also be a folder boundary.
std::optional<QString> findIn(const QString& folder, const QString& name)
{
    const QString direct = folder + QLatin1Char('/') + name;
    if (QFileInfo(direct).isFile())
        return direct;
    for (qsizetype dash = name.indexOf(QLatin1Char('-')); dash > 0;
         dash = name.indexOf(QLatin1Char('-'), dash + 1)) {
        const QString sub = folder + QLatin1Char('/') + name.left(dash);
        if (!QFileInfo(sub).isDir())
            continue;
        if (std::optional<QString> found = findIn(sub, name.mid(dash + 1)))
            return found;
    }
    return std::nullopt;
}

} // namespace

std::optional<QString> pathOf(const QString& id)
{
    // An id is a file name; one that climbs out of the applications folder names nothing.
    if (id.isEmpty() || id.contains(QLatin1Char('/')) || id.startsWith(QLatin1Char('.')))
        return std::nullopt;
    for (const QString& folder : applicationFolders()) {
        if (std::optional<QString> found = findIn(folder, id))
            return QDir::cleanPath(*found);
    }
    return std::nullopt;
}

std::optional<QString> idOf(const QString& path)
{
    const QString clean = QDir::cleanPath(path);
    for (const QString& folder : applicationFolders()) {
        const QString prefix = folder + QLatin1Char('/');
        if (clean.startsWith(prefix) && clean.size() > prefix.size())
            return clean.mid(prefix.size()).replace(QLatin1Char('/'), QLatin1Char('-'));
    }
    return std::nullopt;
}

bool standsFor(const QString& id, const QString& path)
{
    const QString clean = QDir::cleanPath(path);
    if (const std::optional<QString> named = pathOf(id))
        return *named == clean;
    return idOf(clean) == id;
}

} // namespace DesktopFileIds
