#include "model/safe_file.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// Written on POSIX calls rather than QSaveFile: Qt 6.4's QSaveFile commits a truncated file
// and reports success when the disk fills up in the middle of a write.

namespace {

// Follows a chain of links to the file that is really written.
QString finalTarget(const QString& path)
{
    QFileInfo info(path);
    for (int depth = 0; depth < 40 && info.isSymLink(); ++depth)
        info.setFile(info.symLinkTarget());
    return info.filePath();
}

bool writeAll(int fd, const QByteArray& bytes)
{
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        left -= written;
    }
    return true;
}

// Opens a new file beside `target` that nobody else can have opened, honouring the umask.
int openTemporaryBeside(const QString& target, QByteArray& tempPath)
{
    const QFileInfo info(target);
    const QString stem =
        info.path() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".tmp-");
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath =
            QFile::encodeName(stem + QString::number(QRandomGenerator::global()->generate(), 36));
        const int fd = ::open(tempPath.constData(),
                              O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

} // namespace

bool writeFileAtomically(const QString& path, const QByteArray& bytes)
{
    const QString target = finalTarget(path);
    const QByteArray targetName = QFile::encodeName(target);
    QByteArray tempName;
    const int fd = openTemporaryBeside(target, tempName);
    if (fd < 0)
        return false;

    struct stat existing {};
    if (::stat(targetName.constData(), &existing) == 0)
        ::fchmod(fd, existing.st_mode & 07777);

    const bool written = writeAll(fd, bytes) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || ::rename(tempName.constData(), targetName.constData()) != 0) {
        ::unlink(tempName.constData());
        return false;
    }
    return true;
}

bool writeNewFile(const QString& path, const QByteArray& bytes)
{
    const QByteArray name = QFile::encodeName(path);
    const int fd =
        ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd < 0)
        return false;
    const bool written = writeAll(fd, bytes) && ::fsync(fd) == 0;
    if (::close(fd) != 0 || !written) {
        ::unlink(name.constData());
        return false;
    }
    return true;
}
