#include "platform/linux/desktop_file_ids.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace DesktopFileIds {

namespace {

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

QStringList applicationFolders()
{
    QStringList folders;
    for (const QString& data :
         QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        folders.append(data + QStringLiteral("/applications"));
    return folders;
}

} // namespace

std::optional<QString> pathOf(const QString& id)
{
    // An id is a file name; one that climbs out of the applications folder names nothing.
    if (id.isEmpty() || id.contains(QLatin1Char('/')) || id.startsWith(QLatin1Char('.')))
        return std::nullopt;
    for (const QString& folder : applicationFolders()) {
        if (std::optional<QString> found = findIn(folder, id))
            return found;
    }
    return std::nullopt;
}

std::optional<QString> idOf(const QString& path)
{
    const QString clean = QDir::cleanPath(path);
    for (const QString& folder : applicationFolders()) {
        const QString prefix = QDir::cleanPath(folder) + QLatin1Char('/');
        if (clean.startsWith(prefix)) {
            QString id = clean.mid(prefix.size());
            id.replace(QLatin1Char('/'), QLatin1Char('-'));
            return id;
        }
    }
    return std::nullopt;
}

} // namespace DesktopFileIds
