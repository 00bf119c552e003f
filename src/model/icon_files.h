#pragma once

#include "model/app_group.h"

#include <QList>
#include <QString>
#include <optional>

// A group's own picture: a PNG copy in the icons folder, one new file per change, so that a
// launcher or a synced copy still showing the old one never reads a half-written file.
namespace IconFiles {

// Writes the first frame of any image Qt can read as a fresh PNG in `folder` for `group`,
// named "<UUID>-<seconds>.png" (with a counter when taken), and returns its path. None when
// the image cannot be read or the copy cannot be written.
std::optional<QString> writeCopy(const QString& imagePath, const QString& folder,
                                 const AppGroup& group);

// Deletes `icon` if it is the program's own copy, directly inside `folder` however either is
// spelt, and no group of `groups` shows it any more. A hand-edited file may name any picture
// of the user's: that is never ours to delete.
void deleteUnused(const QString& icon, const QString& folder, const QList<AppGroup>& groups);

} // namespace IconFiles
