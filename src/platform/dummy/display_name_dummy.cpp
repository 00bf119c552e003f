#include "platform/display_name.h"

#include <QDir>
#include <QFileInfo>

// The file's own name: there is no desktop to ask for a nicer one.
QString displayName(const QString& path)
{
    const QString cleaned = QDir::cleanPath(path);
    QString shown = QFileInfo(cleaned).fileName();
    if (shown.isEmpty())
        shown = cleaned;
    if (shown.endsWith(QLatin1String(".app")))
        shown.chop(4);
    return shown;
}
