#pragma once

#include "platform/linux/gsettings_lists.h"
#include "platform/pinned_entries.h"

#include <QString>
#include <QStringList>

// Plank: one key file "<name>.dockitem" per item in its launcher folder, pointing at a desktop
// entry (or any file). Plank adds and removes items as the files come and go.
class PlankEntries : public PinnedEntries {
public:
    static constexpr const char* orderSchemaId = "net.launchpad.plank.dock.settings";
    static constexpr const char* orderPath = "/net/launchpad/plank/docks/dock1/";
    static constexpr const char* orderKey = "dock-items";

    // "$XDG_CONFIG_HOME/plank/dock1/launchers".
    static QString defaultFolder();

    // The order of the items comes from Plank's settings when `source` (the default one when
    // null) holds its schema, otherwise from the file names.
    explicit PlankEntries(QString folder = defaultFolder(),
                          GSettingsSchemaSource* source = nullptr);

    QString folder() const { return m_folder; }
    // The dockitem file names in dock order.
    QStringList itemNames() const;

    std::optional<QStringList> entries() override;
    bool pin(const QString& entryPath) override;
    bool unpin(const QString& entryPath) override;

private:
    QString m_folder;
    GSettingsLists::Settings m_order;
};
