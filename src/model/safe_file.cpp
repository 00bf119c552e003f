#include "model/safe_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
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

FileVersion versionOf(const struct stat& info)
{
    return {quint64(info.st_dev), quint64(info.st_ino), qint64(info.st_size),
            qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
}

QString temporaryPrefix(const QFileInfo& target)
{
    return QStringLiteral(".") + target.fileName() + QStringLiteral(".tmp-");
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
    const QString stem = info.path() + QLatin1Char('/') + temporaryPrefix(info);
    for (int attempt = 0; attempt < 100; ++attempt) {
        tempPath =
            QFile::encodeName(stem + QString::number(QRandomGenerator::global()->generate(), 36));
        const int fd = ::open(tempPath.constData(),
                              O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd >= 0) {
            // Held until the rename, so a clean-up at start tells a live writer from a dead one.
            ::flock(fd, LOCK_EX | LOCK_NB);
            return fd;
        }
        if (errno != EEXIST)
            return -1;
    }
    return -1;
}

} // namespace

std::optional<FileVersion> fileVersion(const QString& path)
{
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt;
    return versionOf(info);
}

RegularFileRead readRegularFile(const QString& path)
{
    RegularFileRead result;
    const QByteArray name = QFile::encodeName(path);
    struct stat info {};
    if (::stat(name.constData(), &info) != 0) {
        result.status = errno == ENOENT || errno == ENOTDIR ? RegularFileRead::Missing
                                                            : RegularFileRead::Unopenable;
        return result;
    }
    // Opening a FIFO for reading waits for a writer, and a device may do anything on open.
    if (!S_ISREG(info.st_mode)) {
        result.status = RegularFileRead::NotRegular;
        return result;
    }
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        result.status = errno == ENOENT ? RegularFileRead::Missing : RegularFileRead::Unopenable;
        return result;
    }
    // Checked again on what was opened: the path may have been replaced in between.
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        result.status = RegularFileRead::NotRegular;
        return result;
    }
    result.version = versionOf(info);
    result.bytes.reserve(qsizetype(info.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            ::close(fd);
            result.status = RegularFileRead::ReadError;
            result.bytes.clear();
            return result;
        }
        if (got == 0)
            break;
        result.bytes.append(buffer, got);
    }
    ::close(fd);
    result.status = RegularFileRead::Read;
    return result;
}

bool writeFileAtomically(const QString& path, const QByteArray& bytes, FileVersion* written,
                         int* error)
{
    const QString target = finalTarget(path);
    const QByteArray targetName = QFile::encodeName(target);
    QByteArray tempName;
    const int fd = openTemporaryBeside(target, tempName);
    if (fd < 0) {
        if (error)
            *error = errno;
        return false;
    }

    struct stat existing {};
    if (::stat(targetName.constData(), &existing) == 0)
        ::fchmod(fd, existing.st_mode & 07777);

    errno = ENOSPC; // a write of zero bytes sets no errno
    bool done = writeAll(fd, bytes) && ::fsync(fd) == 0;
    struct stat info {};
    done = done && ::fstat(fd, &info) == 0 &&
           ::rename(tempName.constData(), targetName.constData()) == 0;
    const int failure = errno;
    if (!done)
        ::unlink(tempName.constData());
    const bool closed = ::close(fd) == 0;
    if (!done || !closed) {
        if (error)
            *error = done ? errno : failure;
        return false;
    }
    if (written)
        *written = versionOf(info);
    return true;
}

int removeStaleTemporaries(const QString& path)
{
    const QFileInfo target(finalTarget(path));
    const QString prefix = temporaryPrefix(target);
    const QDir folder = target.dir();
    int removed = 0;
    const QStringList names = folder.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names) {
        if (!name.startsWith(prefix))
            continue;
        const QByteArray file = QFile::encodeName(folder.filePath(name));
        const int fd = ::open(file.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat held {};
        struct stat there {};
        // A lock we can take means the writer that made the file is gone.
        if (::fstat(fd, &held) == 0 && S_ISREG(held.st_mode) &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::lstat(file.constData(), &there) == 0 &&
            there.st_ino == held.st_ino && there.st_dev == held.st_dev &&
            ::unlink(file.constData()) == 0)
            ++removed;
        ::close(fd);
    }
    return removed;
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
