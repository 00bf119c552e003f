#include "desktop_session.h"
#include "named_controls.h"
#include "screen_reader_bus.h"
#include "session_bus.h"
#include "test_environment.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace {

constexpr int patience = 15000; // ms; xfce4-panel and its xfconfd start on demand

const QString watcher = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString workId = QStringLiteral("5A1B2C3D-4E5F-4071-8293-A4B5C6D7E8F9");
const QString playId = QStringLiteral("6B1B2C3D-4E5F-4071-8293-A4B5C6D7E8F9");

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// One entry of an exported menu: "-" for a separator; hidden entries are left out.
struct MenuEntry {
    int id = 0;
    QString label;
};

void readChildren(const QDBusArgument& layout, QList<MenuEntry>& entries, bool root)
{
    int id = 0;
    QVariantMap properties;
    layout.beginStructure();
    layout >> id >> properties;
    if (!root && properties.value(QStringLiteral("visible"), true).toBool())
        entries.append(
            {id, properties.value(QStringLiteral("type")).toString() == QLatin1String("separator")
                     ? QStringLiteral("-")
                     : properties.value(QStringLiteral("label")).toString()});
    layout.beginArray();
    while (!layout.atEnd()) {
        QDBusVariant child;
        layout >> child;
        readChildren(child.variant().value<QDBusArgument>(), entries, false);
    }
    layout.endArray();
    layout.endStructure();
}

} // namespace

// The tray icon on a real StatusNotifierItem host: Xfce's panel, whose systray plugin is the
// watcher, a host and an XEmbed tray at once, on Xvfb with openbox and a private session bus.
// The steps build on each other and run in order.
class TrayHosts : public QObject {
    Q_OBJECT

    DesktopSession m_desktop;
    SessionBus m_bus;
    ScreenReaderBus m_screenReader;
    std::unique_ptr<QProcess> m_traymate;
    std::unique_ptr<QProcess> m_xfcePanel;

    static QString data() { return qEnvironmentVariable("XDG_DATA_HOME"); }

    QProcessEnvironment environment() const
    {
        QProcessEnvironment environment = m_desktop.environment();
        environment.insert("DBUS_SESSION_BUS_ADDRESS", m_bus.address());
        environment.insert("XDG_SESSION_TYPE", "x11");
        environment.insert("TRAYMATE_DOCK", "file");
        environment.remove("XDG_CURRENT_DESKTOP");
        environment.remove("DESKTOP_SESSION");
        return environment;
    }
    // The program's, which also shows its widgets to a screen reader, so the test finds them.
    QProcessEnvironment traymateEnvironment() const
    {
        QProcessEnvironment environment = this->environment();
        m_screenReader.addTo(environment);
        return environment;
    }
    QDBusConnection bus() const
    {
        return QDBusConnection::connectToBus(m_bus.address(), "tray-hosts-test");
    }
    QVariant watcherProperty(const QString& name) const
    {
        QDBusMessage get = QDBusMessage::createMethodCall(watcher, "/StatusNotifierWatcher",
                                                          "org.freedesktop.DBus.Properties", "Get");
        get << watcher << name;
        const QDBusMessage reply = bus().call(get, QDBus::Block, 2000);
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
            return {};
        return qvariant_cast<QDBusVariant>(reply.arguments().constFirst()).variant();
    }
    // The bus name under which the program's item is registered with the watcher, or none.
    QString traymateItem() const
    {
        for (const QString& item :
             watcherProperty("RegisteredStatusNotifierItems").toStringList()) {
            const QString service = item.section(QLatin1Char('/'), 0, 0);
            if (bus().interface()->servicePid(service).value() == m_traymate->processId())
                return service;
        }
        return {};
    }
    // A window of the program's embedded in Xfce's panel: the icon came as XEmbed.
    bool embeddedInXfcePanel() const
    {
        for (const xcb_window_t window : m_desktop.windowsTitled("Traymate")) {
            for (xcb_window_t up = m_desktop.parentOf(window); up && up != m_desktop.root();
                 up = m_desktop.parentOf(up)) {
                if (m_desktop.classOf(up).join(' ').toLower().contains("xfce4-panel"))
                    return true;
            }
        }
        return false;
    }

