#pragma once

#include "platform/linux/gsettings_lists.h"
#include "platform/pinned_entries.h"

#include <QStringList>

// GNOME Shell's dash, and Ubuntu Dock and Dash to Dock, which show the same list: the desktop
// file ids in the "favorite-apps" key of "org.gnome.shell". The dash follows the key at once.
// Ids that name no file stay in the list where they are.
class GnomeDashEntries : public PinnedEntries {
public:
    static constexpr const char* schemaId = "org.gnome.shell";
    static constexpr const char* key = "favorite-apps";

    // Without the schema in `source` (the default one when null) the dash cannot be read and
    // every edit is refused.
    explicit GnomeDashEntries(GSettingsSchemaSource* source = nullptr);

    bool isAvailable() const { return bool(m_settings); }
    QStringList favorites() const;

    std::optional<QStringList> entries() override;
    bool pin(const QString& entryPath) override;
    bool unpin(const QString& entryPath) override;

private:
    GSettingsLists::Settings m_settings;
};
