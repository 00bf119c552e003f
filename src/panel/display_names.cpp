#include "panel/display_names.h"

#include "platform/display_name.h"
#include "platform/installed_entries.h"

#include <QFile>
#include <QHash>
#include <sys/stat.h>

namespace {

struct FileStamp {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    timespec changed{};

    friend bool operator==(const FileStamp& a, const FileStamp& b)
    {
        return a.exists == b.exists && a.device == b.device && a.inode == b.inode &&
               a.size == b.size && a.modified.tv_sec == b.modified.tv_sec &&
               a.modified.tv_nsec == b.modified.tv_nsec && a.changed.tv_sec == b.changed.tv_sec &&
               a.changed.tv_nsec == b.changed.tv_nsec;
    }
};

FileStamp stampOf(const QByteArray& encodedPath)
{
    struct stat info;
    if (::stat(encodedPath.constData(), &info) != 0)
        return {};
    return {true, info.st_dev, info.st_ino, info.st_size, info.st_mtim, info.st_ctim};
}

bool isLink(const QByteArray& encodedPath)
{
    struct stat info;
    return ::lstat(encodedPath.constData(), &info) == 0 && S_ISLNK(info.st_mode);
}

bool isDesktopEntry(const QString& path)
{
    return path.endsWith(QLatin1String(".desktop"));
}

struct CachedName {
    bool computed = false;
    bool trusted = false; // a plain path, or an installed entry whose changes are reported
    QByteArray encodedPath;
    FileStamp stamp;
    QString name;
    PanelModel::SearchEntry search;
};

QString folderOf(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash <= 0 ? QStringLiteral("/") : path.left(slash);
}

// The names, trusted until the desktop reports a change of installed entries. Main thread only.
class NameCache {
public:
    NameCache()
    {
        QObject::connect(&m_installed, &InstalledEntries::changed, [this] { distrustEntries(); });
    }

    const CachedName& lookUp(const QString& path)
    {
        auto it = m_names.find(path);
        if (it == m_names.end())
            it = m_names.insert(path, CachedName{});
        CachedName& entry = *it;
        if (entry.computed && entry.trusted)
            return entry;
        if (!isDesktopEntry(path)) {
            fill(entry, path);
            entry.trusted = true;
            return entry;
        }
        if (entry.encodedPath.isEmpty())
            entry.encodedPath = QFile::encodeName(path);
        const bool reported = m_installed.covers(folderOf(path)) && !isLink(entry.encodedPath);
        // Before the entry is looked at, so that any change after the look is reported.
        if (reported)
            m_installed.listen();
        const FileStamp now = stampOf(entry.encodedPath);
        if (!entry.computed || !(now == entry.stamp)) {
            entry.stamp = now;
            fill(entry, path);
        }
        entry.trusted = reported;
        return entry;
    }

private:
    static void fill(CachedName& entry, const QString& path)
    {
        entry.name = displayName(path);
        entry.search.key = PanelModel::searchKey(entry.name);
        entry.search.canonicalPath = path.normalized(QString::NormalizationForm_C);
        entry.computed = true;
    }

    void distrustEntries()
    {
        for (CachedName& entry : m_names) {
            if (!entry.encodedPath.isEmpty())
                entry.trusted = false;
        }
    }

    InstalledEntries m_installed;
    QHash<QString, CachedName> m_names;
};

NameCache& cache()
{
    static NameCache* const names = new NameCache; // lives as long as the process
    return *names;
}

} // namespace

namespace DisplayNames {

const PanelModel::SearchEntry& entry(const QString& path)
{
    return cache().lookUp(path).search;
}
const QString& name(const QString& path)
{
    return cache().lookUp(path).name;
}

} // namespace DisplayNames
