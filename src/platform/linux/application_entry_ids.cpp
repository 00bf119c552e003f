#include "platform/linux/application_entry_ids.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>

namespace ApplicationEntryIds {

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

std::optional<QString> entryPathOf(const QString& id)
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

std::optional<QString> idOf(const QString& entryPath)
{
    const QString path = QDir::cleanPath(entryPath);
    for (const QString& folder : applicationFolders()) {
        const QString prefix = folder + QLatin1Char('/');
        if (path.startsWith(prefix) && path.size() > prefix.size())
            return path.mid(prefix.size()).replace(QLatin1Char('/'), QLatin1Char('-'));
    }
    return std::nullopt;
}

bool standsFor(const QString& id, const QString& entryPath)
{
    const QString path = QDir::cleanPath(entryPath);
    if (const std::optional<QString> named = entryPathOf(id))
        return *named == path;
    return idOf(path) == id;
}

} // namespace ApplicationEntryIds
