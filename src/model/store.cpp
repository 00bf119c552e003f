#include "model/store.h"

#include "model/groups_file.h"
#include "model/safe_file.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

const QString kGroupsFileName = QStringLiteral("groups.json");
const QString kDefaultGroupName = QStringLiteral("Apps");

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
    load();
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
    QFile file(m_url);
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = file.readAll();
        const bool readFully = file.error() == QFileDevice::NoError;
        file.close();
        if (std::optional<QList<AppGroup>> decoded =
                readFully ? GroupsFile::decode(bytes) : std::nullopt) {
            setGroups(std::move(*decoded));
        } else if (readFully) {
            setAside(bytes);
        } else {
            m_canSave = false; // cannot keep what we could not read, so never write over it
        }
    } else if (QFileInfo::exists(m_url)) {
        // There but not readable (permissions, a folder): move it out of the way untouched.
        if (!QFile::rename(m_url, setAsidePath(m_url)))
            m_canSave = false;
    }
    if (m_groups.isEmpty()) {
        AppGroup seeded;
        seeded.name = kDefaultGroupName;
        setGroups({seeded});
    }
    setSelected(m_groups.first().id);
}

void Store::setAside(const QByteArray& unreadableBytes)
{
    // A copy rather than a rename, so a groups file that is a link stays a link.
    if (!writeNewFile(setAsidePath(m_url), unreadableBytes))
        m_canSave = false; // keeping the old bytes matters more than writing the seed
}

void Store::save()
{
    if (m_canSave)
        writeFileAtomically(m_url, GroupsFile::encode(m_groups));
}

void Store::setGroups(QList<AppGroup> groups)
{
    Q_EMIT aboutToChange();
    m_groups = std::move(groups);
    save();
    Q_EMIT changed();
}

void Store::setGroup(qsizetype index, AppGroup group)
{
    if (index < 0 || index >= m_groups.size())
        return;
    Q_EMIT aboutToChange();
    m_groups[index] = std::move(group);
    save();
    Q_EMIT changed();
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
    for (qsizetype i = 0; i < m_groups.size(); ++i) {
        if (m_groups[i].id == id)
            return i;
    }
    return -1;
}

const AppGroup* Store::group(const QUuid& id) const
{
    const qsizetype index = indexOf(id);
    return index < 0 ? nullptr : &m_groups[index];
}

void Store::pruneMissing()
{
    QList<AppGroup> working = m_groups;
    bool changedSomething = false;
    for (AppGroup& group : working) {
        QStringList kept;
        kept.reserve(group.apps.size());
        for (const QString& path : group.apps) {
            if (!isApplicationItem(path) || isOnRemovableVolume(path) || QFileInfo::exists(path))
                kept.append(path);
        }
        if (kept.size() < group.apps.size()) {
            group.apps = std::move(kept);
            changedSomething = true;
        }
    }
    if (changedSomething)
        setGroups(std::move(working));
}
