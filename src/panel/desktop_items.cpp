#include "panel/desktop_items.h"

#include "dock/desktop_icon.h"
#include "dock/regular_file.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QStandardPaths>
#include <QUrl>
#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>

namespace {

template <typename T> struct GObjectDeleter {
    void operator()(T* object) const
    {
        if (object)
            g_object_unref(object);
    }
};
template <typename T> using GRef = std::unique_ptr<T, GObjectDeleter<T>>;

// A launch context whose programs do not inherit our session's autostart id.
GRef<GAppLaunchContext> launchContext()
{
    GRef<GAppLaunchContext> context(g_app_launch_context_new());
    g_app_launch_context_unsetenv(context.get(), "DESKTOP_AUTOSTART_ID");
    return context;
}

bool isDesktopEntry(const QString& path)
{
    return path.endsWith(QLatin1String(".desktop"));
}

void openWithDefaultHandler(const QString& path)
{
    const QByteArray uri = QUrl::fromLocalFile(path).toEncoded();
    g_app_info_launch_default_for_uri_async(uri.constData(), launchContext().get(), nullptr,
                                            nullptr, nullptr);
}

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

void open(const QString& path)
{
    // GIO opens the entry to read it: never a FIFO, which would block until written to.
    if (isDesktopEntry(path) && isRegularFile(path)) {
        GRef<GDesktopAppInfo> info(g_desktop_app_info_new_from_filename(QFile::encodeName(path)));
        if (info) {
            g_app_info_launch(G_APP_INFO(info.get()), nullptr, launchContext().get(), nullptr);
            return;
        }
    }
    openWithDefaultHandler(path);
}

void reveal(const QString& path)
{
    const QString folder = QFileInfo(path).absolutePath();
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        openWithDefaultHandler(folder);
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"),
        QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    call << QStringList{QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded)} << QString();
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, 3000));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished,
                     [folder](QDBusPendingCallWatcher* w) {
                         if (w->isError())
                             openWithDefaultHandler(folder);
                         w->deleteLater();
                     });
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
