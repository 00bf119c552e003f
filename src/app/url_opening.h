#pragma once

#include <QString>
#include <QUuid>
#include <optional>

// The group a traymate:// URL names: the scheme must be exactly "traymate" as written, and the
// last path component a group id; the host and every other component are not looked at.
std::optional<QUuid> groupIdOfUrl(const QString& url);
