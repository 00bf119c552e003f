// MATE's own panel on a private X desktop and session bus, its settings in a key file of the
// test's own: launchers the program adds come, survive a rename once and go, as gsettings
// reports, and the user's other panel objects stay as they were.
#include "desktop_session.h"
#include "desktop_test_main.h"
#include "dock/dock.h"
#include "dock/dock_import.h"
#include "dock/launchers.h"
#include "dock/pinned_entries_dock.h"
#include "linux_dock_fixture.h"
#include "model/store.h"
#include "platform/linux/mate_panel_entries.h"
#include "test_environment.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <csignal>
#include <cstdio>
#include <sys/prctl.h>

using namespace DockTest;
using namespace LinuxDockTest;

namespace {

// What the gsettings tool prints for a key.
QString gsettings(const QStringList& arguments)
{
    QProcess tool;
    tool.start("gsettings", arguments);
    if (!tool.waitForFinished(10000) || tool.exitCode() != 0)
        return {};
    return QString::fromUtf8(tool.readAllStandardOutput()).trimmed();
}

QString objectKey(const QString& id, const QString& key)
{
    return gsettings({"get", "org.mate.panel.object:/org/mate/panel/objects/" + id + "/", key});
}

bool setObjectKey(const QString& id, const QString& key, const QString& value)
{
    QProcess tool;
    tool.start("gsettings",
               {"set", "org.mate.panel.object:/org/mate/panel/objects/" + id + "/", key, value});
    return tool.waitForFinished(10000) && tool.exitCode() == 0;
}

// The ids in "object-id-list", read through the tool.
QStringList objectIds()
{
    QString list = gsettings({"get", "org.mate.panel", "object-id-list"});
    list.remove('[').remove(']').remove('\'').remove(' ');
    return list.split(',', Qt::SkipEmptyParts);
}

QString quoted(const QString& text)
{
    return "'" + text + "'";
}

} // namespace

class MatePanelLiveTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString system = dir.filePath("system");
    std::unique_ptr<UsualApplications> apps;
    QProcess panel;
    // Every object with its type, panel, position and launcher once the user's are in.
    QMap<QString, QStringList> before;

    static QMap<QString, QStringList> layout()
    {
        QMap<QString, QStringList> seen;
        for (const QString& id : objectIds()) {
            seen.insert(id, {objectKey(id, "object-type"), objectKey(id, "toplevel-id"),
                             objectKey(id, "position"), objectKey(id, "launcher-location")});
        }
        return seen;
    }

    static QStringList launchersOf(const QString& entry)
    {
        QStringList found;
        for (const QString& id : objectIds()) {
            if (objectKey(id, "object-type") == "'launcher'" &&
                objectKey(id, "launcher-location") == quoted(entry))
                found.append(id);
        }
        return found;
    }

    // The user's own launchers, as mate-panel's "Add to panel" writes them.
    void addUsersLauncher(const QString& id, const QString& toplevel, int position,
                          const QString& location)
    {
        QVERIFY(setObjectKey(id, "object-type", "'launcher'"));
        QVERIFY(setObjectKey(id, "toplevel-id", quoted(toplevel)));
        QVERIFY(setObjectKey(id, "position", QString::number(position)));
        QVERIFY(setObjectKey(id, "launcher-location", quoted(location)));
        QStringList ids = objectIds();
        ids.append(id);
        for (QString& each : ids)
            each = quoted(each);
        QCOMPARE(gsettings({"set", "org.mate.panel", "object-id-list", "[" + ids.join(", ") + "]"}),
                 QString());
    }

