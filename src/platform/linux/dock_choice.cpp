#include "platform/linux/dock_choice.h"

#include "platform/linux/desktop_docks.h"
#include "platform/linux/gnome_dash_entries.h"
#include "platform/linux/gsettings_lists.h"
#include "platform/linux/plank_entries.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QFileInfo>
#include <optional>

namespace {

struct Name {
    const char* name;
    DockKind kind;
};

constexpr Name kRequestable[] = {
    {"gnome", DockKind::Gnome}, {"plank", DockKind::Plank},   {"xfce", DockKind::Xfce},
    {"mate", DockKind::Mate},   {"plasma", DockKind::Plasma}, {"cinnamon", DockKind::Cinnamon},
    {"file", DockKind::File},
};

// The names XDG_CURRENT_DESKTOP gives each desktop with a panel of its own ("GNOME" apart: it
// also needs the shell's schema).
constexpr Name kDesktops[] = {
    {"XFCE", DockKind::Xfce},           {"MATE", DockKind::Mate},         {"KDE", DockKind::Plasma},
    {"X-Cinnamon", DockKind::Cinnamon}, {"Cinnamon", DockKind::Cinnamon},
};

std::optional<DockKind> requestedDock(const QString& name)
{
    for (const Name& known : kRequestable) {
        if (name == QLatin1String(known.name))
            return known.kind;
    }
    return std::nullopt;
}

bool names(const QString& currentDesktop, const char* desktop)
{
    for (const QStringView part : QStringView(currentDesktop).split(QLatin1Char(':'))) {
        if (part.compare(QLatin1String(desktop), Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

std::optional<DockKind> desktopPanel(const QString& currentDesktop)
{
    for (const Name& desktop : kDesktops) {
        if (names(currentDesktop, desktop.name))
            return desktop.kind;
    }
    return std::nullopt;
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
        qWarning("TRAYMATE_DOCK=%s is none of gnome, plank, xfce, mate, plasma, cinnamon or file; "
                 "choosing by the desktop",
                 qPrintable(surroundings.requested));
    if (names(surroundings.currentDesktop, "GNOME") && surroundings.gnomeShellSchema)
        return DockKind::Gnome;
    // Plank is a dock one sets up on purpose, often in place of the desktop's own panel.
    if (surroundings.plankFolder || surroundings.plankRunning)
        return DockKind::Plank;
    if (const std::optional<DockKind> panel = desktopPanel(surroundings.currentDesktop))
        return *panel;
    return DockKind::File;
}

DockSurroundings observeDockSurroundings(GSettingsSchemaSource* source)
{
    DockSurroundings seen;
    seen.requested = qEnvironmentVariable("TRAYMATE_DOCK");
    seen.currentDesktop = qEnvironmentVariable("XDG_CURRENT_DESKTOP");
    if (requestedDock(seen.requested))
        return seen;
    seen.gnomeShellSchema =
        names(seen.currentDesktop, "GNOME") &&
        GSettingsLists::hasSchema(source ? source : GSettingsLists::defaultSchemaSource(),
                                  GnomeDashEntries::schemaId);
    if (seen.gnomeShellSchema)
        return seen;
    seen.plankFolder = QFileInfo(PlankEntries::defaultFolder()).isDir();
    if (!seen.plankFolder)
        seen.plankRunning = plankIsRunning();
    return seen;
}

std::unique_ptr<PinnedEntries> makePinnedEntries(DockKind kind)
{
    switch (kind) {
    case DockKind::Gnome: return makeGnomeDashPinnedEntries();
    case DockKind::Plank: return makePlankPinnedEntries();
    case DockKind::Xfce: return makeXfcePinnedEntries();
    case DockKind::Mate: return makeMatePinnedEntries();
    case DockKind::Plasma: return makePlasmaPinnedEntries();
    case DockKind::Cinnamon: return makeCinnamonPinnedEntries();
    case DockKind::File: break;
    }
    return nullptr;
}
