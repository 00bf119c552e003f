#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

// An applet instance's settings file as Cinnamon writes it: the applet's settings schema with
// each setting's current "value" added, `{"pinned-apps": {"type": "generic", "default": [...],
// "value": [...]}, ..., "__md5__": "..."}`.
namespace CinnamonSettingsFile {

// The strings of `key`'s value; nothing when the text is no such file or has no list there.
std::optional<QStringList> readList(const QByteArray& json, const QString& key);

// `json` with `key`'s value replaced by `items`, every other byte as it was, so the other
// settings, their order and the file's layout stay. Nothing when there is no such value.
std::optional<QByteArray> withList(const QByteArray& json, const QString& key,
                                   const QStringList& items);

// Replaces the file at `path` by `content` in one step: a reader sees the old file or the new.
bool replaceFile(const QString& path, const QByteArray& content);

} // namespace CinnamonSettingsFile
