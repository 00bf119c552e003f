#pragma once

#include <QObject>
#include <QStringList>
#include <memory>

class QLockFile;
class QSocketNotifier;

// One running Traymate per user. The first start takes a lock in a folder only the user can
// enter and listens on a local socket there; later starts hand their requests to it over that
// socket and exit. The hand-over needs no GUI objects, so it runs before any exist.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    enum class Role {
        Primary,         // this process is the instance
        Secondary,       // the requests went to the running instance
        Failed,          // an instance holds the lock but never answered
        NoPrivateFolder, // no folder to lock in that others cannot reach: never run unlocked
    };

    // What one start may hand over; the instance drops a client that sends more.
    static constexpr qsizetype maxRequests = 10000;
    static constexpr qsizetype maxMessageBytes = 1024 * 1024;
    static bool fitsOneMessage(const QStringList& requests);

    // $XDG_RUNTIME_DIR when it is the user's own private folder, else cacheFolder(), made when
    // missing; empty when neither is a folder of this user's that only the user can enter
    // (checked without following links).
    static QString privateFolder();
    // "traymate" in the user's cache folder.
    static QString cacheFolder();

    explicit SingleInstance(QString folder, QObject* parent = nullptr);
    ~SingleInstance() override;

    // Takes the lock, or hands `requests` to the instance that holds it.
    Role claim(const QStringList& requests);
    // The instance starts answering: clears a socket left by a crash and listens. Call it
    // after claim() returned Primary, once the application object exists.
    bool listen();

    QString socketPath() const;

Q_SIGNALS:
    // Requests handed over by a later start, in the order it sent them.
    void received(const QStringList& requests);

private:
    bool handOver(const QStringList& requests);
    void acceptClients();
    void receiveFrom(int client);
    void deliver(const QByteArray& message);

    QString m_folder;
    std::unique_ptr<QLockFile> m_lock;
    int m_listener = -1;
    QSocketNotifier* m_listening = nullptr;
};
