#include "dock/desktop_icon.h"

#include <QFile>
#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>

namespace {

QIcon iconFrom(GIcon* icon)
{
    if (!icon)
        return {};
    if (G_IS_THEMED_ICON(icon)) {
        const gchar* const* names = g_themed_icon_get_names(G_THEMED_ICON(icon));
        for (; names && *names; ++names) {
            QIcon themed = QIcon::fromTheme(QString::fromUtf8(*names));
            if (!themed.isNull())
                return themed;
        }
    } else if (G_IS_FILE_ICON(icon)) {
        if (char* path = g_file_get_path(g_file_icon_get_file(G_FILE_ICON(icon)))) {
            const QString iconFile = QFile::decodeName(path);
            g_free(path);
            if (QFile::exists(iconFile))
                return QIcon(iconFile);
        }
    }
    return {};
}

QIcon desktopEntryIcon(const QByteArray& path)
{
    GDesktopAppInfo* info = g_desktop_app_info_new_from_filename(path.constData());
    if (!info)
        return {};
    QIcon icon = iconFrom(g_app_info_get_icon(G_APP_INFO(info)));
    g_object_unref(info);
    return icon;
}

QIcon fileIcon(const QByteArray& path)
{
    GFile* file = g_file_new_for_path(path.constData());
    GFileInfo* info = g_file_query_info(file, G_FILE_ATTRIBUTE_STANDARD_ICON,
                                        G_FILE_QUERY_INFO_NONE, nullptr, nullptr);
    QIcon icon;
    if (info) {
        icon = iconFrom(g_file_info_get_icon(info));
        g_object_unref(info);
    }
    g_object_unref(file);
    return icon;
}

} // namespace

QIcon desktopIcon(const QString& path)
{
    return desktopIcon(path, nullptr);
}

QIcon desktopIcon(const QString& path, bool* fallback)
{
    const QByteArray name = QFile::encodeName(path);
    const bool entry = path.endsWith(QLatin1String(".desktop"));
    QIcon icon;
    if (entry)
        icon = desktopEntryIcon(name);
    if (fallback)
        *fallback = entry && icon.isNull();
    if (icon.isNull())
        icon = fileIcon(name);
    if (icon.isNull()) {
        if (fallback)
            *fallback = true;
        icon = QIcon::fromTheme(QStringLiteral("application-x-executable"));
    }
    return icon;
}
