#include "panel/desktop_items.h"

#include "platform/desktop_icon.h"

#include <QFileInfo>
#include <QHash>
#include <QStandardPaths>

namespace {

// For an item that is gone: a plain document rather than some program's icon.
QIcon missingItemIcon()
{
    for (const char* name : {"application-x-generic", "text-x-generic", "unknown"}) {
        if (QIcon::hasThemeIcon(QLatin1String(name)))
            return QIcon::fromTheme(QLatin1String(name));
    }
    return QIcon::fromTheme(QStringLiteral("text-x-generic"));
}

// An item's icon as loaded, and whether it is the item's own; a stand-in is loaded again later.
struct LoadedIcon {
    QIcon icon;
    bool own = false;
};

LoadedIcon loadIcon(const QString& path)
{
    DesktopItems::ensureIconTheme();
    if (!QFileInfo::exists(path))
        return {missingItemIcon(), false};
    bool fallback = false;
    const QIcon icon = desktopIcon(path, &fallback);
    return icon.isNull() ? LoadedIcon{missingItemIcon(), false} : LoadedIcon{icon, !fallback};
}

// Main thread only; the icons of the user's items are few.
QHash<QString, LoadedIcon>& loadedIcons()
{
    static QHash<QString, LoadedIcon> icons;
    return icons;
}

} // namespace

namespace DesktopItems {

void ensureIconTheme()
{
    static const bool done = [] {
        QStringList paths = QIcon::themeSearchPaths();
        const QStringList dataIcons =
            QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, QStringLiteral("icons"),
                                      QStandardPaths::LocateDirectory);
        for (const QString& folder : dataIcons) {
            if (!paths.contains(folder))
                paths.append(folder);
        }
        QIcon::setThemeSearchPaths(paths);
        QIcon::setFallbackSearchPaths(QIcon::fallbackSearchPaths()
                                      << QStringLiteral("/usr/share/pixmaps"));
        // Without a desktop session Qt settles for hicolor, which has no content-type icons.
        const QString theme = QIcon::themeName();
        if (!theme.isEmpty() && theme != QLatin1String("hicolor"))
            return true;
        for (const char* candidate : {"Adwaita", "breeze", "gnome", "oxygen"}) {
            for (const QString& folder : paths) {
                if (QFileInfo::exists(folder + QLatin1Char('/') + QLatin1String(candidate) +
                                      QStringLiteral("/index.theme"))) {
                    QIcon::setThemeName(QLatin1String(candidate));
                    return true;
                }
            }
        }
        return true;
    }();
    Q_UNUSED(done);
}

QIcon icon(const QString& path)
{
    QHash<QString, LoadedIcon>& icons = loadedIcons();
    auto it = icons.constFind(path);
    if (it == icons.constEnd())
        it = icons.insert(path, loadIcon(path));
    return it->icon;
}

void retryStandInIcons()
{
    QHash<QString, LoadedIcon>& icons = loadedIcons();
    for (auto it = icons.begin(); it != icons.end();) {
        if (it->own)
            ++it;
        else
            it = icons.erase(it);
    }
}

} // namespace DesktopItems
