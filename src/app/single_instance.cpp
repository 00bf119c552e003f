#include "app/single_instance.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QThread>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int handOverTimeoutMs = 5000; // a starting instance takes the lock before it listens
constexpr char separator = '\n';

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

SingleInstance::~SingleInstance() = default;

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
        QLocalSocket socket;
        socket.connectToServer(socketPath());
        if (socket.waitForConnected(200)) {
            socket.write(message);
            const bool written = socket.waitForBytesWritten(1000) || socket.bytesToWrite() == 0;
            socket.disconnectFromServer();
            if (socket.state() != QLocalSocket::UnconnectedState)
                socket.waitForDisconnected(1000);
            return written;
        }
        QThread::msleep(20);
    }
    return false;
}

bool SingleInstance::listen()
{
    if (m_folder.isEmpty() || !m_lock)
        return false;
    // We hold the lock, so a socket file here is one a crashed instance left behind.
    QLocalServer::removeServer(socketPath());
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server->nextPendingConnection())
            receiveFrom(socket);
    });
    return m_server->listen(socketPath());
}

void SingleInstance::receiveFrom(QLocalSocket* socket)
{
    struct Incoming {
        QByteArray bytes;
        bool refused = false;
    };
    auto incoming = std::make_shared<Incoming>();
    connect(socket, &QLocalSocket::readyRead, socket, [socket, incoming] {
        if (incoming->refused)
            return;
        incoming->bytes += socket->readAll();
        // A start sends a few lines; anything far beyond that is not one of ours, and would
        // only cost memory.
        if (incoming->bytes.size() > maxMessageBytes ||
            incoming->bytes.count(separator) > maxRequests) {
            incoming->refused = true;
            incoming->bytes.clear();
            socket->abort();
            socket->deleteLater();
        }
    });
    connect(socket, &QLocalSocket::disconnected, this, [this, socket, incoming] {
        socket->deleteLater();
        if (!incoming->refused)
            incoming->bytes += socket->readAll();
        if (incoming->refused || incoming->bytes.size() > maxMessageBytes ||
            incoming->bytes.count(separator) > maxRequests) {
            qWarning("traymate: a client sent more than %lld requests or %lld bytes; ignored",
                     qlonglong(maxRequests), qlonglong(maxMessageBytes));
            return;
        }
        QStringList requests;
        for (const QByteArray& line : incoming->bytes.split(separator)) {
            if (!line.isEmpty())
                requests.append(QString::fromUtf8(line));
        }
        if (!requests.isEmpty())
            Q_EMIT received(requests);
    });
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
