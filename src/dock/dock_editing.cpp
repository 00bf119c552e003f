// Reading the Dock's applications and putting launchers into and out of it, over whichever
// DockPreferences is current.
#include "dock/dock_preferences.h"
#include "dock/launcher_files.h"
#include "dock/launchers.h"
#include "dock/private_folder.h"
#include "dock/property_list.h"
#include "model/canonical_text.h"
#include "model/store.h"

namespace {

const QString kTemporaryName = QStringLiteral("traymate-dock.plist");

// Tries of a removal whose domain changed under it before it gives up.
constexpr int kRemovalAttempts = 3;

// What the Dock import and addToDock count as an application: a bundle, or a desktop entry
// as the docks of Linux desktops list them.
bool isApplicationPath(const QString& path)
{
    return path.endsWith(QLatin1String(".app")) || path.endsWith(QLatin1String(".desktop"));
}

enum class Removal { Done, NothingToDo, Retry };

// One pass of a removal: export, drop the tiles, write the file, import. Retry when the domain
// changed between the export and the import.
Removal removeOnce(DockPreferences& dock, const QString& path)
{
    const QByteArray exported = dock.exportDomain();
    const PropertyList::Node domain = PropertyList::parse(exported);
    plist_t apps = persistentApps(domain.get());
    if (!apps)
        return Removal::NothingToDo;

    bool dropped = false;
    for (uint32_t i = plist_array_get_size(apps); i-- > 0;) {
        const std::optional<QString> location = tilePath(plist_array_get_item(apps, i));
        if (location && CanonicalText::equal(*location, path)) {
            plist_array_remove_item(apps, i);
            dropped = true;
        }
    }
    if (!dropped)
        return Removal::NothingToDo;

    const QByteArray xml = PropertyList::toXml(domain.get());
    if (xml.isEmpty())
        return Removal::NothingToDo;
    const PrivateFolder folder;
    if (!folder.writeNewFile(kTemporaryName, xml))
        return Removal::NothingToDo;

    // The import replaces the whole domain: if the Dock changed it meanwhile, that change
    // would be lost, so start again from what is there now.
    if (dock.exportDomain() != exported)
        return Removal::Retry;
    dock.importDomain(folder.path() + QLatin1Char('/') + kTemporaryName);
    return Removal::Done;
}

} // namespace

QStringList Store::dockApps()
{
    const PropertyList::Node domain =
        PropertyList::parse(DockPreferences::current().exportDomain());
    plist_t apps = persistentApps(domain.get());
    if (!apps)
        return {};
    QStringList paths;
    const uint32_t count = plist_array_get_size(apps);
    for (uint32_t i = 0; i < count; ++i) {
        const std::optional<QString> path = tilePath(plist_array_get_item(apps, i));
        if (path && isApplicationPath(*path))
            paths.append(*path);
    }
    return paths;
}

void Launchers::addToDock(const AppGroup& group)
{
    const std::optional<QString> bundle = make(group);
    if (!bundle)
        return;
    DockPreferences& dock = DockPreferences::current();
    if (!CanonicalText::contains(Store::dockApps(), *bundle))
        dock.appendTile(tileText(*bundle));
    dock.reload();
}

void Launchers::removeFromDock(const QString& path)
{
    DockPreferences& dock = DockPreferences::current();
    for (int attempt = 0; attempt < kRemovalAttempts; ++attempt) {
        switch (removeOnce(dock, path)) {
        case Removal::Done: dock.reload(); return;
        case Removal::NothingToDo: return;
        case Removal::Retry: break;
        }
    }
}
