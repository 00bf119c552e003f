// Plank itself, on a private X desktop and session bus: launchers written by the program come
// and go in the running dock, as its D-Bus interface reports.
#include "desktop_session.h"
#include "desktop_test_main.h"
#include "dock/dock_import.h"
#include "dock/launchers.h"
#include "dock/pinned_entries_dock.h"
#include "linux_dock_fixture.h"
#include "model/store.h"
#include "platform/linux/dock_choice.h"
#include "platform/linux/plank_entries.h"
#include "test_environment.h"

#include <QDBusInterface>
#include <QDBusReply>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>
#include <csignal>
#include <cstdio>
#include <sys/prctl.h>

using namespace DockTest;
using namespace LinuxDockTest;

namespace {

QString uriOf(const QString& path)
{
    return QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded);
}

} // namespace

class PlankLiveTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString system = dir.filePath("system");
    QString browser;
    QProcess plank;

    QStringList persistentApplications() const
    {
        QDBusInterface items("net.launchpad.plank", "/net/launchpad/plank/dock1",
                             "net.launchpad.plank.Items");
        const QDBusReply<QStringList> reply = items.call("GetPersistentApplications");
        return reply.isValid() ? reply.value() : QStringList();
    }

public:
    PlankLiveTest()
    {
        // Plank finds its own themes in the system's data folders.
        qputenv("XDG_DATA_DIRS", QFile::encodeName(system) + ":/usr/local/share:/usr/share");
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable("plank").isEmpty())
            QFAIL("plank is not installed (scripts/install-deps installs it)");
        browser = UsualApplications(system).browser;
        writeFile(PlankEntries::defaultFolder() + "/firefox-esr.dockitem",
                  "[PlankDockItemPreferences]\nLauncher=" + uriOf(browser).toUtf8() + "\n");
        QVERIFY(!plankIsRunning());

        plank.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
        plank.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        plank.setStandardOutputFile(QProcess::nullDevice());
        plank.start("plank", {});
        QVERIFY(plank.waitForStarted(5000));
        QTRY_VERIFY_WITH_TIMEOUT(persistentApplications().contains(uriOf(browser)), 20000);
        QVERIFY(plankIsRunning());
    }
    void cleanupTestCase()
    {
        if (plank.state() == QProcess::NotRunning)
            return;
        plank.terminate();
        if (!plank.waitForFinished(5000)) {
            plank.kill();
            plank.waitForFinished(2000);
        }
    }

    void launchersComeAndGoInTheRunningDock()
    {
        const ScopedDock<PinnedEntriesDock> dock(std::make_unique<PlankEntries>());
        AppGroup g;
        g.name = QStringLiteral("Work");
        const QString launcher = uriOf(Launchers::desktopEntryPath(g.id));

        Launchers::addToDock(g);
        QTRY_VERIFY_WITH_TIMEOUT(persistentApplications().contains(launcher), 10000);
        QCOMPARE(persistentApplications().first(), uriOf(browser));

        // A rename takes the item out and puts it back; Plank keeps it, once.
        AppGroup renamed = g;
        renamed.name = QStringLiteral("Play");
        Launchers::renamed(g, renamed);
        QTest::qWait(2000);
        QCOMPARE(persistentApplications().count(launcher), 1);
        QCOMPARE(DockImport::dockApps().last(), Launchers::bundleURL("Play"));

        Launchers::removed(renamed);
        QTRY_VERIFY_WITH_TIMEOUT(!persistentApplications().contains(launcher), 10000);
        QCOMPARE(persistentApplications(), QStringList{uriOf(browser)});
    }
};

// Runs itself again inside Xvfb and its own session bus, with settings in a key file under
// the test's own config folder, so Plank and the test share them and nothing real is touched.
TRAYMATE_DESKTOP_BUS_TEST_MAIN(PlankLiveTest, "GSETTINGS_BACKEND=keyfile")

#include "tst_plank_dock_live.moc"
