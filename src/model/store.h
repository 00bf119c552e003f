#pragma once

#include "model/app_group.h"
#include "model/safe_file.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QUuid>
#include <functional>
#include <optional>

class QFileSystemWatcher;

// The one owner of the group list and of the panel's short-lived view state. Every change of
// `groups` is written to the groups file at once; observers hear of every published change
// through aboutToChange() before the new value is in place, and changed() after.
//
// The file may also change from outside (a sync tool, an editor): the store watches it, adopts
// a new version when it arrives, and reads a pending one before every change, so it never
// writes over a version it has not read.
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

    // Why the groups in memory are not on disk (a failed write, a file that could not be set
    // aside), or empty once a write has succeeded. Retried at the next change, when the folder
    // changes, and every little while.
    const QString& saveProblem() const { return m_saveProblem; }
    bool saveFailed() const { return !m_saveProblem.isEmpty(); }

    // Takes a version of the groups file written from outside, if there is one.
    void checkForOutsideChange();
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

    // One operation over the whole list: runs `change` on the current content and saves its
    // result once, when it returns true; the program's picture copies that no group shows any
    // more are deleted then. True when the change applied.
    bool changeGroups(const std::function<bool(QList<AppGroup>&)>& change);

Q_SIGNALS:
    void aboutToChange();
    void changed();
    void saveProblemChanged();

private:
    // What the file on disk holds after takeFile(): the stored form of the groups, their content in
    // another form, nothing, nothing worth keeping (set aside, or no groups), or what may not be
    // replaced.
    enum class FileState { Current, OtherForm, Missing, Replace, Blocked };

    void load();
    void watch();
    void folderChanged();
    // Reads the file and adopts what it holds; sets aside what it cannot keep.
    FileState takeFile();
    void adopt(QList<AppGroup> groups);
    void save();
    // Keeps the groups in memory and says why they are not on disk, retrying later.
    void notSaved(const QString& problem);
    void setSaveProblem(const QString& problem);
    QByteArray folderState() const;
    // One user operation: runs `change` on the current content and saves its finished result
    // once, when it returns true.
    void update(const std::function<bool(QList<AppGroup>&)>& change);
    void publish(QList<AppGroup> groups);
    // Appends `path` to the group unless it holds it already; no test that the item exists.
    void append(const QString& path, const QUuid& to);
    bool setAside(const QByteArray& unreadableBytes);
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
    QFileSystemWatcher* m_watcher = nullptr;
    std::optional<FileVersion> m_onDisk; // the version last read or written; none: no file
    bool m_unsaved = false;              // memory holds changes the file lacks
    bool m_blocked = false; // the file holds what could not be kept elsewhere: never replace it
    QString m_saveProblem;
    QString m_blockReason;
    QByteArray m_folderAtFailure;
    QTimer m_retry;
};
