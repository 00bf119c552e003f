#include "app/local_socket.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

std::optional<sockaddr_un> addressOf(const QString& path)
{
    const QByteArray encoded = QFile::encodeName(path);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    // A path cut to fit would name another socket.
    if (encoded.isEmpty() || encoded.contains('\0') ||
        std::size_t(encoded.size()) >= sizeof(address.sun_path))
        return std::nullopt;
    std::memcpy(address.sun_path, encoded.constData(), std::size_t(encoded.size()));
    return address;
}

// Non-blocking, not inherited by launched items, and never raising SIGPIPE; set one by one
// rather than with socket() and accept4() flags, which macOS lacks. -1 when that fails.
int configured(int socket)
{
    const int flags = socket < 0 ? -1 : ::fcntl(socket, F_GETFL);
    bool ok = flags >= 0 && ::fcntl(socket, F_SETFL, flags | O_NONBLOCK) == 0 &&
              ::fcntl(socket, F_SETFD, FD_CLOEXEC) == 0;
#ifdef SO_NOSIGPIPE
    const int on = 1;
    ok = ok && ::setsockopt(socket, SOL_SOCKET, SO_NOSIGPIPE, &on, sizeof on) == 0;
#endif
    if (!ok && socket >= 0)
        ::close(socket);
    return ok ? socket : -1;
}

int newSocket()
{
    return configured(::socket(AF_UNIX, SOCK_STREAM, 0));
}

// A new socket, set up for `path` by `setUp`; -1 when that or anything before it fails.
template <typename SetUp> int socketAt(const QString& path, SetUp setUp)
{
    std::optional<sockaddr_un> address = addressOf(path);
    const int socket = address ? newSocket() : -1;
    if (socket >= 0 && !setUp(socket, *address)) {
        ::close(socket);
        return -1;
    }
    return socket;
}

#ifdef MSG_NOSIGNAL
constexpr int sendFlags = MSG_NOSIGNAL;
#else
constexpr int sendFlags = 0; // SO_NOSIGPIPE is set instead
#endif

sockaddr* asGeneric(sockaddr_un& address)
{
    return reinterpret_cast<sockaddr*>(&address);
}

} // namespace

namespace LocalSocket {

int listen(const QString& path)
{
    return socketAt(path, [](int socket, sockaddr_un& address) {
        return ::bind(socket, asGeneric(address), sizeof(address)) == 0 &&
               ::chmod(address.sun_path, S_IRUSR | S_IWUSR) == 0 &&
               ::listen(socket, SOMAXCONN) == 0;
    });
}

int accept(int listener)
{
    int client = -1;
    do
        client = ::accept(listener, nullptr, nullptr);
    while (client < 0 && errno == EINTR);
    return configured(client);
}

int connect(const QString& path)
{
    return socketAt(path, [](int socket, sockaddr_un& address) {
        int result = -1;
        do
            result = ::connect(socket, asGeneric(address), sizeof(address));
        while (result != 0 && errno == EINTR);
        // A listener whose queue is full answers EAGAIN: as good as none, the caller tries
        // again.
        return result == 0;
    });
}

bool sendAll(int socket, QByteArrayView bytes, std::chrono::milliseconds stall)
{
    while (!bytes.isEmpty()) {
        const ssize_t sent = ::send(socket, bytes.data(), std::size_t(bytes.size()), sendFlags);
        if (sent > 0) {
            bytes = bytes.sliced(sent);
            continue;
        }
        if (sent < 0 && errno == EINTR)
            continue;
        if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            pollfd writable{socket, POLLOUT, 0};
            int ready = -1;
            do
                ready = ::poll(&writable, 1, int(stall.count()));
            while (ready < 0 && errno == EINTR);
            if (ready > 0)
                continue;
        }
        return false;
    }
    return true;
}

} // namespace LocalSocket
