#pragma once

#include "model/app_group.h"

#include <QImage>
#include <QList>
#include <QString>
#include <QUuid>
#include <optional>

// The per-group launcher bundles in "Applications/Traymate Groups" under the home folder, and
// putting them into and taking them out of the Dock.
namespace Launchers {

QString root();
QString bundleURL(const QString& name);
std::optional<QString> make(const AppGroup& group);
QImage icon(const AppGroup& group);
void refreshExisting(const QList<AppGroup>& groups);
void refreshNow(const QUuid& id);
void renamed(const AppGroup& from, const AppGroup& to);
void removed(const AppGroup& group);

void addToDock(const AppGroup& group);
void removeFromDock(const QString& path);

// The desktop entry that shows a group's launcher in the desktop's application grid, named
// from the group id so a rename keeps its name: "traymate-group-<UUID>.desktop" in
// "$XDG_DATA_HOME/applications", the UUID upper case as everywhere else.
QString desktopEntryPath(const QUuid& id);

// The signature of the group list at the last icon refresh.
inline QString lastSignature;

} // namespace Launchers
