#pragma once

#include "platform/linux/plasma_task_managers.h"
#include "platform/pinned_entries.h"

#include <QDBusConnection>
#include <functional>

// The pinned launchers of KDE Plasma's task managers (icon-only or not), edited in the running
// shell through its scripting interface, so the panels follow at once. Pins go to the first
// task manager of the first panel that has one; unpinning clears every task manager. Without
// a running shell the list is read from the shell's file, and edits are refused: the shell
// would overwrite the file with what it holds.
class PlasmaPinnedEntries : public PinnedEntries {
public:
    explicit PlasmaPinnedEntries(QDBusConnection bus = QDBusConnection::sessionBus(),
                                 QString appletsFile = PlasmaTaskManagers::appletsFilePath());

    std::optional<QStringList> entries() override;
    bool pin(const QString& entryPath) override;
    bool unpin(const QString& entryPath) override;

private:
    struct Change {
        PlasmaTaskManager before;
        QStringList after;
    };
    enum class WriteResult { Written, Stale, Refused };

    // The task managers as the running shell has them; nothing when there is no shell or it
    // refuses scripts (locked widgets, kiosk).
    std::optional<std::vector<PlasmaTaskManager>> readLive() const;
    // Writes `changes` in one script, only if every list is still as read.
    WriteResult write(const std::vector<Change>& changes) const;
    // Runs `edit` on fresh lists until they were written unchanged in between.
    bool edit(const std::function<std::optional<std::vector<Change>>(
                  const std::vector<PlasmaTaskManager>&)>& plan) const;
    std::optional<QString> evaluate(const QString& script) const;

    QDBusConnection m_bus;
    QString m_appletsFile;
};
