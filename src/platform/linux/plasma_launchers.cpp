#include "platform/linux/plasma_launchers.h"

#include "platform/linux/desktop_file_ids.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace PlasmaLaunchers {

namespace {

const QLatin1String kApplicationsScheme("applications");
const QLatin1String kNullActivity("00000000-0000-0000-0000-000000000000");

struct Launcher {
    QStringList activities; // empty: all activities
    QUrl url;
};

// As the task manager reads an item: an activity block only counts when it ends in "]\n" and
// names at least one activity.
Launcher parse(const QString& item)
{
    if (item.startsWith(QLatin1Char('['))) {
        const qsizetype end = item.indexOf(QStringLiteral("]\n"));
        if (end != -1) {
            QStringList activities =
                item.mid(1, end - 1).split(QLatin1Char(','), Qt::SkipEmptyParts);
            if (!activities.isEmpty()) {
                if (activities.contains(kNullActivity))
                    activities.clear();
                return {activities, QUrl(item.mid(end + 2))};
            }
        }
    }
    return {{}, QUrl(item)};
}

std::optional<QString> localEntryOf(const QUrl& url)
{
    if (url.scheme() == kApplicationsScheme)
        return DesktopFileIds::pathOf(url.path());
    if (url.isLocalFile()) {
        const QString path = QDir::cleanPath(url.toLocalFile());
        if (path.endsWith(QStringLiteral(".desktop")) && QFileInfo(path).isFile())
            return path;
    }
    return std::nullopt;
}

} // namespace

std::optional<QString> entryPathOf(const QString& item)
{
    return localEntryOf(parse(item).url);
}

bool standsFor(const QString& item, const QString& entryPath)
{
    const Launcher launcher = parse(item);
    if (!launcher.activities.isEmpty())
        return false;
    if (launcher.url.scheme() == kApplicationsScheme)
        return DesktopFileIds::standsFor(launcher.url.path(), entryPath);
    return launcher.url.isLocalFile() &&
           QDir::cleanPath(launcher.url.toLocalFile()) == QDir::cleanPath(entryPath);
}

QString launcherFor(const QString& entryPath)
{
    const QString path = QDir::cleanPath(entryPath);
    const std::optional<QString> id = DesktopFileIds::idOf(path);
    if (id && DesktopFileIds::pathOf(*id) == path)
        return kApplicationsScheme + QLatin1Char(':') + *id;
    return QUrl::fromLocalFile(path).toString();
}

QStringList without(const QStringList& items, const QString& entryPath)
{
    QStringList kept;
    for (const QString& item : items) {
        if (!standsFor(item, entryPath))
            kept.append(item);
    }
    return kept;
}

} // namespace PlasmaLaunchers
