#include "platform/desktop_entries.h"
#include "platform/linux/desktop_entry_info.h"
#include "platform/regular_file.h"

#include <QFile>
#include <gio/gio.h>
#include <memory>

namespace {

struct KeyFileDeleter {
    void operator()(GKeyFile* file) const { g_key_file_free(file); }
};
using KeyFile = std::unique_ptr<GKeyFile, KeyFileDeleter>;

// Only a regular file: GLib would open a FIFO and wait for a writer.
KeyFile loadKeyFile(const QString& path)
{
    if (!isRegularFile(path))
        return nullptr;
    KeyFile file(g_key_file_new());
    if (!g_key_file_load_from_file(file.get(), QFile::encodeName(path).constData(), G_KEY_FILE_NONE,
                                   nullptr))
        return nullptr;
    return file;
}

} // namespace

namespace DesktopEntries {

std::optional<QString> name(const QString& path)
{
    GDesktopAppInfo* info = readDesktopEntry(path);
    if (!info)
        return std::nullopt;
    const char* shown = g_app_info_get_name(G_APP_INFO(info));
    std::optional<QString> result;
    if (shown && *shown)
        result = QString::fromUtf8(shown);
    g_object_unref(info);
    return result;
}

QStringList categories(const QString& path)
{
    const KeyFile file = loadKeyFile(path);
    if (!file)
        return {};
    gsize count = 0;
    gchar** list = g_key_file_get_string_list(file.get(), G_KEY_FILE_DESKTOP_GROUP,
                                              G_KEY_FILE_DESKTOP_KEY_CATEGORIES, &count, nullptr);
    QStringList result;
    for (gsize i = 0; list && i < count; ++i)
        result.append(QString::fromUtf8(list[i]));
    g_strfreev(list);
    return result;
}

std::optional<QString> value(const QString& path, const char* key)
{
    const KeyFile file = loadKeyFile(path);
    if (!file)
        return std::nullopt;
    std::optional<QString> result;
    if (gchar* text = g_key_file_get_string(file.get(), G_KEY_FILE_DESKTOP_GROUP, key, nullptr)) {
        if (*text)
            result = QString::fromUtf8(text);
        g_free(text);
    }
    return result;
}

} // namespace DesktopEntries
