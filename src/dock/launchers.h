#pragma once

#include "model/app_group.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QUuid>
#include <optional>

// The per-group launcher bundles in "Applications/Traymate Groups" under the home folder, and
// putting them into and taking them out of the Dock.
namespace Launchers {

QString root();
// Where a launcher for this name goes when no other group's launcher is there already.
QString bundleURL(const QString& name);
// The bundles whose script opens this group, by path; usually one.
QStringList bundlesOf(const QUuid& id);
// Builds the group's launcher: its own bundle, at "<name>.app" or, when another group's
// launcher has that name, "<name> 2.app" and so on.
std::optional<QString> make(const AppGroup& group);
void refreshExisting(const QList<AppGroup>& groups);
void refreshNow(const QUuid& id);
void renamed(const AppGroup& from, const AppGroup& to);
void removed(const AppGroup& group);

void addToDock(const AppGroup& group);
// Adds a tile for a built bundle unless the Dock has one, and makes the Dock show it.
void putInDock(const QString& bundle);
void removeFromDock(const QString& path);

// The desktop entry that shows a group's launcher in the desktop's application grid, named
// from the group id so a rename keeps its name: "traymate-group-<UUID>.desktop" in
// "$XDG_DATA_HOME/applications", the UUID upper case as everywhere else.
QString desktopEntryPath(const QUuid& id);

// The signature of the group list at the last icon refresh.
inline QString lastSignature;

} // namespace Launchers
