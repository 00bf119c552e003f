#pragma once

#include "platform/linux/cinnamon_applets.h"
#include "platform/pinned_entries.h"

#include <QDBusConnection>
#include <functional>
#include <vector>

// The pinned applications of Cinnamon's grouped window lists and panel launchers applets:
// desktop ids in each applet instance's settings file. Edits rewrite the file in one step and,
// when Cinnamon runs, tell it over D-Bus to read it at once; the window list, which only reads
// its pinned applications when it starts, is reloaded. Pins go to the first window list, or the
// first panel launchers when there is none; unpinning clears every instance.
class CinnamonPinnedEntries : public PinnedEntries {
public:
    // `enabledApplets` gives the "enabled-applets" key; by default it is read from GSettings.
    explicit CinnamonPinnedEntries(QDBusConnection bus = QDBusConnection::sessionBus(),
                                   std::function<std::optional<QStringList>()> enabledApplets =
                                       CinnamonApplets::enabledApplets);

    std::optional<QStringList> entries() override;
    bool pin(const QString& entryPath) override;
    bool unpin(const QString& entryPath) override;

private:
    struct Instance {
        CinnamonApplet applet;
        QString file;
        QByteArray content;
        QStringList items;
    };
    struct Change {
        const Instance* instance;
        QStringList items;
    };

    // The instances whose settings file holds a readable list; nothing without the schema.
    std::optional<std::vector<Instance>> instances() const;
    // Writes every change, then lets a running Cinnamon know. False when a file could not be
    // written.
    bool apply(const std::vector<Change>& changes) const;
    void notifyCinnamon(const std::vector<Change>& changes) const;

    QDBusConnection m_bus;
    std::function<std::optional<QStringList>()> m_enabledApplets;
};
