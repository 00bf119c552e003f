// Xfce's own panel and settings daemon on a private X desktop and session bus: launchers the
// program adds come, survive a rename once and go, as xfconf-query reports, and the user's
// other launchers stay as they were.
#include "desktop_session.h"
#include "desktop_test_main.h"
#include "dock/dock.h"
#include "dock/dock_import.h"
#include "dock/launchers.h"
#include "dock/pinned_entries_dock.h"
#include "linux_dock_fixture.h"
#include "model/store.h"
#include "platform/linux/xfce_panel_entries.h"
#include "test_environment.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
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

const QString kPanel = QStringLiteral("org.xfce.Panel");

QString uriOf(const QString& path)
{
    return QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded);
}

// The value of a property as xfconf-query prints it: one line per item of an array.
QStringList query(const QString& property)
{
    QProcess tool;
    tool.start("xfconf-query", {"-c", "xfce4-panel", "-p", property});
    if (!tool.waitForFinished(10000) || tool.exitCode() != 0)
        return {};
    QStringList lines = QString::fromUtf8(tool.readAllStandardOutput()).split('\n');
    lines.removeAll(QString());
    if (!lines.isEmpty() && lines.first().startsWith("Value is an array"))
        lines.removeFirst();
    return lines;
}

// A copy in a launcher's folder, as the panel makes one.
QByteArray copyOf(const QString& source, const QByteArray& name)
{
    return "[Desktop Entry]\nType=Application\nName=" + name +
           "\nExec=true\nX-XFCE-Source=" + uriOf(source).toUtf8() + "\n";
}

QByteArray arrayXml(const char* name, const char* type, const QStringList& values)
{
    QByteArray xml = QByteArray("<property name=\"") + name + "\" type=\"array\">";
    for (const QString& value : values)
        xml += QByteArray("<value type=\"") + type + "\" value=\"" + value.toUtf8() + "\"/>";
    return xml + "</property>";
}

QByteArray pluginXml(int id, const char* type, const QStringList& items = {})
{
    QByteArray xml = "<property name=\"plugin-" + QByteArray::number(id) + "\" type=\"string\" " +
                     "value=\"" + type + "\">";
    if (!items.isEmpty())
        xml += arrayXml("items", "string", items);
    return xml + "</property>";
}

} // namespace

class XfcePanelLiveTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString system = dir.filePath("system");
    QString panelFolder = XfcePanelEntries::defaultConfigFolder();
    std::unique_ptr<UsualApplications> apps;
    QProcess settingsDaemon;
    QProcess panel;
    // Every panel's plugins and every launcher's items once the panel has settled.
    QMap<QString, QStringList> before;

    static uint panelProcess()
    {
        QDBusConnectionInterface* bus = QDBusConnection::sessionBus().interface();
        if (!bus || !bus->isServiceRegistered(kPanel).value())
            return 0;
        return bus->servicePid(kPanel).value();
    }

    static QMap<QString, QStringList> layout()
    {
        QMap<QString, QStringList> seen;
        for (const QString& panelId : query("/panels")) {
            const QString ids = "/panels/panel-" + panelId + "/plugin-ids";
            seen.insert(ids, query(ids));
            for (const QString& plugin : seen[ids]) {
                const QString base = "/plugins/plugin-" + plugin;
                seen.insert(base, query(base));
                seen.insert(base + "/items", query(base + "/items"));
            }
        }
        return seen;
    }

    // The launchers on the panels whose items name `name`.
    static QStringList launchersHolding(const QString& name)
    {
        QStringList found;
        const QMap<QString, QStringList> now = layout();
        for (auto it = now.cbegin(); it != now.cend(); ++it) {
            if (it.key().endsWith("/items") && it.value().contains(name))
                found.append(it.key().section('/', 2, 2).mid(int(qstrlen("plugin-"))));
        }
        return found;
    }

    // Waits for the panel to run again after `previous` and to have read its settings.
    static bool panelRestartedSince(uint previous)
    {
        return DesktopSession::waitFor(
            [&] {
                const uint now = panelProcess();
                return now != 0 && now != previous;
            },
            20000);
    }

    // The user's two panels: the top one with the task list and two launchers (one of two
    // items), the bottom one with a launcher whose source entry is gone and one for a game.
    void writeUsersPanels()
    {
        writeFile(panelFolder + "/launcher-3/16700000001.desktop",
                  copyOf(apps->browser, "Firefox ESR"));
        writeFile(panelFolder + "/launcher-4/16700000002.desktop",
                  copyOf(apps->terminal, "Konsole"));
        writeFile(panelFolder + "/launcher-4/16700000003.desktop", copyOf(apps->editor, "Code"));
        writeFile(panelFolder + "/launcher-8/16700000004.desktop",
                  copyOf(system + "/applications/gone.desktop", "Gone"));
        const QByteArray xml =
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
            "<channel name=\"xfce4-panel\" version=\"1.0\">"
            "<property name=\"configver\" type=\"int\" value=\"2\"/>"
            "<property name=\"panels\" type=\"array\">"
            "<value type=\"int\" value=\"1\"/><value type=\"int\" value=\"2\"/>"
            "<property name=\"panel-1\" type=\"empty\">"
            "<property name=\"position\" type=\"string\" value=\"p=6;x=0;y=0\"/>"
            "<property name=\"length\" type=\"uint\" value=\"100\"/>"
            "<property name=\"size\" type=\"uint\" value=\"30\"/>" +
            arrayXml("plugin-ids", "int", {"1", "2", "3", "4", "5", "6"}) +
            "</property>"
            "<property name=\"panel-2\" type=\"empty\">"
            "<property name=\"position\" type=\"string\" value=\"p=10;x=0;y=0\"/>"
            "<property name=\"size\" type=\"uint\" value=\"48\"/>" +
            arrayXml("plugin-ids", "int", {"7", "8", "9"}) +
            "</property></property>"
            "<property name=\"plugins\" type=\"empty\">" +
            pluginXml(1, "applicationsmenu") + pluginXml(2, "tasklist") +
            pluginXml(3, "launcher", {"16700000001.desktop"}) +
            pluginXml(4, "launcher", {"16700000002.desktop", "16700000003.desktop"}) +
            pluginXml(5, "separator") + pluginXml(6, "clock") + pluginXml(7, "showdesktop") +
            pluginXml(8, "launcher", {"16700000004.desktop"}) +
            pluginXml(9, "launcher", {apps->game}) + "</property></channel>";
        writeFile(qEnvironmentVariable("XDG_CONFIG_HOME") +
                      "/xfce4/xfconf/xfce-perchannel-xml/xfce4-panel.xml",
                  xml);
    }

