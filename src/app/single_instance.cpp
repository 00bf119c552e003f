#include "app/single_instance.h"

#include "app/local_socket.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QThread>
#include <cerrno>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int handOverTimeoutMs = 5000; // a starting instance takes the lock before it listens
constexpr std::chrono::milliseconds writeStall{1000};
constexpr char separator = '\n';

bool tooMuch(const QByteArray& message)
{
    return message.size() > SingleInstance::maxMessageBytes ||
           message.count(separator) > SingleInstance::maxRequests;
}

bool isPrivateFolder(const QString& path)
{
    struct stat info {};
    if (path.isEmpty() || !QDir::isAbsolutePath(path) ||
        ::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return false;
    return S_ISDIR(info.st_mode) && info.st_uid == ::getuid() && (info.st_mode & 077) == 0;
}

} // namespace

QString SingleInstance::cacheFolder()
{
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    return cache.isEmpty() ? QString() : cache + QStringLiteral("/traymate");
}

QString SingleInstance::privateFolder()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (isPrivateFolder(runtime))
        return runtime;
    // Not the shared temporary folder: anyone can make a folder there first under our name.
    const QString fallback = cacheFolder();
    if (fallback.isEmpty())
        return {};
    QDir().mkpath(QFileInfo(fallback).path());
    ::mkdir(QFile::encodeName(fallback).constData(), 0700);
    return isPrivateFolder(fallback) ? fallback : QString();
}

SingleInstance::SingleInstance(QString folder, QObject* parent)
    : QObject(parent)
    , m_folder(std::move(folder))
{
}

SingleInstance::~SingleInstance()
{
    // The socket goes before the lock: once the lock is free, a new instance may listen at the
    // same path, and its socket must not be the one removed here.
    if (m_listener >= 0) {
        delete m_listening;
        ::close(m_listener);
        ::unlink(QFile::encodeName(socketPath()).constData());
    }
}

QString SingleInstance::socketPath() const
{
    return m_folder + QStringLiteral("/traymate.socket");
}

SingleInstance::Role SingleInstance::claim(const QStringList& requests)
{
    if (m_folder.isEmpty())
        return Role::NoPrivateFolder;
    auto lock = std::make_unique<QLockFile>(m_folder + QStringLiteral("/traymate.lock"));
    lock->setStaleLockTime(0); // stale only when its process is gone, however old
    if (lock->tryLock(0)) {
        m_lock = std::move(lock);
        return Role::Primary;
    }
    return handOver(requests) ? Role::Secondary : Role::Failed;
}

bool SingleInstance::handOver(const QStringList& requests)
{
    QByteArray message;
    for (const QString& request : requests)
        message += request.toUtf8() + separator;

    QElapsedTimer elapsed;
    elapsed.start();
    while (elapsed.elapsed() < handOverTimeoutMs) {
        const int socket = LocalSocket::connect(socketPath());
        if (socket >= 0) {
            const bool written = LocalSocket::sendAll(socket, message, writeStall);
            ::close(socket);
            return written;
        }
        QThread::msleep(20);
    }
    return false;
}

bool SingleInstance::listen()
{
    if (m_folder.isEmpty() || !m_lock || m_listener >= 0)
        return false;
    // We hold the lock, so a socket file here is one a crashed instance left behind.
    ::unlink(QFile::encodeName(socketPath()).constData());
    m_listener = LocalSocket::listen(socketPath());
    if (m_listener < 0)
        return false;
    m_listening = new QSocketNotifier(m_listener, QSocketNotifier::Read, this);
    connect(m_listening, &QSocketNotifier::activated, this, &SingleInstance::acceptClients);
    return true;
}

void SingleInstance::acceptClients()
{
    for (int client = LocalSocket::accept(m_listener); client >= 0;
         client = LocalSocket::accept(m_listener))
        receiveFrom(client);
}

void SingleInstance::receiveFrom(int client)
{
    // Owned by the reading connection: the socket closes when the notifier goes, whichever way.
    struct Incoming {
        int socket = -1;
        QByteArray bytes;
        ~Incoming() { ::close(socket); }
    };
    auto incoming = std::make_shared<Incoming>();
    incoming->socket = client;
    auto* readable = new QSocketNotifier(client, QSocketNotifier::Read, this);
    connect(readable, &QSocketNotifier::activated, this, [this, readable, incoming] {
        char buffer[64 * 1024];
        for (;;) {
            const ssize_t got = ::read(incoming->socket, buffer, sizeof buffer);
            if (got > 0) {
                incoming->bytes.append(buffer, got);
                // A start sends a few lines; anything far beyond that is not one of ours, and
                // would only cost memory.
                if (tooMuch(incoming->bytes))
                    break;
                continue;
            }
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
                return; // the rest is still on its way
            break;      // the client has sent all and closed, or is gone
        }
        readable->setEnabled(false);
        readable->deleteLater();
        deliver(incoming->bytes);
    });
}

void SingleInstance::deliver(const QByteArray& message)
{
    if (tooMuch(message)) {
        qWarning("traymate: a client sent more than %lld requests or %lld bytes; ignored",
                 qlonglong(maxRequests), qlonglong(maxMessageBytes));
        return;
    }
    QStringList requests;
    for (const QByteArray& line : message.split(separator)) {
        if (!line.isEmpty())
            requests.append(QString::fromUtf8(line));
    }
    if (!requests.isEmpty())
        Q_EMIT received(requests);
}

bool SingleInstance::fitsOneMessage(const QStringList& requests)
{
    if (requests.size() > maxRequests)
        return false;
    qsizetype bytes = 0;
    for (const QString& request : requests)
        bytes += request.toUtf8().size() + 1;
    return bytes <= maxMessageBytes;
}
