#pragma once

#include <QString>
#include <gio/gdesktopappinfo.h>

// GIO's view of the desktop entry at `path` (a new reference, or null), read only when it is a
// regular file: GIO itself would open a FIFO in its place and wait for a writer for ever.
GDesktopAppInfo* readDesktopEntry(const QString& path);
