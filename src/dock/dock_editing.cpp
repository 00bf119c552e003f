// Reading the Dock's applications and putting launchers into and out of it, over whichever
// Dock is current.
#include "dock/dock.h"
#include "dock/dock_tiles.h"
#include "dock/launchers.h"
#include "model/canonical_text.h"
#include "model/store.h"

QStringList Store::dockApps()
{
    QStringList apps = Dock::current().items();
    apps.removeIf([](const QString& path) { return !isApplicationPath(path); });
    return apps;
}

void Launchers::addToDock(const AppGroup& group)
{
    if (const std::optional<QString> bundle = make(group))
        putInDock(*bundle);
}

void Launchers::putInDock(const QString& bundle)
{
    Dock& dock = Dock::current();
    if (!CanonicalText::contains(Store::dockApps(), bundle))
        dock.addLauncher(bundle);
    dock.reload();
}

void Launchers::removeFromDock(const QString& path)
{
    Dock& dock = Dock::current();
    if (dock.removeItems(path))
        dock.reload();
}
