#include "desktop_session.h"
#include "test_environment.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <cstdlib>

namespace {

constexpr int patience = 10000; // ms

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The startup-notification messages sent to the root window, as a launcher's feedback (the
// busy pointer) sees them.
class StartupMessages {
public:
    explicit StartupMessages(const QString& display)
        : m_connection(xcb_connect(display.toLocal8Bit().constData(), nullptr))
    {
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        const std::uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_change_window_attributes(m_connection, m_root, XCB_CW_EVENT_MASK, &events);
        m_begin = atom("_NET_STARTUP_INFO_BEGIN");
        m_more = atom("_NET_STARTUP_INFO");
        xcb_flush(m_connection);
    }
    ~StartupMessages() { xcb_disconnect(m_connection); }

    // Every whole message so far, in order.
    QByteArrayList read()
    {
        while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection)) {
            if ((event->response_type & 0x7f) == XCB_CLIENT_MESSAGE) {
                const auto* message = reinterpret_cast<xcb_client_message_event_t*>(event);
                if (message->type == m_begin)
                    m_partial[message->window].clear();
                if (message->type == m_begin || message->type == m_more) {
                    QByteArray& text = m_partial[message->window];
                    text.append(reinterpret_cast<const char*>(message->data.data8), 20);
                    if (const qsizetype end = text.indexOf('\0'); end >= 0) {
                        m_whole.append(text.left(end));
                        m_partial.remove(message->window);
                    }
                }
            }
            std::free(event);
        }
        return m_whole;
    }

private:
    xcb_atom_t atom(const char* name)
    {
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
            m_connection, xcb_intern_atom(m_connection, 0, std::uint16_t(qstrlen(name)), name),
            nullptr);
        const xcb_atom_t result = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
        std::free(reply);
        return result;
    }

    xcb_connection_t* m_connection;
    xcb_window_t m_root = 0;
    xcb_atom_t m_begin = 0;
    xcb_atom_t m_more = 0;
    QHash<xcb_window_t, QByteArray> m_partial;
    QByteArrayList m_whole;
};

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
    bool panelShown() const { return m_desktop.isViewable(panel()); }
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
        StartupMessages messages(m_desktop.display());
        QVERIFY(startAgain({"--toggle"}, {{"DESKTOP_STARTUP_ID", "dock-launch-7_TIME4242"}}));
        QVERIFY(waitShown(true));
        QCOMPARE(startupId(), std::optional<QString>("dock-launch-7_TIME4242"));
        // The launch's feedback ends once the panel is up.
        QVERIFY(DesktopSession::waitFor(
            [&] { return messages.read().contains("remove: ID=dock-launch-7_TIME4242"); },
            patience));

        // A start that shows nothing new, the panel being up, still ends its launch.
        QVERIFY(startAgain({}, {{"DESKTOP_STARTUP_ID", "menu-launch-8_TIME4343"}}));
        QVERIFY2(DesktopSession::waitFor(
                     [&] { return messages.read().contains("remove: ID=menu-launch-8_TIME4343"); },
                     patience),
                 "the launch of a start that changed nothing was left pending");
        QVERIFY(panelShown());
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
