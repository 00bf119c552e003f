#include "platform/desktop_icon.h"

// No icons from the desktop here: every item shows the generic one, as a stand-in.
QIcon desktopIcon(const QString& path)
{
    return desktopIcon(path, nullptr);
}

QIcon desktopIcon(const QString&, bool* fallback)
{
    if (fallback)
        *fallback = true;
    return QIcon::fromTheme(QStringLiteral("application-x-executable"));
}
