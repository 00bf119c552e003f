#pragma once

#include <QByteArray>
#include <QString>

// Replaces a file through a temporary file in the same folder and a rename, so a crash or a
// full disk leaves either the old content or the new one, never a mix. A symbolic link at
// `path` stays a link: its target is replaced.
bool writeFileAtomically(const QString& path, const QByteArray& bytes);

// Creates `path` only if nothing is there yet; never replaces an existing file.
bool writeNewFile(const QString& path, const QByteArray& bytes);
