#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <plist/plist.h>

// Reading and editing the tiles of an exported Dock domain ("persistent-apps"), apart from
// any way of reaching the Dock.

// The file-system path a Dock tile points to, from its "tile-data" / "file-data" /
// "_CFURLString" location, plain or as a file URL; nothing for tiles without one.
std::optional<QString> tilePath(plist_t tile);

// The "persistent-apps" array of an exported domain when the domain is a dictionary and that
// value is an array holding nothing but dictionaries; null otherwise.
plist_t persistentApps(plist_t domain);

// What the Dock import and addToDock count as an application: a bundle, or a desktop entry
// as the docks of Linux desktops list them.
bool isApplicationPath(const QString& path);

// The paths of the tiles of an exported domain that have one, in Dock order, duplicates kept;
// empty when the export cannot be read.
QStringList dockTilePaths(const QByteArray& exported);

// The paths of the applications in an exported domain, in Dock order, duplicates kept;
// empty when the export cannot be read.
QStringList dockApplicationPaths(const QByteArray& exported);

// The exported domain without every tile whose path is `path`, everything else as it was, as
// an XML property list; nothing when the export cannot be read or no tile has that path.
std::optional<QByteArray> domainWithout(const QByteArray& exported, const QString& path);
