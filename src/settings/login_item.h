#pragma once

#include <QByteArray>
#include <QString>

// Launch at login as an XDG autostart entry, $XDG_CONFIG_HOME/autostart/traymate.desktop,
// which every freedesktop session starts once the user has logged in.
namespace LoginItem {

QString entryPath();
// The program the entry starts: this executable's absolute path (the AppImage when run
// from one, since the mounted executable vanishes with the process).
QString programPath();

// Writes the entry (atomically) or removes it; false when the file system refused.
bool registerItem();
bool unregisterItem();
// True exactly when the entry exists, starts this program and is not disabled.
bool isEnabled();

// The entry's text for starting `program`.
QByteArray entryText(const QString& program);
// Whether the entry file at `path` starts `program` and is not disabled.
bool entryStarts(const QString& path, const QString& program);

} // namespace LoginItem
