#include "platform/desktop_entries.h"
#include "platform/display_name.h"

#include <QFile>
#include <gio/gio.h>

namespace {

// GIO's display name of an existing file (its name made valid UTF-8).
std::optional<QString> fileDisplayName(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    GFile* file = g_file_new_for_path(name.constData());
    GFileInfo* info = g_file_query_info(file, G_FILE_ATTRIBUTE_STANDARD_DISPLAY_NAME,
                                        G_FILE_QUERY_INFO_NONE, nullptr, nullptr);
    std::optional<QString> result;
    if (info) {
        if (const char* shown = g_file_info_get_display_name(info); shown && *shown)
            result = QString::fromUtf8(shown);
        g_object_unref(info);
    }
    g_object_unref(file);
    return result;
}

QString lastPathComponent(QString path)
{
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    if (path == QLatin1String("/"))
        return path;
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}

} // namespace

QString displayName(const QString& path)
{
    std::optional<QString> name;
    if (path.endsWith(QLatin1String(".desktop")))
        name = DesktopEntries::name(path);
    if (!name)
        name = fileDisplayName(path);
    QString shown = name.value_or(lastPathComponent(path));
    if (shown.endsWith(QLatin1String(".app")))
        shown.chop(4);
    return shown;
}
