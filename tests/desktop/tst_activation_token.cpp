#include "desktop_session.h"
#include "test_environment.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace {

constexpr int patience = 10000; // ms

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

// The token a later start was launched with reaches the window the running instance shows: the
// real program started twice on Xvfb with openbox and trayer, the window's _NET_STARTUP_ID read
// with xprop as the window manager reads it.
class ActivationToken : public QObject {
    Q_OBJECT

    DesktopSession m_desktop;
    std::unique_ptr<QProcess> m_traymate;

    QProcessEnvironment environment() const
    {
        QProcessEnvironment environment = m_desktop.environment();
        environment.insert("TRAYMATE_DOCK", "file");
        for (const char* name : {"XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "DESKTOP_STARTUP_ID",
                                 "XDG_ACTIVATION_TOKEN", "WAYLAND_DISPLAY"})
            environment.remove(name);
        return environment;
    }

    xcb_window_t panel() const { return m_desktop.clientTitled("Traymate"); }
    bool panelShown() const
    {
        const xcb_window_t window = panel();
        return window && m_desktop.isViewable(window);
    }
    bool waitShown(bool shown) const
    {
        return DesktopSession::waitFor([&] { return panelShown() == shown; }, patience);
    }

    // The panel window's _NET_STARTUP_ID, or nothing when it has none.
    std::optional<QString> startupId() const
    {
        QProcess xprop;
        xprop.setProcessEnvironment(environment());
        xprop.start("xprop", {"-id", QString::number(panel()), "_NET_STARTUP_ID"});
        if (!xprop.waitForFinished(patience) || xprop.exitCode() != 0)
            return QStringLiteral("(xprop failed)");
        const QString text = QString::fromUtf8(xprop.readAllStandardOutput()).trimmed();
        const QRegularExpressionMatch match =
            QRegularExpression(QStringLiteral("^_NET_STARTUP_ID\\(UTF8_STRING\\) = \"(.*)\"$"))
                .match(text);
        if (!match.hasMatch())
            return std::nullopt;
        return match.captured(1);
    }

    // A later start with `arguments` and these variables; its process id.
    qint64 startAgain(const QStringList& arguments, const QList<QPair<QString, QString>>& vars)
    {
        QProcess later;
        QProcessEnvironment environment = this->environment();
        for (const auto& [name, value] : vars)
            environment.insert(name, value);
        later.setProcessEnvironment(environment);
        later.start(TRAYMATE_PROGRAM, arguments);
        if (!later.waitForStarted(patience))
            return 0;
        const qint64 pid = later.processId();
        if (!later.waitForFinished(patience) || later.exitCode() != 0)
            return 0;
        return pid;
    }

    void hidePanel()
    {
        QVERIFY(m_desktop.xdotool({"windowactivate", "--sync", QString::number(panel())}));
        QVERIFY(m_desktop.xdotool({"key", "Escape"}));
        QVERIFY(waitShown(false));
    }

private Q_SLOTS:
    void initTestCase()
    {
        QString error;
        QVERIFY2(m_desktop.start(&error), qPrintable(error));
        QVERIFY(writeFile(qEnvironmentVariable("XDG_CONFIG_HOME") + "/Traymate/Traymate.ini",
                          "[General]\ndidFirstImport=true\n"));
        QVERIFY(writeFile(qEnvironmentVariable("XDG_DATA_HOME") + "/Traymate/groups.json",
                          R"([{"id": "5A1B2C3D-4E5F-4071-8293-A4B5C6D7E8F9", "name": "Apps",)"
                          R"( "apps": ["/usr", "/etc"]}])"));
        m_traymate = std::make_unique<QProcess>();
        m_traymate->setProcessEnvironment(environment());
        m_traymate->setProcessChannelMode(QProcess::ForwardedChannels);
        m_traymate->start(TRAYMATE_PROGRAM, QStringList());
        QVERIFY(m_traymate->waitForStarted());
        QVERIFY2(
            DesktopSession::waitFor([&] { return m_desktop.trayIconTitled("Traymate"); }, patience),
            "no tray icon");
    }

    void cleanupTestCase()
    {
        if (m_traymate && m_traymate->state() != QProcess::NotRunning) {
            m_traymate->terminate();
            if (!m_traymate->waitForFinished(patience))
                m_traymate->kill();
        }
    }

    void theLaunchersStartupIdReachesThePanel()
    {
        QVERIFY(startAgain({"--toggle"}, {{"DESKTOP_STARTUP_ID", "dock-launch-7_TIME4242"}}));
        QVERIFY(waitShown(true));
        QCOMPARE(startupId(), std::optional<QString>("dock-launch-7_TIME4242"));
        hidePanel();
    }

    void anActivationTokenComesFirst()
    {
        QVERIFY(startAgain({"traymate://group/5A1B2C3D-4E5F-4071-8293-A4B5C6D7E8F9"},
                           {{"XDG_ACTIVATION_TOKEN", "xdg-token-1"},
                            {"DESKTOP_STARTUP_ID", "xdg-token-1-as-id"}}));
        QVERIFY(waitShown(true));
        QCOMPARE(startupId(), std::optional<QString>("xdg-token-1"));
        hidePanel();
    }

    void aStartWithoutTokenMakesAStartupIdWithTheServerTime()
    {
        const qint64 pid = startAgain({}, {});
        QVERIFY(pid);
        QVERIFY(waitShown(true));
        const std::optional<QString> id = startupId();
        QVERIFY(id);
        const QRegularExpressionMatch match =
            QRegularExpression(R"(^traymate-(\d+)-.+-_TIME(\d+)$)").match(*id);
        QVERIFY2(match.hasMatch(), qPrintable(*id));
        QCOMPARE(match.captured(1).toLongLong(), pid);
        QVERIFY(match.captured(2).toULongLong() > 0);
        hidePanel();
    }

    void aShowingOfItsOwnCarriesNoOldId()
    {
        QVERIFY(m_desktop.xdotool({"key", "ctrl+alt+space"}));
        QVERIFY(waitShown(true));
        QCOMPARE(startupId(), std::nullopt);
        hidePanel();
    }
};

TRAYMATE_TEST_MAIN(ActivationToken)
#include "tst_activation_token.moc"
