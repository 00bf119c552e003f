#include "platform/regular_file.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

std::optional<QByteArray> readRegularFile(const QString& path, qint64 maxBytes)
{
    // Looked at before opening: opening a FIFO for reading, even without blocking, tells a
    // writer waiting on it that a reader came. O_NONBLOCK covers a swap between the two.
    if (!isRegularFile(path))
        return std::nullopt;
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return std::nullopt;
    std::optional<QByteArray> result;
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && info.st_size <= maxBytes) {
        QByteArray bytes;
        bytes.reserve(qsizetype(info.st_size));
        char chunk[16 * 1024];
        for (;;) {
            const ssize_t got = ::read(fd, chunk, sizeof chunk);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0)
                break;
            if (got == 0) {
                result = std::move(bytes);
                break;
            }
            bytes.append(chunk, got);
            if (bytes.size() > maxBytes)
                break; // it grew meanwhile
        }
    }
    ::close(fd);
    return result;
}

bool isRegularFile(const QString& path)
{
    struct stat info {};
    return !path.isEmpty() && ::stat(QFile::encodeName(path).constData(), &info) == 0 &&
           S_ISREG(info.st_mode);
}
