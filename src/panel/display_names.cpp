#include "panel/display_names.h"

#include "dock/text_utilities.h"

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

struct CachedName {
    QByteArray encodedPath;
    FileStamp stamp;
    QString name;
    PanelModel::SearchEntry search;
};

// Main thread only, like every caller of the panel.
QHash<QString, CachedName>& cache()
{
    static QHash<QString, CachedName> names;
    return names;
}

const CachedName& lookUp(const QString& path)
{
    auto it = cache().find(path);
    if (it == cache().end()) {
        it = cache().insert(path, CachedName{QFile::encodeName(path), {}, {}, {}});
        it->stamp.exists = true; // forces the first lookup below
        it->stamp.inode = ino_t(-1);
    }
    const FileStamp now = stampOf(it->encodedPath);
    if (!(now == it->stamp)) {
        it->stamp = now;
        it->name = displayName(path);
        it->search.key = PanelModel::searchKey(it->name);
        it->search.canonicalPath = path.normalized(QString::NormalizationForm_C);
    }
    return *it;
}

} // namespace

namespace DisplayNames {

const PanelModel::SearchEntry& entry(const QString& path)
{
    return lookUp(path).search;
}
const QString& name(const QString& path)
{
    return lookUp(path).name;
}

} // namespace DisplayNames
