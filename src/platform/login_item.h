#pragma once

#include <QString>

// Launch at login: on Linux an XDG autostart entry, which every freedesktop session starts
// once the user has logged in.
namespace LoginItem {

// Whether this desktop can start the program at login at all; where it cannot, the setting
// is shown but cannot be changed.
bool isAvailable();

// The file that starts the program at login; empty where there is none.
QString entryPath();
// The program the entry starts: this executable's absolute path (the AppImage when run
// from one, since the mounted executable vanishes with the process).
QString programPath();

// Writes the entry (atomically) or removes it; false when the file system refused.
bool registerItem();
bool unregisterItem();
// True exactly when the entry exists, starts this program and is not disabled.
bool isEnabled();

} // namespace LoginItem