public:
    XfcePanelLiveTest()
    {
        qputenv("XDG_DATA_DIRS", QFile::encodeName(system) + ":/usr/local/share:/usr/share");
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable("xfce4-panel").isEmpty() ||
            QStandardPaths::findExecutable("xfconf-query").isEmpty())
            QFAIL("xfce4-panel or xfconf is not installed (scripts/install-deps installs them)");
        apps = std::make_unique<UsualApplications>(system);
        writeUsersPanels();

        // The bus would start the daemon with the environment of the test's outer run; started
        // here it reads this run's config folder.
        settingsDaemon.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
        settingsDaemon.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        settingsDaemon.start(TRAYMATE_XFCONFD, {});
        QVERIFY(settingsDaemon.waitForStarted(5000));
        QVERIFY(DesktopSession::waitFor(
            [] {
                return QDBusConnection::sessionBus().interface()->isServiceRegistered(
                    "org.xfce.Xfconf");
            },
            10000));

        panel.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
        panel.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        panel.setStandardOutputFile(QProcess::nullDevice());
        panel.start("xfce4-panel", {"--disable-wm-check"});
        QVERIFY(panel.waitForStarted(5000));
        QVERIFY(DesktopSession::waitFor([] { return panelProcess() != 0; }, 20000));
        // The panel turns the game's path into a copy of its own, then saves.
        QTRY_VERIFY_WITH_TIMEOUT(query("/plugins/plugin-9/items") != QStringList{apps->game},
                                 20000);
        QTest::qWait(1000);
        before = layout();
        QCOMPARE(before["/panels/panel-1/plugin-ids"], QStringList({"1", "2", "3", "4", "5", "6"}));
    }
    void cleanupTestCase()
    {
        // The panel restarts itself as a process of its own: end that one by its id.
        if (const uint pid = panelProcess(); pid != 0 && pid != uint(panel.processId()))
            ::kill(pid_t(pid), SIGTERM);
        for (QProcess* process : {&panel, &settingsDaemon}) {
            if (process->state() == QProcess::NotRunning)
                continue;
            process->terminate();
            if (!process->waitForFinished(5000))
                process->kill();
        }
    }

    void theDesktopChoosesXfcesPanel()
    {
        const std::unique_ptr<Dock> dock = makePlatformDock();
        auto* pinned = dynamic_cast<PinnedEntriesDock*>(dock.get());
        QVERIFY(pinned);
        QVERIFY(dynamic_cast<XfcePanelEntries*>(&pinned->entries()));
    }

    void importReadsThePinnedApplicationsInOrder()
    {
        Dock::setCurrent(makePlatformDock());
        // The gone entry's copy still starts it; the game is the panel's copy of it.
        const QStringList dockApps = DockImport::dockApps();
        QCOMPARE(dockApps.mid(0, 3), QStringList({apps->browser, apps->terminal, apps->editor}));
        QCOMPARE(dockApps.size(), 5);
        QCOMPARE(dockApps[4], apps->game);
        QVERIFY(dockApps[3].startsWith(panelFolder + "/launcher-8/"));

        Store store(dir.filePath("store"));
        DockImport::importDockGrouped(store);
        QStringList names;
        for (const AppGroup& g : store.groups())
            names.append(g.name);
        QVERIFY2(names.contains("Internet") && names.contains("Games") &&
                     names.contains("Developer Tools"),
                 qPrintable(names.join(", ")));
    }

    void aLauncherComesSurvivesARenameOnceAndGoes()
    {
        Dock::setCurrent(makePlatformDock());
        AppGroup g;
        g.name = QStringLiteral("Work");
        const QString entry = Launchers::desktopEntryPath(g.id);
        const QString name = QFileInfo(entry).fileName();

        uint running = panelProcess();
        Launchers::addToDock(g);
        QCOMPARE(launchersHolding(name).size(), 1);
        const QString id = launchersHolding(name).constFirst();
        // On the panel with the task list, after its last launcher.
        QCOMPARE(query("/panels/panel-1/plugin-ids"),
                 QStringList({"1", "2", "3", "4", id, "5", "6"}));
        QCOMPARE(query("/plugins/plugin-" + id), QStringList{"launcher"});
        QVERIFY(panelRestartedSince(running));
        // The panel kept it after reading it back.
        QTest::qWait(1500);
        QCOMPARE(launchersHolding(name), QStringList{id});
        const QString copy = panelFolder + "/launcher-" + id + "/" + name;
        QVERIFY(readAll(copy).contains(
            QByteArray(QByteArray("X-XFCE-Source=") + uriOf(entry).toUtf8())));
        QCOMPARE(DockImport::dockApps().count(Launchers::bundleURL("Work")), 1);

        AppGroup renamed = g;
        renamed.name = QStringLiteral("Play");
        running = panelProcess();
        Launchers::renamed(g, renamed);
        QVERIFY(panelRestartedSince(running));
        QTest::qWait(1500);
        const QStringList holding = launchersHolding(name);
        QCOMPARE(holding.size(), 1);
        // The copy says what the launcher now is.
        const QByteArray renamedCopy =
            readAll(panelFolder + "/launcher-" + holding.constFirst() + "/" + name);
        QVERIFY(renamedCopy.contains("Name=Play"));
        QCOMPARE(DockImport::dockApps().count(Launchers::bundleURL("Play")), 1);
        QCOMPARE(DockImport::dockApps().count(Launchers::bundleURL("Work")), 0);

        running = panelProcess();
        Launchers::removed(renamed);
        QVERIFY(panelRestartedSince(running));
        QTest::qWait(1500);
        QCOMPARE(layout(), before);
        QVERIFY(!QFileInfo::exists(panelFolder + "/launcher-" + holding.constFirst()));
        QVERIFY(QFileInfo::exists(panelFolder + "/launcher-8/16700000004.desktop"));
    }
};

// Runs itself again inside Xvfb and its own session bus, as an Xfce session, so the panel, its
// settings daemon and the test share them and nothing real is touched.
TRAYMATE_DESKTOP_BUS_TEST_MAIN(XfcePanelLiveTest, "XDG_CURRENT_DESKTOP=XFCE")

#include "tst_xfce_panel_live.moc"
