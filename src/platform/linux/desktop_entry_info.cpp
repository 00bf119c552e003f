#include "platform/linux/desktop_entry_info.h"

#include "platform/regular_file.h"

namespace {

constexpr qint64 maxEntryBytes = 1024 * 1024; // the largest installed entries are some 100 KB

} // namespace

GDesktopAppInfo* readDesktopEntry(const QString& path)
{
    const std::optional<QByteArray> bytes = readRegularFile(path, maxEntryBytes);
    if (!bytes)
        return nullptr;
    GKeyFile* file = g_key_file_new();
    GDesktopAppInfo* info = nullptr;
    if (g_key_file_load_from_data(file, bytes->constData(), gsize(bytes->size()), G_KEY_FILE_NONE,
                                  nullptr))
        info = g_desktop_app_info_new_from_keyfile(file);
    g_key_file_unref(file);
    return info;
}
