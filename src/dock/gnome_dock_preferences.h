#pragma once

#include "dock/dock_preferences.h"
#include "dock/linux_dock_tiles.h"

#include <QStringList>

// GNOME Shell's dash, and Ubuntu Dock and Dash to Dock, which show the same list: the desktop
// file ids in the "favorite-apps" key of "org.gnome.shell". The dash follows the key at once,
// so there is nothing to reload. Each tile keeps its id under "desktop-file-id"; ids that name
// no file stay in the list as tiles without a location, so an edit never drops them.
class GnomeDockPreferences : public DockPreferences {
public:
    static constexpr const char* schemaId = "org.gnome.shell";
    static constexpr const char* key = "favorite-apps";
    static constexpr const char* idKey = "desktop-file-id";

    // Without the schema in `source` (the default one when null) the dash cannot be read and
    // every edit does nothing.
    explicit GnomeDockPreferences(GSettingsSchemaSource* source = nullptr);

    bool isAvailable() const { return bool(m_settings); }
    QStringList favorites() const;

    QByteArray exportDomain() override;
    void appendTile(const QString& tileText) override;
    void importDomain(const QString& file) override;
    void reload() override {}

private:
    LinuxDock::Settings m_settings;
};
