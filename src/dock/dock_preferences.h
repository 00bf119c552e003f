#pragma once

#include <QByteArray>
#include <QString>
#include <memory>

// The Dock's preferences domain "com.apple.dock", reached through four operations only. The
// reading and editing of tiles (tilePath, Store::dockApps, Launchers::addToDock and
// removeFromDock) is written once over this interface; each desktop's dock is one subclass.
class DockPreferences {
public:
    virtual ~DockPreferences() = default;

    // The whole domain as a property list in any format; empty when it cannot be read.
    virtual QByteArray exportDomain() = 0;
    // Appends one tile, given as property-list text, to the end of "persistent-apps".
    virtual void appendTile(const QString& tileText) = 0;
    // Replaces the whole domain with the property list in `file`.
    virtual void importDomain(const QString& file) = 0;
    // Makes the dock show the stored preferences.
    virtual void reload() = 0;

    // The process-wide dock; made on first use for the platform the program runs on.
    static DockPreferences& current();
    // Puts another dock in place (tests do) and hands back the one it replaces.
    static std::unique_ptr<DockPreferences> setCurrent(std::unique_ptr<DockPreferences> dock);
};

// The dock for this platform: the preferences tools on macOS, on Linux the one chooseDock picks.
std::unique_ptr<DockPreferences> makePlatformDockPreferences();
