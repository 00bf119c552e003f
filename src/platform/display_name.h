#pragma once

#include <QString>

// The name the desktop shows for a path (a desktop entry's localised Name, a file's display
// name, else its last component), without a final ".app".
QString displayName(const QString& path);