    xcb_window_t panel() const { return m_desktop.clientTitled("Traymate"); }
    bool panelShown() const { return m_desktop.isViewable(panel()); }
    bool waitShown(bool shown) const
    {
        return DesktopSession::waitFor([&] { return panelShown() == shown; }, patience);
    }
    void hidePanel()
    {
        QVERIFY(m_desktop.xdotool({"windowactivate", "--sync", QString::number(panel())}));
        QVERIFY(m_desktop.xdotool({"key", "Escape"}));
        QVERIFY(waitShown(false));
    }

    void startTraymate()
    {
        m_traymate = std::make_unique<QProcess>();
        m_traymate->setProcessEnvironment(traymateEnvironment());
        m_traymate->setProcessChannelMode(QProcess::ForwardedChannels);
        m_traymate->start(TRAYMATE_PROGRAM, QStringList());
        QVERIFY(m_traymate->waitForStarted());
        QVERIFY2(DesktopSession::waitFor(
                     [&] { return !m_desktop.windowsTitled("Traymate").empty(); }, patience),
                 "the program made no window");
    }
    void startXfcePanel()
    {
        m_xfcePanel = std::make_unique<QProcess>();
        m_xfcePanel->setProcessEnvironment(environment());
        m_xfcePanel->setStandardOutputFile(QProcess::nullDevice());
        m_xfcePanel->setStandardErrorFile(QProcess::nullDevice());
        m_xfcePanel->start("xfce4-panel", {"--disable-wm-check"});
        QVERIFY(m_xfcePanel->waitForStarted());
        QVERIFY2(DesktopSession::waitFor(
                     [&] { return watcherProperty("IsStatusNotifierHostRegistered").toBool(); },
                     patience),
                 "xfce4-panel registered no StatusNotifierItem host");
    }

    QList<MenuEntry> exportedMenu(const QString& item) const
    {
        QDBusMessage get =
            QDBusMessage::createMethodCall(item, "/MenuBar", "com.canonical.dbusmenu", "GetLayout");
        get << 0 << -1 << QStringList();
        const QDBusMessage reply = bus().call(get, QDBus::Block, 2000);
        QList<MenuEntry> entries;
        if (reply.type() == QDBusMessage::ReplyMessage && reply.arguments().size() == 2)
            readChildren(reply.arguments().at(1).value<QDBusArgument>(), entries, true);
        return entries;
    }
    static QStringList labels(const QList<MenuEntry>& entries)
    {
        QStringList result;
        for (const MenuEntry& entry : entries)
            result << entry.label;
        return result;
    }
    bool clickMenuEntry(const QString& item, const QString& label) const
    {
        for (const MenuEntry& entry : exportedMenu(item)) {
            if (entry.label != label)
                continue;
            QDBusMessage event =
                QDBusMessage::createMethodCall(item, "/MenuBar", "com.canonical.dbusmenu", "Event");
            event << entry.id << QStringLiteral("clicked") << QVariant::fromValue(QDBusVariant(0))
                  << 0u;
            return bus().call(event, QDBus::Block, 2000).type() == QDBusMessage::ReplyMessage;
        }
        return false;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(!QStandardPaths::findExecutable("xfce4-panel").isEmpty(),
                 "xfce4-panel is missing (scripts/install-deps installs it)");
        QString error;
        DesktopSession::Pieces pieces;
        pieces.tray = false;
        pieces.compositor = false;
        QVERIFY2(m_desktop.start(&error, pieces), qPrintable(error));
        // xfconfd, which holds the panel's settings, is started by the bus on demand.
        QVERIFY2(m_bus.start(true, environment(), QString(), &error), qPrintable(error));
        QVERIFY2(m_screenReader.startOnSessionBus(environment(), &error), qPrintable(error));
        QVERIFY(writeFile(qEnvironmentVariable("XDG_CONFIG_HOME") + "/Traymate/Traymate.ini",
                          "[General]\ndidFirstImport=true\n"));
        // Each group's only tile writes its own marker, so a click shows which group is shown.
        const QString desktopEntry = QStringLiteral("[Desktop Entry]\nType=Application\n"
                                                    "Name=%1\nExec=touch %2\n");
        const QString markers = qEnvironmentVariable("HOME");
        QVERIFY(writeFile(data() + "/applications/work.desktop",
                          desktopEntry.arg("Work Thing", markers + "/work").toUtf8()));
        QVERIFY(writeFile(data() + "/applications/play.desktop",
                          desktopEntry.arg("Play Thing", markers + "/play").toUtf8()));
        QVERIFY(writeFile(data() + "/Traymate/groups.json",
                          QStringLiteral(R"([{"id": "%1", "name": "Work", "apps": ["%3"]},)"
                                         R"( {"id": "%2", "name": "Play", "apps": ["%4"]}])")
                              .arg(workId, playId, data() + "/applications/work.desktop",
                                   data() + "/applications/play.desktop")
                              .toUtf8()));
    }

