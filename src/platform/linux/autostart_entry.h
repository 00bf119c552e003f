#pragma once

#include <QByteArray>
#include <QString>

// The XDG autostart entry behind LoginItem: $XDG_CONFIG_HOME/autostart/traymate.desktop.
namespace AutostartEntry {

// The entry's text for starting `program`.
QByteArray text(const QString& program);
// Whether the entry file at `path` starts `program` and is not disabled.
bool starts(const QString& path, const QString& program);

} // namespace AutostartEntry
