#include "panel/display_names.h"

#include "dock/text_utilities.h"

#include <QFile>
#include <QHash>
#include <QSocketNotifier>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

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
    bool trusted = false; // a plain path, or a desktop entry whose folder is watched
    QByteArray encodedPath;
    FileStamp stamp;
    QString name;
    PanelModel::SearchEntry search;
};

// The names, and one inotify watch per folder that holds a desktop entry. Main thread only.
class NameCache {
public:
    NameCache()
        : m_inotify(inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
    {
        if (m_inotify >= 0) {
            m_notifier = new QSocketNotifier(m_inotify, QSocketNotifier::Read);
            QObject::connect(m_notifier, &QSocketNotifier::activated, [this] { drain(); });
        }
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
        const FileStamp now = stampOf(entry.encodedPath);
        if (!entry.computed || !(now == entry.stamp)) {
            entry.stamp = now;
            fill(entry, path);
        }
        entry.trusted = watchFolderOf(entry.encodedPath) && !isLink(entry.encodedPath);
        return entry;
    }

    void drain()
    {
        if (m_inotify < 0)
            return;
        alignas(inotify_event) char buffer[16 * 1024];
        for (;;) {
            const ssize_t length = ::read(m_inotify, buffer, sizeof buffer);
            if (length <= 0)
                return;
            for (ssize_t offset = 0; offset < length;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + offset);
                offset += ssize_t(sizeof(inotify_event) + event->len);
                if (event->mask & IN_Q_OVERFLOW) {
                    distrustAll();
                    continue;
                }
                const QByteArray folder = m_folderOfWatch.value(event->wd);
                if (event->mask & (IN_IGNORED | IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT)) {
                    distrustFolder(folder);
                    if (event->mask & IN_IGNORED) {
                        m_watchOfFolder.remove(folder);
                        m_folderOfWatch.remove(event->wd);
                    }
                    continue;
                }
                if (event->len > 0)
                    distrust(QFile::decodeName(folder + '/' + QByteArray(event->name)));
            }
        }
    }

private:
    static void fill(CachedName& entry, const QString& path)
    {
        entry.name = displayName(path);
        entry.search.key = PanelModel::searchKey(entry.name);
        entry.search.canonicalPath = path.normalized(QString::NormalizationForm_C);
        entry.computed = true;
    }

    bool watchFolderOf(const QByteArray& encodedPath)
    {
        if (m_inotify < 0)
            return false;
        const qsizetype slash = encodedPath.lastIndexOf('/');
        const QByteArray folder = slash <= 0 ? QByteArray("/") : encodedPath.left(slash);
        if (m_watchOfFolder.contains(folder))
            return true;
        const int watch = inotify_add_watch(m_inotify, folder.constData(),
                                            IN_MODIFY | IN_ATTRIB | IN_CLOSE_WRITE | IN_MOVE |
                                                IN_CREATE | IN_DELETE | IN_DELETE_SELF |
                                                IN_MOVE_SELF | IN_DONT_FOLLOW | IN_ONLYDIR);
        if (watch < 0)
            return false;
        m_watchOfFolder.insert(folder, watch);
        m_folderOfWatch.insert(watch, folder);
        return true;
    }

    void distrust(const QString& path)
    {
        const auto it = m_names.find(path);
        if (it != m_names.end())
            it->trusted = false;
    }
    void distrustFolder(const QByteArray& folder)
    {
        for (CachedName& entry : m_names) {
            if (!entry.encodedPath.isEmpty() &&
                entry.encodedPath.startsWith(QByteArray(folder + '/')))
                entry.trusted = false;
        }
    }
    void distrustAll()
    {
        for (CachedName& entry : m_names) {
            if (!entry.encodedPath.isEmpty())
                entry.trusted = false;
        }
    }

    int m_inotify;
    QSocketNotifier* m_notifier = nullptr;
    QHash<QString, CachedName> m_names;
    QHash<QByteArray, int> m_watchOfFolder;
    QHash<int, QByteArray> m_folderOfWatch;
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
void sync()
{
    cache().drain();
}

} // namespace DisplayNames
