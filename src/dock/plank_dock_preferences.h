#pragma once

#include "dock/dock_preferences.h"
#include "dock/linux_dock_tiles.h"

#include <QString>
#include <QStringList>

// Plank: one key file "<name>.dockitem" per item in its launcher folder, pointing at a desktop
// entry (or any file). Plank adds and removes items as the files come and go, so there is
// nothing to reload. Each tile keeps the name of its dockitem under "dockitem".
class PlankDockPreferences : public DockPreferences {
public:
    static constexpr const char* orderSchemaId = "net.launchpad.plank.dock.settings";
    static constexpr const char* orderPath = "/net/launchpad/plank/docks/dock1/";
    static constexpr const char* orderKey = "dock-items";
    static constexpr const char* nameKey = "dockitem";

    // "$XDG_CONFIG_HOME/plank/dock1/launchers".
    static QString defaultFolder();

    // The order of the items comes from Plank's settings when `source` (the default one when
    // null) holds its schema, otherwise from the file names.
    explicit PlankDockPreferences(QString folder = defaultFolder(),
                                  GSettingsSchemaSource* source = nullptr);

    QString folder() const { return m_folder; }
    // The dockitem file names in dock order.
    QStringList itemNames() const;

    QByteArray exportDomain() override;
    void appendTile(const QString& tileText) override;
    void importDomain(const QString& file) override;
    void reload() override {}

private:
    QString m_folder;
    LinuxDock::Settings m_order;
    // The items of the last export: an import deletes those of them it does not keep, so an
    // item that came after the export stays.
    QStringList m_exported;
};
