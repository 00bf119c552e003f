#pragma once

#include <QByteArrayView>
#include <QString>
#include <chrono>

// The few Unix-domain stream socket calls single instance needs, on plain file descriptors.
// Qt's local sockets live in Qt Network, whose library and the Kerberos libraries it pulls in
// would stay mapped in the long-running process for this alone (about 1.4 MB resident).
namespace LocalSocket {

// A non-blocking socket listening at `path`, which must not exist, readable and writable by
// this user only; -1 on failure, the path too long for a socket address among them.
int listen(const QString& path);
// The next waiting client of a listening socket, non-blocking; -1 when none waits.
int accept(int listener);
// A non-blocking socket connected to the listener at `path`; -1 when none listens there.
int connect(const QString& path);
// Writes all of `bytes`, waiting at most `stall` each time the reader falls behind. Never
// raises SIGPIPE: a reader that has gone is a failure like any other.
bool sendAll(int socket, QByteArrayView bytes, std::chrono::milliseconds stall);

} // namespace LocalSocket
