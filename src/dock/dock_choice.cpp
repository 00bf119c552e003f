#include "dock/dock_choice.h"

#include "dock/file_dock_preferences.h"
#include "dock/gnome_dock_preferences.h"
#include "dock/linux_dock_tiles.h"
#include "dock/plank_dock_preferences.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QFileInfo>
#include <optional>

namespace {

std::optional<DockKind> requestedDock(const QString& name)
{
    if (name.isEmpty())
        return std::nullopt;
    if (name == QLatin1String("gnome"))
        return DockKind::Gnome;
    if (name == QLatin1String("plank"))
        return DockKind::Plank;
    if (name == QLatin1String("file"))
        return DockKind::File;
    return std::nullopt;
}

bool namesGnome(const QString& currentDesktop)
{
    for (const QStringView desktop : QStringView(currentDesktop).split(QLatin1Char(':'))) {
        if (desktop.compare(QLatin1String("GNOME"), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

} // namespace

bool plankIsRunning()
{
    // Plank owns its application id on the session bus while it runs.
    const QDBusConnection bus = QDBusConnection::sessionBus();
    return bus.isConnected() && bus.interface() &&
           bus.interface()->isServiceRegistered(QStringLiteral("net.launchpad.plank")).value();
}

DockKind chooseDock(const DockSurroundings& surroundings)
{
    if (const std::optional<DockKind> requested = requestedDock(surroundings.requested))
        return *requested;
    if (!surroundings.requested.isEmpty())
        qWarning("TRAYMATE_DOCK=%s is none of gnome, plank or file; choosing by the desktop",
                 qPrintable(surroundings.requested));
    if (namesGnome(surroundings.currentDesktop) && surroundings.gnomeShellSchema)
        return DockKind::Gnome;
    if (surroundings.plankFolder || surroundings.plankRunning)
        return DockKind::Plank;
    return DockKind::File;
}

DockSurroundings observeDockSurroundings(GSettingsSchemaSource* source)
{
    DockSurroundings seen;
    seen.requested = qEnvironmentVariable("TRAYMATE_DOCK");
    seen.currentDesktop = qEnvironmentVariable("XDG_CURRENT_DESKTOP");
    if (requestedDock(seen.requested))
        return seen;
    seen.gnomeShellSchema = namesGnome(seen.currentDesktop) &&
                            LinuxDock::hasSchema(source ? source : LinuxDock::defaultSchemaSource(),
                                                 GnomeDockPreferences::schemaId);
    if (seen.gnomeShellSchema)
        return seen;
    seen.plankFolder = QFileInfo(PlankDockPreferences::defaultFolder()).isDir();
    if (!seen.plankFolder)
        seen.plankRunning = plankIsRunning();
    return seen;
}

std::unique_ptr<DockPreferences> makeDockPreferences(DockKind kind)
{
    switch (kind) {
    case DockKind::Gnome: return std::make_unique<GnomeDockPreferences>();
    case DockKind::Plank: return std::make_unique<PlankDockPreferences>();
    case DockKind::File: break;
    }
    return std::make_unique<FileDockPreferences>();
}

std::unique_ptr<DockPreferences> makeChosenDockPreferences()
{
    return makeDockPreferences(chooseDock(observeDockSurroundings()));
}
