#include "platform/item_opening.h"
#include "platform/regular_file.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>
#include <memory>

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

} // namespace

namespace ItemOpening {

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

// Through org.freedesktop.FileManager1.
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

} // namespace ItemOpening