    void cleanupTestCase()
    {
        for (auto* process : {m_traymate.get(), m_xfcePanel.get()}) {
            if (process && process->state() != QProcess::NotRunning) {
                process->kill();
                process->waitForFinished(patience);
            }
        }
        QDBusConnection::disconnectFromBus("tray-hosts-test");
    }

    void aPanelStartedLaterGetsAStatusNotifierItem()
    {
        startTraymate();
        QTest::qWait(2000); // a login where the program is quicker than the panel
        QVERIFY(!bus().interface()->isServiceRegistered(watcher));
        startXfcePanel();
        QVERIFY2(DesktopSession::waitFor([&] { return !traymateItem().isEmpty(); }, patience),
                 "the program registered no StatusNotifierItem with the later panel");
        QTest::qWait(500);
        QVERIFY2(!embeddedInXfcePanel(), "the icon came as XEmbed too");
    }

    void activateOpensTheFullPanel()
    {
        QDBusMessage activate = QDBusMessage::createMethodCall(
            traymateItem(), "/StatusNotifierItem", "org.kde.StatusNotifierItem", "Activate");
        activate << 0 << 0;
        QCOMPARE(bus().call(activate, QDBus::Block, 2000).type(), QDBusMessage::ReplyMessage);
        QVERIFY2(waitShown(true), "Activate opened no panel");
        hidePanel();
    }

    void theMenuReachesThePanelAndEachGroup()
    {
        const QString item = traymateItem();
        QCOMPARE(labels(exportedMenu(item)), QStringList({"Open Traymate", "-", "Work", "Play", "-",
                                                          "Settings", "-", "Quit Traymate"}));

        QVERIFY(clickMenuEntry(item, "Play"));
        QVERIFY2(waitShown(true), "the group's entry opened no panel");
        // The full panel on "Play", whose only tile is Play's.
        QVERIFY(NamedControls(m_desktop, traymateEnvironment(), patience).clickTile("Play Thing"));
        const QString markers = qEnvironmentVariable("HOME");
        QVERIFY2(
            DesktopSession::waitFor([&] { return QFile::exists(markers + "/play"); }, patience),
            "the panel did not show the group Play");
        QVERIFY(!QFile::exists(markers + "/work"));
        if (panelShown())
            hidePanel();

        QVERIFY(clickMenuEntry(item, "Open Traymate"));
        QVERIFY(waitShown(true));
        hidePanel();
    }

    void quitFromTheMenuAndAStartWithThePanelUp()
    {
        QVERIFY(clickMenuEntry(traymateItem(), "Quit Traymate"));
        QVERIFY(m_traymate->waitForFinished(patience));
        QCOMPARE(m_traymate->exitCode(), 0);

        startTraymate();
        QVERIFY2(DesktopSession::waitFor([&] { return !traymateItem().isEmpty(); }, patience),
                 "the program registered no StatusNotifierItem with the running panel");
        QVERIFY(!embeddedInXfcePanel());
        QVERIFY(clickMenuEntry(traymateItem(), "Quit Traymate"));
        QVERIFY(m_traymate->waitForFinished(patience));
    }
};

TRAYMATE_TEST_MAIN(TrayHosts)
#include "tst_tray_hosts.moc"
