#pragma once

#include <QString>
#include <optional>

// Desktop file ids, the names by which panels pin applications: an entry's path below an
// "applications" folder of the XDG data folders, with "/" turned into "-", so
// "kde/konsole.desktop" is "kde-konsole.desktop". The user's folder comes first, and the first
// folder that has an id wins.
namespace DesktopFileIds {

// The entry `id` names now; nothing when no folder has it or `id` is no plain file name.
std::optional<QString> pathOf(const QString& id);

// The id `path` goes by when it lies in an applications folder, whether or not the file is
// still there; nothing for an entry elsewhere.
std::optional<QString> idOf(const QString& path);

// Whether `id` stands for `path`: it names that file, or names no file at all and would name
// `path` if it existed (a removed entry is still recognised).
bool standsFor(const QString& id, const QString& path);

} // namespace DesktopFileIds
