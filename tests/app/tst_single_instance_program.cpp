#include "app/single_instance.h"
#include "private_bus.h"
#include "test_environment.h"

#include <QProcess>
#include <QTemporaryDir>
#include <unistd.h>

namespace {

constexpr int patience = 10000; // ms
constexpr uid_t someoneElse = 65534;

} // namespace

// The real program without $XDG_RUNTIME_DIR, where another user got to a folder first: it keeps
// to one instance or does not start.
class SingleInstanceProgramTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_temporary;
    QString m_cache;
    int m_tests = 0;
    std::vector<std::unique_ptr<QProcess>> m_started;

    QProcessEnvironment environment() const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("XDG_RUNTIME_DIR");
        environment.insert("TMPDIR", m_temporary.path());
        environment.insert("XDG_CACHE_HOME", m_cache);
        return environment;
    }
    QProcess& start(const QStringList& arguments = {})
    {
        auto process = std::make_unique<QProcess>();
        process->setProcessEnvironment(environment());
        process->start(TRAYMATE_PROGRAM, arguments);
        m_started.push_back(std::move(process));
        return *m_started.back();
    }
    // A folder of someone else's, open to all, where `path` is.
    static bool plantForeignFolder(const QString& path)
    {
        return QDir().mkpath(path) &&
               ::chown(QFile::encodeName(path).constData(), someoneElse, someoneElse) == 0 &&
               QFile::setPermissions(path, QFile::Permissions(0x7777));
    }

private Q_SLOTS:
    void init()
    {
        m_cache =
            m_temporary.path() + "/cache" + QString::number(++m_tests); // short: a socket path
    }
    void cleanup()
    {
        for (const auto& process : m_started) {
            process->terminate();
            if (!process->waitForFinished(3000))
                process->kill();
        }
        m_started.clear();
    }

    void aForeignTemporaryFolderDoesNotSwitchTheLockOff()
    {
        if (::geteuid() != 0)
            QSKIP("needs root, to make a folder that belongs to another user");
        QVERIFY(
            plantForeignFolder(m_temporary.path() + "/traymate-" + QString::number(::getuid())));

        QProcess& first = start();
        QVERIFY(first.waitForStarted());
        QVERIFY(!first.waitForFinished(1500)); // it runs

        QProcess& second = start({"--toggle"});
        QVERIFY2(second.waitForFinished(patience), "a second instance is running");
        QVERIFY2(second.exitCode() == 0, second.readAllStandardError().constData());
        QCOMPARE(first.state(), QProcess::Running);

        // The lock and its socket are in the user's own cache folder.
        const QFileInfo folder(m_cache + "/traymate");
        QVERIFY(folder.isDir());
        QCOMPARE(folder.ownerId(), ::getuid());
        QCOMPARE(int(folder.permissions() & 0x0077), 0);
        QVERIFY(QFileInfo::exists(folder.filePath() + "/traymate.lock"));
    }

    void withoutAPrivateFolderItRefusesToStart()
    {
        if (::geteuid() != 0)
            QSKIP("needs root, to make a folder that belongs to another user");
        QVERIFY(plantForeignFolder(m_cache + "/traymate"));
        QProcess& refused = start();
        QVERIFY(refused.waitForFinished(patience));
        QCOMPARE(refused.exitCode(), 1);
        const QString error = QString::fromLocal8Bit(refused.readAllStandardError());
        QVERIFY2(error.contains(m_cache + "/traymate") && error.contains("0700"),
                 qPrintable(error));
    }

    void aStartWithMoreThanTheInstanceTakesIsRefused()
    {
        QProcess& first = start();
        QVERIFY(first.waitForStarted());
        QVERIFY(!first.waitForFinished(1500));
        const QString url = "traymate://group/5A1B2C3D-4E5F-4071-8293-A4B5C6D7E8F9";
        QProcess& tooMany = start(QStringList(SingleInstance::maxRequests + 1, url));
        QVERIFY(tooMany.waitForFinished(patience));
        QCOMPARE(tooMany.exitCode(), 2);
        QVERIFY(tooMany.readAllStandardError().contains("too many URLs"));
        QCOMPARE(first.state(), QProcess::Running);
    }
};

// Runs itself again on a private session bus, where the instances meet only each other.
TRAYMATE_PRIVATE_BUS_TEST_MAIN(SingleInstanceProgramTest, QCoreApplication)

#include "tst_single_instance_program.moc"
