#include "model/store.h"

#include "model/group_list_edits.h"
#include "model/groups_file.h"
#include "model/icon_files.h"
#include "model/safe_file.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QStandardPaths>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <sys/stat.h>

namespace {

const QString kGroupsFileName = QStringLiteral("groups.json");
const QString kDefaultGroupName = QStringLiteral("Apps");
const QString kTemporaryPrefix = QStringLiteral(".groups.json.tmp-");
// A write that failed for want of room may succeed once room is made anywhere on the disk,
// which no watch on the folder reports.
constexpr std::chrono::seconds kRetryInterval(10);

// A free name beside the groups file for content that could not be read; earlier copies are
// never reused.
QString setAsidePath(const QString& groupsFile)
{
    const QString stamp =
        QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
    const QString base = groupsFile + QStringLiteral(".unreadable-") + stamp;
    QString candidate = base;
    for (int n = 2; QFileInfo(candidate).exists() || QFileInfo(candidate).isSymLink(); ++n)
        candidate = base + QLatin1Char('-') + QString::number(n);
    return candidate;
}

// Items that stand for an application; only these are pruned when missing.
bool isApplicationItem(const QString& path)
{
    return path.endsWith(QLatin1String(".app")) || path.endsWith(QLatin1String(".desktop"));
}

// Items on removable volumes may just be unmounted, so they are kept.
bool isOnRemovableVolume(const QString& path)
{
    static const char* const prefixes[] = {"/Volumes/", "/media/", "/run/media/", "/mnt/"};
    for (const char* prefix : prefixes) {
        if (path.startsWith(QLatin1String(prefix)))
            return true;
    }
    return false;
}

} // namespace

Store::Store(const QString& folder, QObject* parent)
    : QObject(parent)
    , m_folder(folder)
    , m_url(folder + QLatin1Char('/') + kGroupsFileName)
{
    QDir().mkpath(folder);
    m_retry.setInterval(kRetryInterval);
    connect(&m_retry, &QTimer::timeout, this, [this] {
        checkForOutsideChange();
        if (m_unsaved || m_blocked)
            save();
    });
    load();
    watch();
}

Store& Store::shared()
{
    static Store* const instance = new Store(defaultFolder());
    return *instance;
}

QString Store::defaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Traymate");
}

QString Store::iconsFolder() const
{
    return m_folder + QStringLiteral("/icons");
}

void Store::load()
{
    // One instance at a time owns the folder, so every temporary left there is a dead writer's.
    removeStaleTemporaries(m_url);
    const FileState state = takeFile();
    if (m_groups.isEmpty()) {
        AppGroup seeded;
        seeded.name = kDefaultGroupName;
        publish({seeded});
    }
    // A file already in the stored form is left alone: rewriting it at every start would give
    // sync tools a conflict at every login.
    if (state == FileState::Blocked) {
        notSaved(m_blockReason);
    } else if (state != FileState::Current) {
        save();
    }
    setSelected(m_groups.first().id);
}

void Store::watch()
{
    if (!m_watcher) {
        m_watcher = new QFileSystemWatcher(this);
        connect(m_watcher, &QFileSystemWatcher::directoryChanged, this, &Store::folderChanged);
        connect(m_watcher, &QFileSystemWatcher::fileChanged, this, &Store::folderChanged);
    }
    // The file itself for writes in place; its folders for replacements by rename, after
    // which the watch on the file is gone and is set again here. A folder that is gone is
    // watched through the nearest folder above it, to learn when it comes back.
    QStringList paths = {m_url};
    QStringList folders = {m_folder};
    const QFileInfo file(m_url);
    if (file.isSymLink())
        folders.append(QFileInfo(file.symLinkTarget()).path());
    for (QString folder : folders) {
        while (!QFileInfo(folder).isDir() && folder != QFileInfo(folder).path())
            folder = QFileInfo(folder).path();
        paths.append(folder);
    }
    const QStringList watched = m_watcher->files() + m_watcher->directories();
    for (const QString& path : paths) {
        if (!watched.contains(path) && QFileInfo::exists(path))
            m_watcher->addPath(path);
    }
}

