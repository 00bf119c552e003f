#include "dock/dock_preferences.h"

#include "dock/dock_tiles.h"
#include "dock/launcher_files.h"
#include "dock/private_folder.h"

namespace {

const QString kTemporaryName = QStringLiteral("traymate-dock.plist");

// Tries of a removal whose domain changed under it before it gives up.
constexpr int kRemovalAttempts = 3;

enum class Removal { Done, NothingToDo, Retry };

// One pass of a removal: export, drop the tiles, write the file, import. Retry when the domain
// changed between the export and the import.
Removal removeOnce(DockPreferences& dock, const QString& path)
{
    const QByteArray exported = dock.exportDomain();
    const std::optional<QByteArray> edited = domainWithout(exported, path);
    if (!edited)
        return Removal::NothingToDo;
    const PrivateFolder folder;
    if (!folder.writeNewFile(kTemporaryName, *edited))
        return Removal::NothingToDo;

    // The import replaces the whole domain: if the Dock changed it meanwhile, that change
    // would be lost, so start again from what is there now.
    if (dock.exportDomain() != exported)
        return Removal::Retry;
    dock.importDomain(folder.path() + QLatin1Char('/') + kTemporaryName);
    return Removal::Done;
}

} // namespace

QStringList DockPreferences::items()
{
    return dockTilePaths(exportDomain());
}

void DockPreferences::addLauncher(const QString& bundle)
{
    appendTile(Launchers::tileText(bundle));
}

bool DockPreferences::removeItems(const QString& path)
{
    for (int attempt = 0; attempt < kRemovalAttempts; ++attempt) {
        switch (removeOnce(*this, path)) {
        case Removal::Done: return true;
        case Removal::NothingToDo: return false;
        case Removal::Retry: break;
        }
    }
    return false;
}
