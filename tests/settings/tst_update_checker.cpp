#include "feed_server.h"
#include "settings/update_checker.h"
#include "settings/version_compare.h"
#include "test_environment.h"

#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>

using namespace std::chrono_literals;

namespace {

// A checker that records every status it publishes, and fails on a change off the main thread.
std::unique_ptr<UpdateChecker> checker(QStringList* statuses = nullptr)
{
    auto made = std::make_unique<UpdateChecker>();
    made->setFetchProgram(QStringLiteral(TRAYMATE_FETCH_FEED));
    QObject::connect(made.get(), &UpdateChecker::statusChanged, made.get(),
                     [raw = made.get(), statuses] {
                         QCOMPARE(QThread::currentThread(), qApp->thread());
                         if (statuses)
                             statuses->append(raw->status());
                     });
    return made;
}

void waitForResult(UpdateChecker& updates)
{
    QTRY_VERIFY_WITH_TIMEOUT(updates.status() != QStringLiteral("Checking..."), 10000);
}

} // namespace

class UpdateCheckerTest : public QObject {
    Q_OBJECT

    FeedServer* m_server = nullptr;

private Q_SLOTS:
    void init()
    {
        m_server = new FeedServer;
        QVERIFY(m_server->listening());
        qputenv("TRAYMATE_UPDATE_FEED", m_server->url().toUtf8());
        QCoreApplication::setApplicationVersion(QString());
    }

    void cleanup()
    {
        delete m_server;
        qunsetenv("TRAYMATE_UPDATE_FEED");
        qunsetenv("TRAYMATE_DOWNLOAD_PAGE");
    }

