#include "platform/desktop_icon.h"
#include "platform/linux/desktop_entry_info.h"
#include "platform/regular_file.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QPixmap>
#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>

namespace {

constexpr qint64 maxIconBytes = 16 * 1024 * 1024;
constexpr int vectorIconSide = 256;

// Read at once rather than when first painted, and only from a regular file: an icon named in
// a desktop entry can be anything, a FIFO included.
QIcon iconFromFile(const QString& path)
{
    const std::optional<QByteArray> bytes = readRegularFile(path, maxIconBytes);
    if (!bytes)
        return {};
    QBuffer buffer;
    buffer.setData(*bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    if (reader.format().startsWith("svg") && reader.size().isValid()) // drawn large, scaled down
        reader.setScaledSize(
            reader.size().scaled(vectorIconSide, vectorIconSide, Qt::KeepAspectRatio));
    const QImage image = reader.read();
    return image.isNull() ? QIcon() : QIcon(QPixmap::fromImage(image));
}

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
            return iconFromFile(iconFile);
        }
    }
    return {};
}

QIcon desktopEntryIcon(const QString& path)
{
    GDesktopAppInfo* info = readDesktopEntry(path);
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
        icon = desktopEntryIcon(path);
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