void Store::folderChanged()
{
    checkForOutsideChange();
    // Only a change made by someone else can mend a failed write; comparing the folder keeps
    // the temporary of a failed attempt from starting the next one.
    if ((m_unsaved || m_blocked) && folderState() != m_folderAtFailure)
        save();
}

QByteArray Store::folderState() const
{
    QByteArray state;
    QStringList folders = {m_folder};
    const QFileInfo file(m_url);
    if (file.isSymLink())
        folders.append(QFileInfo(file.symLinkTarget()).path());
    for (const QString& path : folders) {
        struct stat info {};
        if (::stat(QFile::encodeName(path).constData(), &info) == 0)
            state += QByteArray::number(info.st_mode) + ' ' + QByteArray::number(info.st_uid) +
                     ' ' + QByteArray::number(info.st_gid) + '\n';
        const QStringList names =
            QDir(path).entryList(QDir::AllEntries | QDir::Hidden | QDir::System, QDir::Name);
        for (const QString& name : names) {
            if (!name.startsWith(kTemporaryPrefix))
                state += QFile::encodeName(name) + '\n';
        }
    }
    return state;
}

void Store::checkForOutsideChange()
{
    watch();
    if (fileVersion(m_url) == m_onDisk)
        return;
    switch (takeFile()) {
    case FileState::Current:
    case FileState::OtherForm:
        // What is on disk is what the store now holds.
        m_unsaved = false;
        m_retry.stop();
        setSaveProblem({});
        break;
    case FileState::Missing:
        // Gone, perhaps only for a moment (a checkout); the groups are written at the next
        // change, or now if an earlier write is still owed.
        if (m_unsaved)
            save();
        break;
    case FileState::Replace: save(); break;
    case FileState::Blocked: notSaved(m_blockReason); break;
    }
}

Store::FileState Store::takeFile()
{
    const RegularFileRead file = readRegularFile(m_url);
    switch (file.status) {
    case RegularFileRead::Missing:
        m_onDisk.reset();
        m_blocked = false;
        return FileState::Missing;
    case RegularFileRead::Read: {
        m_onDisk = file.version;
        std::optional<QList<AppGroup>> decoded = GroupsFile::decode(file.bytes);
        if (!decoded) {
            if (!setAside(file.bytes))
                return FileState::Blocked;
            m_blocked = false;
            return FileState::Replace;
        }
        m_blocked = false;
        if (decoded->isEmpty())
            return FileState::Replace; // nothing in it to keep
        adopt(std::move(*decoded));
        return GroupsFile::encode(m_groups) == file.bytes ? FileState::Current
                                                          : FileState::OtherForm;
    }
    case RegularFileRead::NotRegular:
    case RegularFileRead::Unopenable:
        // There but not readable (permissions, a folder, a FIFO): moved out of the way
        // untouched. Not QFile::rename, whose fallback copy would open a FIFO and wait.
        if (::rename(QFile::encodeName(m_url).constData(),
                     QFile::encodeName(setAsidePath(m_url)).constData()) != 0) {
            m_blocked = true;
            m_blockReason = tr("the unreadable groups file could not be moved aside (%1)")
                                .arg(qt_error_string(errno));
            m_onDisk = fileVersion(m_url); // tried again when this changes, or on a retry
            return FileState::Blocked;
        }
        m_onDisk.reset();
        m_blocked = false;
        return FileState::Replace;
    case RegularFileRead::ReadError: break;
    }
    // Cannot keep what could not be read, so never write over it.
    m_onDisk = file.version;
    m_blocked = true;
    m_blockReason = tr("the groups file could not be read");
    return FileState::Blocked;
}

void Store::adopt(QList<AppGroup> groups)
{
    if (GroupsFile::encode(groups) == GroupsFile::encode(m_groups))
        return;
    publish(std::move(groups));
    if (m_selected && indexOf(*m_selected) < 0)
        setSelected(m_groups.first().id);
}

