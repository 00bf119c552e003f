// Xfce's panel settings as xfconfd keeps them, with no panel running: a launcher's plugin and
// copy come and go with every other plugin and item left as it was, and locked or missing
// panels refuse. Runs on a private session bus with its own settings daemon.
#include "platform/linux/xfce_panel_entries.h"
#include "platform/linux/xfconf_channel.h"
#include "private_bus.h"
#include "test_environment.h"
#include "test_files.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <sys/prctl.h>

namespace {

QVariantList ints(std::initializer_list<int> values)
{
    QVariantList list;
    for (int value : values)
        list.append(value);
    return list;
}

bool daemonOnBus()
{
    return QDBusConnection::sessionBus().interface()->isServiceRegistered("org.xfce.Xfconf");
}

} // namespace

class XfcePanelSettingsTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString entry = dir.filePath("applications/traymate-group-1.desktop");
    QString browser = dir.filePath("applications/firefox-esr.desktop");
    QString panelFolder = XfcePanelEntries::defaultConfigFolder();
    QProcess daemon;
    XfconfChannel settings{XfcePanelEntries::channel};

    // Starts xfconfd with `systemFolder` as the administrator's settings.
    void startDaemon(const QString& systemFolder)
    {
        stopDaemon();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_CONFIG_DIRS", systemFolder);
        daemon.setProcessEnvironment(environment);
        daemon.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
        daemon.start(TRAYMATE_XFCONFD, {});
        QVERIFY(daemon.waitForStarted(5000));
        QTRY_VERIFY_WITH_TIMEOUT(daemonOnBus(), 10000);
    }
    void stopDaemon()
    {
        if (daemon.state() == QProcess::NotRunning)
            return;
        daemon.terminate();
        if (!daemon.waitForFinished(5000))
            daemon.kill();
        QTRY_VERIFY_WITH_TIMEOUT(!daemonOnBus(), 10000);
    }

    // A user's panel: the task list, a launcher of two items (the browser and, second, the
    // entry), and a clock.
    void writeUsersPanel()
    {
        settings.reset("/", true);
        QVERIFY(settings.set("/panels", ints({1})));
        QVERIFY(settings.set("/panels/panel-1/plugin-ids", ints({1, 2, 3})));
        QVERIFY(settings.set("/plugins/plugin-1", "tasklist"));
        QVERIFY(settings.set("/plugins/plugin-2", "launcher"));
        QVERIFY(
            settings.set("/plugins/plugin-2/items", QVariantList{"16700000001.desktop", entry}));
        QVERIFY(settings.set("/plugins/plugin-3", "clock"));
        QVERIFY(
            writeFile(panelFolder + "/launcher-2/16700000001.desktop",
                      "[Desktop Entry]\nType=Application\nName=Firefox\nExec=true\nX-XFCE-Source=" +
                          QUrl::fromLocalFile(browser).toEncoded() + "\n"));
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(writeFile(entry, "[Desktop Entry]\nType=Application\nName=Work\nExec=true\n"));
        QVERIFY(writeFile(browser, "[Desktop Entry]\nType=Application\nName=Firefox\nExec=true\n"));
        startDaemon(dir.filePath("no-system"));
    }
    void cleanupTestCase() { stopDaemon(); }

    void withoutAPanelNothingIsPinned()
    {
        XfcePanelEntries panel;
        QCOMPARE(panel.entries(), QStringList());
        QVERIFY(!panel.pin(entry));
        QCOMPARE(settings.properties(), QVariantMap());
        QVERIFY(!QFileInfo::exists(panelFolder));
    }

    void aLauncherComesAndGoesAloneAndOthersKeepTheirItems()
    {
        writeUsersPanel();
        XfcePanelEntries panel;
        QCOMPARE(panel.entries(), QStringList({browser, entry}));
        const QVariantMap before = *settings.properties();

        // Pinned already, as the second item of the user's launcher: nothing is added.
        QVERIFY(panel.pin(entry));
        QCOMPARE(*settings.properties(), before);

        // Unpinned: that launcher keeps its other item and its place.
        QVERIFY(panel.unpin(entry));
        QVariantMap expected = before;
        expected["/plugins/plugin-2/items"] = QVariantList{"16700000001.desktop"};
        QCOMPARE(*settings.properties(), expected);

        // Pinned again: a launcher of its own after the user's, with a copy that remembers it.
        QVERIFY(panel.pin(entry));
        QCOMPARE(settings.properties()->value("/panels/panel-1/plugin-ids"), ints({1, 2, 4, 3}));
        QCOMPARE(settings.properties()->value("/plugins/plugin-4"), QVariant("launcher"));
        QCOMPARE(settings.properties()->value("/plugins/plugin-4/items"),
                 QVariantList{"traymate-group-1.desktop"});
        const QByteArray copy = readFile(panelFolder + "/launcher-4/traymate-group-1.desktop");
        QVERIFY(copy.contains("Name=Work"));
        QVERIFY(
            copy.contains(QByteArray("X-XFCE-Source=" + QUrl::fromLocalFile(entry).toEncoded())));
        QCOMPARE(panel.entries(), QStringList({browser, entry}));

        // Its copy still stands for it once the entry is gone.
        QFile::remove(entry);
        QVERIFY(panel.unpin(entry));
        QCOMPARE(*settings.properties(), expected);
        QVERIFY(!QFileInfo::exists(panelFolder + "/launcher-4"));
        QVERIFY(QFileInfo::exists(panelFolder + "/launcher-2/16700000001.desktop"));
        QVERIFY(writeFile(entry, "[Desktop Entry]\nType=Application\nName=Work\nExec=true\n"));
    }

    void lockedPanelsRefuse()
    {
        // The administrator locks the panel list for everyone but a user who is not there; the
        // user's own settings stay below it.
        const QString system = dir.filePath("locked");
        QVERIFY(writeFile(system + "/xfce4/xfconf/xfce-perchannel-xml/xfce4-panel.xml",
                          "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
                          "<channel name=\"xfce4-panel\" version=\"1.0\">"
                          "<property name=\"panels\" type=\"array\" unlocked=\"no-such-user\">"
                          "<value type=\"int\" value=\"1\"/>"
                          "<property name=\"panel-1\" type=\"empty\" unlocked=\"no-such-user\">"
                          "<property name=\"plugin-ids\" type=\"array\" unlocked=\"no-such-user\">"
                          "<value type=\"int\" value=\"1\"/><value type=\"int\" value=\"2\"/>"
                          "<value type=\"int\" value=\"3\"/></property></property></property>"
                          "</channel>"));
        // The user's panel as xfconfd stores it, written while no daemon runs.
        stopDaemon();
        QVERIFY(writeFile(qEnvironmentVariable("XDG_CONFIG_HOME") +
                              "/xfce4/xfconf/xfce-perchannel-xml/xfce4-panel.xml",
                          "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
                          "<channel name=\"xfce4-panel\" version=\"1.0\">"
                          "<property name=\"plugins\" type=\"empty\">"
                          "<property name=\"plugin-1\" type=\"string\" value=\"tasklist\"/>"
                          "<property name=\"plugin-2\" type=\"string\" value=\"launcher\">"
                          "<property name=\"items\" type=\"array\">"
                          "<value type=\"string\" value=\"16700000001.desktop\"/>"
                          "<value type=\"string\" value=\"" +
                              entry.toUtf8() +
                              "\"/></property></property>"
                              "<property name=\"plugin-3\" type=\"string\" value=\"clock\"/>"
                              "</property></channel>"));
        startDaemon(system);
        XfcePanelEntries panel;
        QCOMPARE(panel.entries().value(), QStringList({browser, entry}));
        const QVariantMap before = *settings.properties();
        const QString other = dir.filePath("applications/other.desktop");
        QVERIFY(writeFile(other, "[Desktop Entry]\nType=Application\nName=Other\nExec=true\n"));
        QVERIFY(!panel.pin(other));
        QVERIFY(!panel.unpin(entry));
        QCOMPARE(*settings.properties(), before);
        QCOMPARE(QDir(panelFolder).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
                 QStringList{"launcher-2"});
    }
};

// Runs itself again on a private session bus.
TRAYMATE_PRIVATE_BUS_TEST_MAIN(XfcePanelSettingsTest, QCoreApplication)

#include "tst_xfce_panel_settings.moc"
