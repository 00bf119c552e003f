#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Item paths name whatever the user dropped: a FIFO or a device there would block a plain
// open() until someone writes to it, and the main thread with it. These never open anything
// but a regular file, and never wait on one.

// The whole content of `path` (links followed) when it is a regular file of at most
// `maxBytes`; nothing otherwise.
std::optional<QByteArray> readRegularFile(const QString& path, qint64 maxBytes);

// Whether `path` (links followed) is a regular file; looks at the file without opening it.
bool isRegularFile(const QString& path);
