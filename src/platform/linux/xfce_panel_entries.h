#pragma once

#include "platform/pinned_entries.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantMap>

// The launcher plugins of Xfce's panel, kept in the xfconf channel "xfce4-panel": each panel's
// "/panels/panel-M/plugin-ids" in order, "/plugins/plugin-N" = "launcher" with its
// "/plugins/plugin-N/items" naming desktop files, usually copies in "launcher-N" under the
// panel's config folder that remember their source in "X-XFCE-Source".
//
// The running panel follows a launcher's items but not a panel's plugin list, and adding a
// plugin through it asks "which panel?" when there are two. So a launcher is added and removed
// in the settings, and the running panel is restarted to show them.
class XfcePanelEntries : public PinnedEntries {
public:
    static constexpr const char* channel = "xfce4-panel";

    // "$XDG_CONFIG_HOME/xfce4/panel".
    static QString defaultConfigFolder();

    explicit XfcePanelEntries(QString configFolder = defaultConfigFolder());

    std::optional<QStringList> entries() override;
    bool pin(const QString& entryPath) override;
    bool unpin(const QString& entryPath) override;

    // What the channel holds that matters here, read from its properties.
    struct Plugin {
        int id = 0;
        QString type;
        QStringList items;
    };
    struct Panel {
        int id = 0;
        QList<Plugin> plugins;
    };
    static QList<Panel> panelsOf(const QVariantMap& properties);
    // The panel a new launcher goes to: the first holding a task list, else the first.
    static const Panel* panelForLaunchers(const QList<Panel>& panels);
    // Where in that panel's plugin list it goes: after its last launcher, else right after the
    // task list, else at the end.
    static int insertionIndex(const Panel& panel);
    // A plugin id no property uses yet.
    static int unusedPluginId(const QVariantMap& properties);

private:
    // The desktop file an item of launcher `pluginId` names, as it stands on disk: the source
    // of a copy when it is still there, else the copy, an absolute path, or a desktop file id.
    std::optional<QString> resolve(int pluginId, const QString& item) const;
    bool stands(int pluginId, const QString& item, const QString& entryPath) const;
    QString launcherFolder(int pluginId) const;

    QString m_configFolder;
};
