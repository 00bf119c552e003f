#pragma once

#include "platform/pinned_entries.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

typedef struct _GSettingsSchemaSource GSettingsSchemaSource;

// The launchers of MATE's panel, in GSettings: "object-id-list" of "org.mate.panel", and for
// each object the relocatable "org.mate.panel.object" at "/org/mate/panel/objects/<id>/"
// ("object-type" "launcher", "launcher-location", "toplevel-id", "position"). mate-panel
// follows both at once.
class MatePanelEntries : public PinnedEntries {
public:
    static constexpr const char* panelSchemaId = "org.mate.panel";
    static constexpr const char* objectSchemaId = "org.mate.panel.object";

    // The schemas come from `source` (the default one when null); without them every read and
    // edit is refused.
    explicit MatePanelEntries(GSettingsSchemaSource* source = nullptr);
    ~MatePanelEntries() override;

    bool isAvailable() const;

    std::optional<QStringList> entries() override;
    bool pin(const QString& entryPath) override;
    bool unpin(const QString& entryPath) override;

    // One object of the panel, as far as placing launchers goes.
    struct Object {
        QString id;
        QString type;
        QString toplevel;
        int position = 0;
        bool fromEnd = false; // "panel-right-stick": counted from the far end
        QString appletIid;
        QString location;
    };
    // The objects in the order they show: by panel in the panel list's order, then from the
    // start of the panel to its end.
    static QList<Object> inShownOrder(QList<Object> objects, const QStringList& toplevels);
    // The panel a new launcher goes to: the first holding a window list, else the first.
    static QString toplevelForLaunchers(const QList<Object>& objects, const QStringList& toplevels);
    // Its position there: after the last launcher counted from the start, else right after the
    // window list, else at the start.
    static int positionForLauncher(const QList<Object>& objects, const QString& toplevel);
    // "object-<n>" that no object uses yet.
    static QString unusedId(const QStringList& ids);

private:
    QList<Object> objects(const QStringList& ids) const;
    std::optional<QString> resolve(const QString& location) const;

    GSettingsSchemaSource* m_source = nullptr;
    struct Settings;
    std::unique_ptr<Settings> m_panel;
};
