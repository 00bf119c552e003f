#pragma once

#include <QIcon>
#include <QString>

// The icon of an item path as the desktop shows it (opening one is the platform's ItemOpening).
namespace DesktopItems {

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
