#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// What the program reads from desktop entries (".desktop" files); nothing where the desktop
// has none.
namespace DesktopEntries {

// The localised Name of the entry at `path`, read only when it is a regular file the desktop
// can read as an entry.
std::optional<QString> name(const QString& path);
// The entry's Categories in its order; empty when it has none or cannot be read.
QStringList categories(const QString& path);
// The string `key` of the entry's main group; nothing when it is absent or empty.
std::optional<QString> value(const QString& path, const char* key);

} // namespace DesktopEntries