public:
    MatePanelLiveTest()
    {
        qputenv("XDG_DATA_DIRS", QFile::encodeName(system) + ":/usr/local/share:/usr/share");
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable("mate-panel").isEmpty())
            QFAIL("mate-panel is not installed (scripts/install-deps installs it)");
        apps = std::make_unique<UsualApplications>(system);

        panel.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
        panel.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        panel.setStandardOutputFile(QProcess::nullDevice());
        panel.start("mate-panel", {});
        QVERIFY(panel.waitForStarted(5000));
        // On its first start mate-panel lays out its two default panels.
        QTRY_VERIFY_WITH_TIMEOUT(objectIds().size() >= 4, 30000);
        QTest::qWait(1000);
        // The bottom panel holds the window list.
        addUsersLauncher("user-browser", "bottom", 400, apps->browser);
        addUsersLauncher("user-gone", "bottom", 410, system + "/applications/gone.desktop");
        addUsersLauncher("user-editor", "top", 300, apps->editor);
        QTest::qWait(1500);
        before = layout();
        QVERIFY(before.contains("user-browser"));
    }
    void cleanupTestCase()
    {
        if (panel.state() == QProcess::NotRunning)
            return;
        panel.terminate();
        if (!panel.waitForFinished(5000)) {
            panel.kill();
            panel.waitForFinished(2000);
        }
    }

    void theDesktopChoosesMatesPanel()
    {
        const std::unique_ptr<Dock> dock = makePlatformDock();
        auto* pinned = dynamic_cast<PinnedEntriesDock*>(dock.get());
        QVERIFY(pinned);
        auto* mate = dynamic_cast<MatePanelEntries*>(&pinned->entries());
        QVERIFY(mate && mate->isAvailable());
    }

    void importReadsThePinnedApplicationsInOrder()
    {
        Dock::setCurrent(makePlatformDock());
        // The panel list has the top panel first; the gone entry is left out.
        QCOMPARE(DockImport::dockApps(), QStringList({apps->editor, apps->browser}));
    }

    void aLauncherComesSurvivesARenameOnceAndGoes()
    {
        Dock::setCurrent(makePlatformDock());
        AppGroup g;
        g.name = QStringLiteral("Work");
        const QString entry = Launchers::desktopEntryPath(g.id);

        Launchers::addToDock(g);
        QCOMPARE(launchersOf(entry).size(), 1);
        const QString id = launchersOf(entry).constFirst();
        // On the panel with the window list, after the user's last launcher there.
        QCOMPARE(objectKey(id, "toplevel-id"), QStringLiteral("'bottom'"));
        QCOMPARE(objectKey(id, "position"), QStringLiteral("411"));
        // mate-panel keeps an object it could load.
        QTest::qWait(1500);
        QCOMPARE(launchersOf(entry), QStringList{id});
        QVERIFY(panel.state() == QProcess::Running);
        QCOMPARE(DockImport::dockApps().count(Launchers::bundleURL("Work")), 1);

        AppGroup renamed = g;
        renamed.name = QStringLiteral("Play");
        Launchers::renamed(g, renamed);
        QTest::qWait(1500);
        QCOMPARE(launchersOf(entry).size(), 1);
        QCOMPARE(DockImport::dockApps().count(Launchers::bundleURL("Play")), 1);
        QCOMPARE(DockImport::dockApps().count(Launchers::bundleURL("Work")), 0);

        Launchers::removed(renamed);
        QTest::qWait(1500);
        QCOMPARE(layout(), before);
        QVERIFY(panel.state() == QProcess::Running);
    }

    void aLockedDownPanelChangesNothing()
    {
        Dock::setCurrent(makePlatformDock());
        QCOMPARE(gsettings({"set", "org.mate.panel", "locked-down", "true"}), QString());
        // The key file's change reaches this process through its event loop.
        QTest::qWait(1000);
        AppGroup g;
        g.name = QStringLiteral("Locked");
        Launchers::addToDock(g);
        QVERIFY(QFileInfo::exists(Launchers::desktopEntryPath(g.id)));
        QCOMPARE(layout(), before);
        QVERIFY(!Dock::current().removeItems(apps->browser));
        QCOMPARE(layout(), before);
        QCOMPARE(gsettings({"set", "org.mate.panel", "locked-down", "false"}), QString());
    }
};

// Runs itself again inside Xvfb and its own session bus, as a MATE session whose settings are
// a key file in the test's config folder, shared by the panel, the gsettings tool and the test.
TRAYMATE_DESKTOP_BUS_TEST_MAIN(MatePanelLiveTest, "XDG_CURRENT_DESKTOP=MATE",
                               "GSETTINGS_BACKEND=keyfile")

#include "tst_mate_panel_live.moc"
