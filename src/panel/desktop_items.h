#pragma once

#include <QIcon>
#include <QString>

// The desktop side of an item path: opening it, showing it in the file manager and its icon.
namespace DesktopItems {

// A desktop entry starts its application; anything else opens with its default
// handler. Never waits for the program, never hands on DESKTOP_AUTOSTART_ID.
void open(const QString& path);

// Shows the item selected in the file manager, or opens the
// folder that holds it when no file manager answers.
void reveal(const QString& path);

// The icon the desktop shows for the path: a desktop entry's Icon through the icon theme, a
// file's content-type icon, a generic icon for a missing item. Loaded once per path and kept
// once it is the item's own.
QIcon icon(const QString& path);

// Forgets the stand-ins given for items that were missing or whose own icon was not there, so
// that the next icon() looks again: the item or its program may have been installed since.
void retryStandInIcons();

// Makes sure themed icons resolve: outside a desktop session Qt falls back to hicolor, which
// has no icons for content types, so an installed full theme (Adwaita, Breeze...) stands in.
void ensureIconTheme();

} // namespace DesktopItems
