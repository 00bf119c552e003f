#pragma once

#include "model/app_group.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QUuid>
#include <optional>

// The one owner of the group list and of the panel's short-lived view state. Every change of
// `groups` is written to the groups file at once; observers hear of every published change
// through aboutToChange() before the new value is in place, and changed() after.
class Store : public QObject {
    Q_OBJECT

public:
    // Loads (or seeds) the groups file in `folder`, creating the folder first.
    explicit Store(const QString& folder, QObject* parent = nullptr);

    static Store& shared();
    // "Traymate" in the user's data folder ($XDG_DATA_HOME, else ~/.local/share).
    static QString defaultFolder();

    const QList<AppGroup>& groups() const { return m_groups; }
    void setGroups(QList<AppGroup> groups);
    // An in-place change of one group; saves like any other assignment to `groups`.
    void setGroup(qsizetype index, AppGroup group);

    const std::optional<QUuid>& selected() const { return m_selected; }
    void setSelected(std::optional<QUuid> id);
    const QString& query() const { return m_query; }
    void setQuery(QString query);
    bool pinned() const { return m_pinned; }
    void setPinned(bool pinned);
    bool compact() const { return m_compact; }
    void setCompact(bool compact);

    // Drag state inside the panel; not announced.
    std::optional<QString> dragApp;
    std::optional<QUuid> dragGroup;

    QString groupsFilePath() const { return m_url; }
    QString iconsFolder() const;

    // Index of the first group with this id, or -1.
    qsizetype indexOf(const QUuid& id) const;
    const AppGroup* group(const QUuid& id) const;

    void pruneMissing();

    // Editing.
    void add(const QString& path, const QUuid& to);
    void remove(const QString& path, const QUuid& from);
    void newGroup(const QString& name);
    void deleteGroup(const QUuid& id);
    void moveApp(const QString& app, const QString& before, const QUuid& in);
    void moveApp(const QString& app, const QUuid& toGroup);
    void moveGroup(const QUuid& group, const QUuid& before);

    // Icons.
    void setIcon(const QString& from, const QUuid& forGroup);
    void clearIcon(const QUuid& forGroup);

    // Dock import.
    static QStringList dockApps();
    static QString category(const QString& path);
    void importDockGrouped();

Q_SIGNALS:
    void aboutToChange();
    void changed();

private:
    void load();
    void save();
    // Appends `path` to the group unless it holds it already; no test that the item exists.
    void append(const QString& path, const QUuid& to);
    void setAside(const QByteArray& unreadableBytes);
    // Deletes a group's former icon: only the program's own copy, and only once no group
    // shows it any more.
    void deleteIconCopy(const QString& icon);

    QList<AppGroup> m_groups;
    std::optional<QUuid> m_selected;
    QString m_query;
    bool m_pinned = false;
    bool m_compact = false;
    QString m_folder;
    QString m_url;
    bool m_canSave = true;
};