bool Store::setAside(const QByteArray& unreadableBytes)
{
    // A copy rather than a rename, so a groups file that is a link stays a link.
    const QString aside = setAsidePath(m_url);
    if (writeNewFile(aside, unreadableBytes))
        return true;
    // Keeping the old bytes matters more than writing ours.
    m_blocked = true;
    m_blockReason =
        tr("the unreadable groups file could not be set aside (%1)").arg(qt_error_string(errno));
    return false;
}

void Store::save()
{
    if (m_blocked && takeFile() == FileState::Blocked)
        return notSaved(m_blockReason);
    FileVersion written;
    int error = 0;
    if (writeFileAtomically(m_url, GroupsFile::encode(m_groups), &written, &error)) {
        m_onDisk = written;
        m_unsaved = false;
        m_retry.stop();
        setSaveProblem({});
        return;
    }
    notSaved(qt_error_string(error));
}

void Store::notSaved(const QString& problem)
{
    m_unsaved = true;
    // Taken after the attempt, whose own traces in the folder are gone by then.
    m_folderAtFailure = folderState();
    setSaveProblem(problem);
    m_retry.start();
}

void Store::setSaveProblem(const QString& problem)
{
    if (problem == m_saveProblem)
        return;
    m_saveProblem = problem;
    Q_EMIT saveProblemChanged();
}

void Store::publish(QList<AppGroup> groups)
{
    Q_EMIT aboutToChange();
    m_groups = std::move(groups);
    Q_EMIT changed();
}

void Store::update(const std::function<bool(QList<AppGroup>&)>& change)
{
    checkForOutsideChange();
    QList<AppGroup> working = m_groups;
    if (!change(working))
        return;
    publish(std::move(working));
    save();
}

bool Store::changeGroups(const std::function<bool(QList<AppGroup>&)>& change)
{
    bool applied = false;
    QList<AppGroup> before;
    update([&](QList<AppGroup>& groups) {
        before = groups;
        applied = change(groups);
        return applied;
    });
    if (applied) {
        // Only copies no group shows any more are deleted: the kept groups protect theirs.
        for (const AppGroup& group : std::as_const(before))
            deleteIconCopy(group.icon.value_or(QString()));
    }
    return applied;
}

void Store::setGroups(QList<AppGroup> groups)
{
    checkForOutsideChange();
    publish(std::move(groups));
    save();
}

void Store::setGroup(qsizetype index, AppGroup group)
{
    if (index < 0 || index >= m_groups.size())
        return;
    const AppGroup base = m_groups[index];
    const QByteArray before = GroupsFile::encode(m_groups);
    checkForOutsideChange();
    if (GroupsFile::encode(m_groups) != before) {
        // The caller's group came from a version that has just been replaced: carry over
        // only the fields it changed, onto that group as it now stands.
        index = indexOf(base.id);
        if (index < 0)
            return;
        AppGroup current = m_groups[index];
        if (group.name != base.name)
            current.name = group.name;
        if (group.apps != base.apps)
            current.apps = group.apps;
        if (group.icon != base.icon)
            current.icon = group.icon;
        group = std::move(current);
    }
    QList<AppGroup> list = m_groups;
    list[index] = std::move(group);
    publish(std::move(list));
    save();
}

void Store::setSelected(std::optional<QUuid> id)
{
    Q_EMIT aboutToChange();
    m_selected = id;
    Q_EMIT changed();
}

void Store::setQuery(QString query)
{
    Q_EMIT aboutToChange();
    m_query = std::move(query);
    Q_EMIT changed();
}

void Store::setPinned(bool pinned)
{
    Q_EMIT aboutToChange();
    m_pinned = pinned;
    Q_EMIT changed();
}

void Store::setCompact(bool compact)
{
    Q_EMIT aboutToChange();
    m_compact = compact;
    Q_EMIT changed();
}

