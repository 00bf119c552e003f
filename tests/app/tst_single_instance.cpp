#include "app/local_socket.h"
#include "app/single_instance.h"
#include "test_environment.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QProcess>
#include <QSignalSpy>
#include <QSysInfo>
#include <QThread>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace std::chrono_literals;

// Claiming the instance, handing requests over, and what a crash leaves behind.
class SingleInstanceTest : public QObject {
    Q_OBJECT

    QString runtime() const { return qEnvironmentVariable("XDG_RUNTIME_DIR"); }

private Q_SLOTS:
    void privateFolderIsTheUsersOwn()
    {
        QCOMPARE(SingleInstance::privateFolder(), runtime());

        // A runtime folder others can enter is not used; the one in the cache folder is made
        // 0700.
        const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
        QTemporaryDir open;
        QFile::setPermissions(open.path(),
                              QFile::permissions(open.path()) | QFile::ReadOther | QFile::ExeOther);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(open.path()));
        const QString fallback = SingleInstance::privateFolder();
        qputenv("XDG_RUNTIME_DIR", saved);
        QCOMPARE(fallback, qEnvironmentVariable("XDG_CACHE_HOME") + "/traymate");
        QCOMPARE(QFileInfo(fallback).permissions() & 0x0077, QFile::Permissions());
        QCOMPARE(QFileInfo(fallback).ownerId(), ::getuid());
        QDir(fallback).removeRecursively();
    }

    void withoutAPrivateFolderNoInstanceRuns()
    {
        const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
        qunsetenv("XDG_RUNTIME_DIR");
        const QString folder = SingleInstance::cacheFolder();
        QVERIFY(QDir().mkpath(folder));

        // Ours but open to others, and a link to a private folder of ours: neither will do.
        QFile::setPermissions(folder, QFile::permissions(folder) | QFile::WriteOther);
        const QString refusedOpen = SingleInstance::privateFolder();
        QDir().rmdir(folder);
        QVERIFY(QFile::link(QFile::decodeName(saved), folder));
        const QString refusedLink = SingleInstance::privateFolder();
        QFile::remove(folder);
        qputenv("XDG_RUNTIME_DIR", saved);

        QCOMPARE(refusedOpen, QString());
        QCOMPARE(refusedLink, QString());
        SingleInstance unlocked{QString()};
        QCOMPARE(unlocked.claim({"show"}), SingleInstance::Role::NoPrivateFolder);
        QVERIFY(!unlocked.listen());
    }

    void secondClaimHandsItsRequestsToTheFirst()
    {
        SingleInstance first(runtime());
        QCOMPARE(first.claim({"show"}), SingleInstance::Role::Primary);
        QVERIFY(first.listen());
        QCOMPARE(QFileInfo(first.socketPath()).permissions() &
                     (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther),
                 QFile::Permissions());
        QSignalSpy received(&first, &SingleInstance::received);

        SingleInstance second(runtime());
        const QStringList requests = {"open traymate://group/x", "open traymate://ü/y", "toggle"};
        QCOMPARE(second.claim(requests), SingleInstance::Role::Secondary);
        QVERIFY(received.wait(2000));
        QCOMPARE(received.first().first().toStringList(), requests);
    }

    void aClientThatSendsTooMuchIsDropped()
    {
        SingleInstance first(runtime());
        QCOMPARE(first.claim({}), SingleInstance::Role::Primary);
        QVERIFY(first.listen());
        QSignalSpy received(&first, &SingleInstance::received);
        // From a thread of its own, as from another process: the instance reads meanwhile.
        const auto send = [&](const QByteArray& bytes) {
            std::unique_ptr<QThread> client(QThread::create([&] {
                QLocalSocket socket;
                socket.connectToServer(first.socketPath());
                if (!socket.waitForConnected(2000))
                    return;
                socket.write(bytes);
                while (socket.bytesToWrite() > 0 && socket.waitForBytesWritten(2000)) {
                }
                socket.disconnectFromServer();
            }));
            client->start();
            QVERIFY(QTest::qWaitFor([&] { return client->isFinished(); }, 10000));
            QTest::qWait(50);
        };

        send(QByteArray("toggle\n").repeated(SingleInstance::maxRequests + 1));
        send(QByteArray(SingleInstance::maxMessageBytes + 1, 'x'));
        // One at the limit still comes through, and only it.
        send(QByteArray("toggle\n").repeated(SingleInstance::maxRequests));
        QTRY_COMPARE(received.size(), 1);
        QTest::qWait(200);
        QCOMPARE(received.size(), 1);
        QCOMPARE(received.first().first().toStringList().size(), SingleInstance::maxRequests);

        // A start may not send more than the instance takes.
        QVERIFY(SingleInstance::fitsOneMessage(QStringList(SingleInstance::maxRequests, "toggle")));
        QVERIFY(!SingleInstance::fitsOneMessage(
            QStringList(SingleInstance::maxRequests + 1, "toggle")));
    }

    void lockOfADeadProcessAndItsSocketAreCleared()
    {
        // A process that has ended leaves its lock and a socket file nobody listens on.
        QProcess gone;
        gone.start("true");
        QVERIFY(gone.waitForFinished());
        const qint64 deadPid = gone.processId() ? gone.processId() : 999999;
        {
            QFile lock(runtime() + "/traymate.lock");
            QVERIFY(lock.open(QIODevice::WriteOnly));
            lock.write(QByteArray::number(deadPid) + "\n" +
                       QCoreApplication::applicationName().toUtf8() + "\n" +
                       QSysInfo::machineHostName().toUtf8() + "\n");
        }
        const QString socketPath = runtime() + "/traymate.socket";
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        qstrncpy(address.sun_path, QFile::encodeName(socketPath).constData(),
                 sizeof(address.sun_path));
        QCOMPARE(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
        ::close(fd);
        QVERIFY(QFileInfo::exists(socketPath));

        SingleInstance instance(runtime());
        QCOMPARE(instance.claim({"show"}), SingleInstance::Role::Primary);
        QVERIFY(instance.listen());

        QSignalSpy received(&instance, &SingleInstance::received);
        SingleInstance later(runtime());
        QCOMPARE(later.claim({"toggle"}), SingleInstance::Role::Secondary);
        QVERIFY(received.wait(2000));
    }

    // An instance that ends while a start hands over: the start fails, and is not killed by
    // SIGPIPE, which would leave its user with no message at all.
    void aReaderThatHangsUpFailsTheSendWithoutKillingTheSender()
    {
        const QString path = runtime() + "/hang-up.socket";
        const int listener = LocalSocket::listen(path);
        QVERIFY(listener >= 0);
        const int sender = LocalSocket::connect(path);
        QVERIFY(sender >= 0);
        const int reader = LocalSocket::accept(listener);
        QVERIFY(reader >= 0);
        ::close(reader);
        QVERIFY(!LocalSocket::sendAll(sender, QByteArray(1 << 20, 'x'), 1000ms));
        ::close(sender);
        ::close(listener);
        QVERIFY(LocalSocket::connect(path) < 0); // nobody listens any more
    }

    void aSilentInstanceIsReportedNotWaitedForever()
    {
        SingleInstance holder(runtime());
        QCOMPARE(holder.claim({}), SingleInstance::Role::Primary);
        // It holds the lock but never listens.
        SingleInstance later(runtime());
        QElapsedTimer elapsed;
        elapsed.start();
        QCOMPARE(later.claim({"toggle"}), SingleInstance::Role::Failed);
        QVERIFY(elapsed.elapsed() < 8000);
    }
};

TRAYMATE_TEST_MAIN(SingleInstanceTest)
#include "tst_single_instance.moc"
