#include "platform/item_opening.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

// Qt's own way: the default handler for everything, the folder for a reveal.
namespace ItemOpening {

void open(const QString& path)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void reveal(const QString& path)
{
    open(QFileInfo(path).absolutePath());
}

} // namespace ItemOpening
