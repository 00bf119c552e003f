#pragma once

#include <QString>
#include <optional>

// Desktop file ids, as freedesktop.org desktops name their application entries.
namespace DesktopFileIds {

// The file an id stands for: "applications/<id>" in the user's data folder, then in each of
// XDG_DATA_DIRS, the first that exists; a "-" in the id may stand for a sub-folder
// ("kde-foo.desktop" is also "kde/foo.desktop"). Nothing for an id that names no file.
std::optional<QString> pathOf(const QString& id);

// The id of an entry inside one of those applications folders (sub-folders joined by "-");
// nothing for a file elsewhere.
std::optional<QString> idOf(const QString& path);

} // namespace DesktopFileIds