qsizetype Store::indexOf(const QUuid& id) const
{
    return GroupListEdits::indexOf(m_groups, id);
}

const AppGroup* Store::group(const QUuid& id) const
{
    const qsizetype index = indexOf(id);
    return index < 0 ? nullptr : &m_groups[index];
}

void Store::pruneMissing()
{
    update([](QList<AppGroup>& working) {
        bool changedSomething = false;
        for (AppGroup& group : working) {
            QStringList kept;
            kept.reserve(group.apps.size());
            for (const QString& path : group.apps) {
                if (!isApplicationItem(path) || isOnRemovableVolume(path) ||
                    QFileInfo::exists(path))
                    kept.append(path);
            }
            if (kept.size() < group.apps.size()) {
                group.apps = std::move(kept);
                changedSomething = true;
            }
        }
        return changedSomething;
    });
}

// Every edit below reaches the disk as one save of its finished result, so a crash can never
// leave a moved item or group missing from the file.

void Store::add(const QString& path, const QUuid& to)
{
    if (QFileInfo::exists(path))
        append(path, to);
}

void Store::append(const QString& path, const QUuid& to)
{
    update([&](QList<AppGroup>& groups) { return GroupListEdits::appendItem(groups, path, to); });
}

void Store::remove(const QString& path, const QUuid& from)
{
    update([&](QList<AppGroup>& groups) { return GroupListEdits::removeItem(groups, path, from); });
}

void Store::newGroup(const QString& name)
{
    AppGroup created;
    created.name = name;
    update([&](QList<AppGroup>& groups) {
        groups.append(created);
        return true;
    });
    setSelected(created.id);
}

void Store::deleteGroup(const QUuid& id)
{
    bool applied = false;
    QList<AppGroup> gone;
    update([&](QList<AppGroup>& groups) {
        return applied = GroupListEdits::removeGroup(groups, id, gone);
    });
    if (!applied)
        return;
    setSelected(m_groups.isEmpty() ? std::nullopt : std::optional(m_groups.first().id));
    for (const AppGroup& g : std::as_const(gone))
        deleteIconCopy(g.icon.value_or(QString()));
}

void Store::moveApp(const QString& app, const QString& before, const QUuid& in)
{
    update(
        [&](QList<AppGroup>& groups) { return GroupListEdits::moveItem(groups, app, before, in); });
}

void Store::moveApp(const QString& app, const QUuid& toGroup)
{
    update([&](QList<AppGroup>& groups) {
        // The selection as it stands after any outside change the update has just taken up.
        return m_selected && GroupListEdits::moveItemToGroup(groups, app, *m_selected, toGroup);
    });
}

void Store::moveGroup(const QUuid& group, const QUuid& before)
{
    update(
        [&](QList<AppGroup>& groups) { return GroupListEdits::moveGroup(groups, group, before); });
}

void Store::setIcon(const QString& from, const QUuid& forGroup)
{
    const qsizetype index = indexOf(forGroup);
    if (index < 0)
        return;
    AppGroup changedGroup = m_groups[index];
    const std::optional<QString> copy = IconFiles::writeCopy(from, iconsFolder(), changedGroup);
    if (!copy)
        return;
    const QString previous = changedGroup.icon.value_or(QString());
    changedGroup.icon = *copy;
    setGroup(index, std::move(changedGroup));
    deleteIconCopy(previous);
}

void Store::clearIcon(const QUuid& forGroup)
{
    const qsizetype index = indexOf(forGroup);
    if (index < 0)
        return;
    const QString previous = m_groups[index].icon.value_or(QString());
    AppGroup changedGroup = m_groups[index];
    changedGroup.icon.reset();
    setGroup(index, changedGroup); // a move here makes GCC 12 warn of an uninitialised optional
    deleteIconCopy(previous);
}

void Store::deleteIconCopy(const QString& icon)
{
    IconFiles::deleteUnused(icon, iconsFolder(), m_groups);
}
