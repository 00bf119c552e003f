#pragma once

#include <QIcon>
#include <QString>

// The icon the desktop shows for a path: a desktop entry's Icon, otherwise the icon the desktop
// gives the file (its content type's); a generic one for an item that is missing.
QIcon desktopIcon(const QString& path);
// The same; `fallback` tells whether the icon is a stand-in rather than the item's own (an
// Icon that names nothing installed yet, a file the desktop gives no icon for).
QIcon desktopIcon(const QString& path, bool* fallback);