    void comparesVersions_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<int>("order");
        QTest::newRow("digit runs by value") << "1.10"
                                             << "1.9" << 1;
        QTest::newRow("prefix is smaller") << "1.0.0"
                                           << "1.0" << 1;
        QTest::newRow("equal") << "2.3.4"
                               << "2.3.4" << 0;
        QTest::newRow("leading zeros") << "1.01"
                                       << "1.1" << 0;
        QTest::newRow("longer than 64 bits") << "1.100000000000000000000"
                                             << "1.99999999999999999999" << 1;
        QTest::newRow("letters one by one") << "1.2b"
                                            << "1.2a" << 1;
        QTest::newRow("suffix after digits") << "1.2beta"
                                             << "1.2" << 1;
        QTest::newRow("empty") << ""
                               << "0" << -1;
        QTest::newRow("both empty") << ""
                                    << "" << 0;
        QTest::newRow("major decides") << "10.0"
                                       << "9.99" << 1;
    }

    void comparesVersions()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(int, order);
        QCOMPARE(compareVersions(a, b), order);
        QCOMPARE(compareVersions(b, a), -order);
    }

    void currentComesFromTheApplicationOrIsOnePointZero()
    {
        QCOMPARE(UpdateChecker::current(), QStringLiteral("1.0"));
        QCoreApplication::setApplicationVersion(QStringLiteral("1.4"));
        QCOMPARE(UpdateChecker::current(), QStringLiteral("1.4"));
    }

    void builtInAddressesAndTheirOverrides()
    {
        qunsetenv("TRAYMATE_UPDATE_FEED");
        QVERIFY(UpdateChecker::feedURL().startsWith(QLatin1String("https://")));
        QVERIFY(UpdateChecker::feedURL().endsWith(QLatin1String("/version.json")));
        QVERIFY(UpdateChecker::defaultDownloadPage().startsWith(QLatin1String("https://")));
        qputenv("TRAYMATE_DOWNLOAD_PAGE", "https://example.org/get");
        QCOMPARE(UpdateChecker().downloadURL(), QStringLiteral("https://example.org/get"));
        QCOMPARE(UpdateChecker::shared().status(), QString());
        QCOMPARE(&UpdateChecker::shared(), &UpdateChecker::shared());
    }

    void newerVersionIsPublishedWithItsPage()
    {
        QCoreApplication::setApplicationVersion(QStringLiteral("1.9"));
        m_server->serveJson(
            "{\"version\":\"1.10\",\"url\":\"https://example.org/1.10\",\"notes\":[1]}");
        QStringList statuses;
        auto updates = checker(&statuses);
        QSignalSpy latest(updates.get(), &UpdateChecker::latestChanged);
        updates->check();
        QCOMPARE(updates->status(), QStringLiteral("Checking..."));
        waitForResult(*updates);
        QCOMPARE(statuses, (QStringList{"Checking...", "Version 1.10 is available"}));
        QCOMPARE(updates->latest(), std::optional<QString>("1.10"));
        QCOMPARE(latest.count(), 1);
        QCOMPARE(updates->downloadURL(), QStringLiteral("https://example.org/1.10"));

        QCOMPARE(m_server->requests().size(), 1);
        QCOMPARE(m_server->requests().first().method, QByteArray("GET"));
        QCOMPARE(m_server->requests().first().path, QByteArray("/version.json"));
    }

    void longerVersionWithTheSamePrefixIsNewer()
    {
        m_server->serveJson("{\"version\":\"1.0.0\"}");
        auto updates = checker();
        updates->check();
        waitForResult(*updates);
        QCOMPARE(updates->status(), QStringLiteral("Version 1.0.0 is available"));
        QCOMPARE(updates->latest(), std::optional<QString>("1.0.0"));
    }

    void laterCheckFindingNoNewerVersionClearsLatest()
    {
        QCoreApplication::setApplicationVersion(QStringLiteral("2.1"));
        m_server->serveJson("{\"version\":\"2.2\",\"url\":\"https://example.org/a\"}");
        m_server->serveJson("{\"version\":\"2.1\"}");
        m_server->serveJson("{\"version\":\"1.9\",\"url\":\"https://example.org/b\"}");
        auto updates = checker();
        updates->check();
        waitForResult(*updates);
        QCOMPARE(updates->latest(), std::optional<QString>("2.2"));

        updates->check();
        waitForResult(*updates);
        QCOMPARE(updates->status(), QStringLiteral("You are up to date"));
        QCOMPARE(updates->latest(), std::nullopt);
        QCOMPARE(updates->downloadURL(), QStringLiteral("https://example.org/a"));

        updates->check();
        waitForResult(*updates);
        QCOMPARE(updates->status(), QStringLiteral("You are up to date"));
        QCOMPARE(updates->downloadURL(), QStringLiteral("https://example.org/b"));
    }

    void unusableRepliesFailWithoutTouchingTheResults_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("version as a number") << 200 << QByteArray("{\"version\":2,\"url\":\"x\"}");
        QTest::newRow("no version") << 200 << QByteArray("{\"url\":\"https://example.org/x\"}");
        QTest::newRow("array") << 200 << QByteArray("[{\"version\":\"9\"}]");
        QTest::newRow("html error page") << 404 << QByteArray("<html>gone</html>");
        QTest::newRow("empty body") << 200 << QByteArray();
        QTest::newRow("cut off") << 200 << QByteArray("{\"version\":\"9.0\"");
    }

    void unusableRepliesFailWithoutTouchingTheResults()
    {
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        m_server->serveJson("{\"version\":\"3.0\",\"url\":\"https://example.org/3\"}");
        m_server->serve("/version.json", FeedServer::Reply{status, body});
        auto updates = checker();
        updates->check();
        waitForResult(*updates);
        updates->check();
        waitForResult(*updates);
        QCOMPARE(updates->status(), QStringLiteral("Could not check for updates"));
        QCOMPARE(updates->latest(), std::optional<QString>("3.0"));
        QCOMPARE(updates->downloadURL(), QStringLiteral("https://example.org/3"));
    }

    void errorPageWithAFeedBodyCounts()
    {
        m_server->serve(
            "/version.json",
            FeedServer::Reply{503, "{\"version\":\"4.0\",\"url\":\"https://example.org/4\"}"});
        auto updates = checker();
        updates->check();
        waitForResult(*updates);
        QCOMPARE(updates->status(), QStringLiteral("Version 4.0 is available"));
        QCOMPARE(updates->downloadURL(), QStringLiteral("https://example.org/4"));
    }

    void replyThatNeverComesTimesOut()
    {
        m_server->serve("/version.json", FeedServer::Reply{200, {}, 0, true});
        QStringList statuses;
        auto updates = checker(&statuses);
        updates->setTimeout(1500ms);
        updates->check();
        QTest::qWait(300);
        QCOMPARE(updates->status(), QStringLiteral("Checking..."));
        QTRY_COMPARE_WITH_TIMEOUT(updates->status(), QStringLiteral("Could not check for updates"),
                                  5000);
        QCOMPARE(statuses, (QStringList{"Checking...", "Could not check for updates"}));
    }

    void nobodyListeningFails()
    {
        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost));
        const quint16 port = closed.serverPort();
        closed.close();
        qputenv("TRAYMATE_UPDATE_FEED",
                QByteArray("http://127.0.0.1:") + QByteArray::number(port) + "/version.json");
        auto updates = checker();
        updates->check();
        waitForResult(*updates);
        QCOMPARE(updates->status(), QStringLiteral("Could not check for updates"));
    }

    void overlappingChecksApplyInArrivalOrder()
    {
        m_server->serveJson("{\"version\":\"5.0\",\"url\":\"https://example.org/slow\"}", 1500);
        m_server->serveJson("{\"version\":\"1.0\",\"url\":\"https://example.org/fast\"}", 0);
        QStringList statuses;
        auto updates = checker(&statuses);
        updates->check();
        QTRY_COMPARE(m_server->requests().size(), 1);
        updates->check();
        QTRY_COMPARE(statuses.size(), 2);
        QCOMPARE(statuses.last(), QStringLiteral("You are up to date"));
        QCOMPARE(updates->downloadURL(), QStringLiteral("https://example.org/fast"));
        QTRY_COMPARE(statuses.size(), 3);
        QCOMPARE(statuses,
                 (QStringList{"Checking...", "You are up to date", "Version 5.0 is available"}));
        QCOMPARE(updates->latest(), std::optional<QString>("5.0"));
        QCOMPARE(updates->downloadURL(), QStringLiteral("https://example.org/slow"));
    }

    void fetchProgramThatCannotStartFails()
    {
        m_server->serveJson("{\"version\":\"9.0\",\"url\":\"https://example.org/9\"}", 0);
        auto updates = checker();
        updates->setFetchProgram(QStringLiteral("/nonexistent/traymate"));
        updates->check();
        waitForResult(*updates);
        QCOMPARE(updates->status(), QStringLiteral("Could not check for updates"));
        QCOMPARE(updates->latest(), std::nullopt);
    }

    void secureCheckLeavesNoTlsLibraryInThisProcess()
    {
        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost));
        const quint16 port = closed.serverPort();
        closed.close();
        qputenv("TRAYMATE_UPDATE_FEED",
                QByteArray("https://127.0.0.1:") + QByteArray::number(port) + "/version.json");
        auto updates = checker();
        updates->check();
        waitForResult(*updates);
        QCOMPARE(updates->status(), QStringLiteral("Could not check for updates"));
        QFile maps(QStringLiteral("/proc/self/maps"));
        QVERIFY(maps.open(QIODevice::ReadOnly));
        const QByteArray mapped = maps.readAll();
        QVERIFY2(!mapped.contains("libssl") && !mapped.contains("libcrypto"),
                 "the TLS libraries were loaded into the checking process");
    }

    void withoutAFetchingProgramEveryCheckFails()
    {
        m_server->serveJson("{\"version\":\"9.0\"}", 0);
        UpdateChecker updates;
        QStringList statuses;
        connect(&updates, &UpdateChecker::statusChanged, &updates,
                [&] { statuses.append(updates.status()); });
        updates.check();
        QTRY_COMPARE(statuses, QStringList({"Checking...", "Could not check for updates"}));
        QCOMPARE(updates.latest(), std::nullopt);
    }

    // A program in a build tree uses the fetching program built beside it; an installed one
    // uses the one installed with it, found from its own folder so that a moved installation
    // finds its own. A file beside it that cannot run does not count.
    void theFetchingProgramIsTheOneBesideTheProgramElseTheInstalledOne()
    {
        QTemporaryDir root;
        QVERIFY(root.isValid());
        const QDir folder(root.filePath(QStringLiteral("bin")));
        QVERIFY(folder.mkpath(QStringLiteral(".")));
        const QString installed = UpdateChecker::fetchProgramFor(folder.path());
        QVERIFY2(installed.startsWith(root.path() + QLatin1Char('/')), qPrintable(installed));
        QVERIFY2(!installed.startsWith(folder.path() + QLatin1Char('/')), qPrintable(installed));
        QVERIFY(installed.endsWith(QLatin1String("/traymate/traymate-fetch-feed")));

        QFile beside(folder.filePath(QStringLiteral("traymate-fetch-feed")));
        QVERIFY(beside.open(QIODevice::WriteOnly));
        beside.close();
        QCOMPARE(UpdateChecker::fetchProgramFor(folder.path()), installed);
        QVERIFY(beside.setPermissions(beside.permissions() | QFile::ExeOwner));
        QCOMPARE(UpdateChecker::fetchProgramFor(folder.path()), beside.fileName());
    }

    // It is run by this program only, but refuses what no check would ask rather than guess.
    void theFetchingProgramRefusesWhatNoCheckAsks_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("nothing") << QStringList();
        QTest::newRow("no timeout") << QStringList({"http://127.0.0.1:1/version.json"});
        QTest::newRow("timeout not a number") << QStringList({"http://127.0.0.1:1/v", "soon"});
        QTest::newRow("no time at all") << QStringList({"http://127.0.0.1:1/v", "0"});
        QTest::newRow("a file") << QStringList({"file:///etc/passwd", "1000"});
    }

    void theFetchingProgramRefusesWhatNoCheckAsks()
    {
        QFETCH(QStringList, arguments);
        QProcess fetch;
        fetch.start(QStringLiteral(TRAYMATE_FETCH_FEED), arguments);
        QVERIFY(fetch.waitForFinished(10000));
        QCOMPARE(fetch.exitStatus(), QProcess::NormalExit);
        QCOMPARE(fetch.exitCode(), 2);
        QCOMPARE(fetch.readAllStandardOutput(), QByteArray());
    }

    void invalidFeedAddressChangesNothing_data()
    {
        QTest::addColumn<QByteArray>("feed");
        QTest::newRow("no address") << QByteArray("not an address");
        QTest::newRow("local file") << QByteArray("file:///etc/version.json");
        QTest::newRow("no host") << QByteArray("https:///version.json");
    }

    void invalidFeedAddressChangesNothing()
    {
        QFETCH(QByteArray, feed);
        qputenv("TRAYMATE_UPDATE_FEED", feed);
        auto updates = checker();
        QSignalSpy status(updates.get(), &UpdateChecker::statusChanged);
        updates->check();
        QTest::qWait(50);
        QCOMPARE(status.count(), 0);
        QCOMPARE(updates->status(), QString());
    }
};

TRAYMATE_TEST_MAIN(UpdateCheckerTest)
#include "tst_update_checker.moc"
