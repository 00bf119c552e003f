#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <optional>

// What tells one version of a file from another: replacing the file or writing into it
// changes at least one of these.
struct FileVersion {
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modifiedNs = 0;
    bool operator==(const FileVersion&) const = default;
};

// The version of what `path` leads to (links followed), or nothing when nothing is there.
std::optional<FileVersion> fileVersion(const QString& path);

struct RegularFileRead {
    enum Status {
        Read,       // `bytes` holds the whole file
        Missing,    // nothing there (a dangling link included)
        NotRegular, // a folder, FIFO, socket or device: never opened for reading
        Unopenable, // a regular file that cannot be opened (permissions)
        ReadError,  // opened, but reading failed midway
    };
    Status status = Missing;
    QByteArray bytes;
    FileVersion version;
};

// Reads a regular file without ever blocking: anything else at `path` is reported, not read.
RegularFileRead readRegularFile(const QString& path);

// Replaces a file through a temporary file in the same folder and a rename, so a crash or a
// full disk leaves either the old content or the new one, never a mix. A symbolic link at
// `path` stays a link: its target is replaced. On success `written` receives the new file's
// version; on failure `error` receives the errno of the step that failed.
bool writeFileAtomically(const QString& path, const QByteArray& bytes,
                         FileVersion* written = nullptr, int* error = nullptr);

// Deletes the temporaries writeFileAtomically() left beside `path` when a writer died; one
// that a live writer still holds is kept. Returns how many were deleted.
int removeStaleTemporaries(const QString& path);

// Creates `path` only if nothing is there yet; never replaces an existing file.
bool writeNewFile(const QString& path, const QByteArray& bytes);
