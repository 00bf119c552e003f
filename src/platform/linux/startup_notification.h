#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <cstdint>

// The X11 startup-notification protocol's texts: the id a launch carries and the message that
// ends its feedback.
namespace StartupNotification {

// "traymate-<pid>-<host>-_TIME<time>": the "_TIME" part is the X server time of the request,
// which window managers read as the time of the user's action.
QString makeId(qint64 pid, const QString& host, std::uint32_t serverTime);

// "remove: ID=<id>", the id quoted where it needs to be.
QByteArray removeMessage(const QString& id);

// The message as the 20-byte pieces of its client messages, the last one ending in a NUL.
QList<QByteArray> pieces(const QByteArray& message);

} // namespace StartupNotification
