#include "desktop_session.h"
#include "named_controls.h"
#include "screen_reader_bus.h"
#include "test_environment.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

namespace {

const QString groupId = QStringLiteral("5A1B2C3D-4E5F-4071-8293-A4B5C6D7E8F9");
constexpr int patience = 10000; // ms; generous for a loaded CI machine

// The full panel at "Bottom center" of the work area left by the tray's strut.
QRect fullPanelAt(const DesktopSession&, int workAreaHeight)
{
    return {(DesktopSession::width - 400) / 2, workAreaHeight - 12 - 440, 400, 440};
}

} // namespace

// The real program on a real X desktop: tray icon, hot key, hiding rules, URL hand-over.
class DesktopShellTest : public QObject {
    Q_OBJECT

    DesktopSession m_desktop;
    ScreenReaderBus m_screenReader;
    QProcess m_traymate;
    xcb_window_t m_panel = XCB_WINDOW_NONE;
    int m_workAreaHeight = DesktopSession::height;

    // The program's: it also shows its widgets to a screen reader, so the test finds them.
    QProcessEnvironment programEnvironment() const
    {
        QProcessEnvironment environment = m_desktop.environment();
        m_screenReader.addTo(environment);
        return environment;
    }
    bool panelShown() const { return m_desktop.isViewable(m_panel); }
    bool waitShown(bool shown) const
    {
        return DesktopSession::waitFor([&] { return panelShown() == shown; }, patience);
    }
    int runSecond(const QStringList& arguments, qint64* elapsedMs = nullptr)
    {
        QProcess second;
        second.setProcessEnvironment(m_desktop.environment());
        QElapsedTimer elapsed;
        elapsed.start();
        second.start(TRAYMATE_PROGRAM, arguments);
        const bool finished = second.waitForFinished(patience);
        if (elapsedMs)
            *elapsedMs = elapsed.elapsed();
        return finished ? second.exitCode() : -1;
    }
    void showFullPanelByHotKey()
    {
        if (panelShown()) {
            QVERIFY(m_desktop.xdotool({"key", "ctrl+alt+space"}));
            QVERIFY(waitShown(false));
        }
        QVERIFY(m_desktop.xdotool({"key", "ctrl+alt+space"}));
        QVERIFY(waitShown(true));
        QVERIFY(
            DesktopSession::waitFor([&] { return m_desktop.activeWindow() == m_panel; }, patience));
    }

private Q_SLOTS:
    void initTestCase()
    {
        QString error;
        QVERIFY2(m_desktop.start(&error), qPrintable(error));
        QVERIFY2(m_screenReader.start(m_desktop.environment(), &error), qPrintable(error));

        // A group of five folders that exist everywhere: its compact panel is 384 by 238.
        const QString folder = qEnvironmentVariable("XDG_DATA_HOME") + "/Traymate";
        QVERIFY(QDir().mkpath(folder));
        QFile groups(folder + "/groups.json");
        QVERIFY(groups.open(QIODevice::WriteOnly));
        groups.write(R"([{"id":")" + groupId.toUtf8() +
                     R"(","name":"Folders","apps":["/usr","/etc","/tmp","/var","/"]}])");
        groups.close();

        m_traymate.setProcessEnvironment(programEnvironment());
        m_traymate.setProcessChannelMode(QProcess::ForwardedChannels);
        m_traymate.start(TRAYMATE_PROGRAM, QStringList());
        QVERIFY(m_traymate.waitForStarted());
        const std::optional<std::uint32_t> area =
            m_desktop.cardinalOf(m_desktop.root(), "_NET_WORKAREA");
        QVERIFY(area);
    }

    void cleanupTestCase()
    {
        m_traymate.terminate();
        if (!m_traymate.waitForFinished(3000))
            m_traymate.kill();
    }

    void firstStartShowsTheTrayIconAndTheFullPanel()
    {
        QVERIFY2(DesktopSession::waitFor(
                     [&] {
                         const xcb_window_t icon = m_desktop.trayIconTitled("Traymate");
                         return icon && m_desktop.isViewable(icon);
                     },
                     patience),
                 "no tray icon embedded in trayer");
        QVERIFY(DesktopSession::waitFor(
            [&] { return (m_panel = m_desktop.clientTitled("Traymate")) != 0; }, patience));
        QVERIFY(waitShown(true));

        // The tray's strut takes 24 pixels off the bottom of the work area.
        QVERIFY(DesktopSession::waitFor(
            [&] { return m_desktop.rootGeometry(m_panel) == fullPanelAt(m_desktop, 876); },
            patience));
        m_workAreaHeight = 876;
        QCOMPARE(m_desktop.depth(m_panel), 32); // translucent under the compositor
    }

    void panelIsAboveOnEveryDesktopAndOutOfTheWindowList()
    {
        QVERIFY(panelShown());
        const QByteArrayList states = m_desktop.atomsOf(m_panel, "_NET_WM_STATE");
        QVERIFY2(states.contains("_NET_WM_STATE_ABOVE"), states.join(' ').constData());
        QVERIFY(states.contains("_NET_WM_STATE_SKIP_TASKBAR"));
        QVERIFY(states.contains("_NET_WM_STATE_SKIP_PAGER"));
        QCOMPARE(m_desktop.cardinalOf(m_panel, "_NET_WM_DESKTOP"),
                 std::optional<std::uint32_t>(0xffffffff));
    }

    void hotKeyHidesAndShowsTheFullPanel()
    {
        QVERIFY(panelShown());
        QVERIFY(m_desktop.xdotool({"key", "ctrl+alt+space"}));
        QVERIFY(waitShown(false));
        // Caps Lock on: the same combination still toggles.
        QVERIFY(m_desktop.xdotool({"key", "Caps_Lock"}));
        QVERIFY(m_desktop.xdotool({"key", "ctrl+alt+space"}));
        QVERIFY(waitShown(true));
        QVERIFY(m_desktop.xdotool({"key", "Caps_Lock"}));
        QCOMPARE(m_desktop.rootGeometry(m_panel), fullPanelAt(m_desktop, m_workAreaHeight));
        // Another combination is not ours.
        QVERIFY(m_desktop.xdotool({"key", "ctrl+space"}));
        QTest::qWait(200);
        QVERIFY(panelShown());
    }

    void escapeHides()
    {
        showFullPanelByHotKey();
        QVERIFY(m_desktop.xdotool({"key", "Escape"}));
        QVERIFY(waitShown(false));
    }

    void losingFocusHides()
    {
        m_desktop.makeWindow(QRect(40, 40, 200, 150), "Other window");
        QTest::qWait(200);
        showFullPanelByHotKey();
        QVERIFY(m_desktop.xdotool({"mousemove", "100", "100", "click", "1"}));
        QVERIFY(waitShown(false));
    }

    void urlFromASecondProcessOpensTheCompactPanelAtThePointer()
    {
        QVERIFY(m_desktop.xdotool({"mousemove", "700", "400"}));
        qint64 elapsed = 0;
        QCOMPARE(runSecond({"traymate://group/" + groupId}, &elapsed), 0);
        QVERIFY2(elapsed < 1000, qPrintable(QString("second process took %1 ms").arg(elapsed)));
        QVERIFY(waitShown(true));
        // Pointer (700, 400) is (700, 500) with y up: centred there, 384 by 238.
        QVERIFY(DesktopSession::waitFor(
            [&] { return m_desktop.rootGeometry(m_panel) == QRect(508, 281, 384, 238); },
            patience));

        // The wrong letter case of the scheme is no traymate URL; the panel stays as it is.
        QCOMPARE(runSecond({"TRAYMATE://group/" + groupId}), 0);
        QTest::qWait(200);
        QCOMPARE(m_desktop.rootGeometry(m_panel), QRect(508, 281, 384, 238));
    }

    void toggleFromASecondProcess()
    {
        QVERIFY(panelShown());
        QCOMPARE(runSecond({"--toggle"}), 0);
        QVERIFY(waitShown(false));
        QCOMPARE(runSecond({"--toggle"}), 0);
        QVERIFY(waitShown(true));
        QVERIFY(DesktopSession::waitFor(
            [&] {
                return m_desktop.rootGeometry(m_panel) == fullPanelAt(m_desktop, m_workAreaHeight);
            },
            patience));
    }

    void xdgOpenReachesTheRunningInstance()
    {
        QVERIFY(m_desktop.xdotool({"key", "ctrl+alt+space"}));
        QVERIFY(waitShown(false));
        QVERIFY(m_desktop.xdotool({"mousemove", "700", "400"}));
        QProcess open;
        QProcessEnvironment environment = m_desktop.environment();
        environment.remove("XDG_CURRENT_DESKTOP");
        environment.remove("DESKTOP_SESSION");
        open.setProcessEnvironment(environment);
        open.start("xdg-open", {"traymate://group/" + groupId});
        QVERIFY(open.waitForFinished(patience));
        QVERIFY(waitShown(true));
        QVERIFY(DesktopSession::waitFor(
            [&] { return m_desktop.rootGeometry(m_panel).size() == QSize(384, 238); }, patience));
    }

    void trayClicks()
    {
        // Escape reaches the panel only once the window manager has made it active.
        QVERIFY(DesktopSession::waitFor(
            [&] { return !panelShown() || m_desktop.activeWindow() == m_panel; }, patience));
        QVERIFY(m_desktop.xdotool({"key", "Escape"}));
        QVERIFY(waitShown(false));
        const QRect icon = m_desktop.rootGeometry(m_desktop.trayIconTitled("Traymate"));
        QVERIFY(icon.isValid());
        const QString x = QString::number(icon.center().x()),
                      y = QString::number(icon.center().y());
        QTest::qWait(300); // past the quarter second after the last hide

        QVERIFY(m_desktop.xdotool({"mousemove", x, y, "click", "1"}));
        QVERIFY(waitShown(true));
        QCOMPARE(m_desktop.rootGeometry(m_panel), fullPanelAt(m_desktop, m_workAreaHeight));

        // A right click pops the menu and leaves the panel as it was.
        QVERIFY(m_desktop.xdotool({"click", "3"}));
        QTest::qWait(400);
        QVERIFY(panelShown());
        QVERIFY(m_desktop.xdotool({"key", "Escape"})); // closes the menu
        QTest::qWait(300);

        // A left click on the icon of the open panel hides it.
        QVERIFY(m_desktop.xdotool({"click", "1"}));
        QVERIFY(waitShown(false));
    }

    // Late in the run: the panel stays pinned from here on.
    void aPinnedPanelStaysButEscapeStillHides()
    {
        // The keep-open toggle follows the search field, which has the focus on opening.
        showFullPanelByHotKey();
        QTest::qWait(300); // the search field takes the focus after the panel appears
        QVERIFY(m_desktop.xdotool({"key", "Tab", "space"}));
        QTest::qWait(200);
        QVERIFY(m_desktop.xdotool({"mousemove", "100", "100", "click", "1"}));
        QVERIFY(
            DesktopSession::waitFor([&] { return m_desktop.activeWindow() != m_panel; }, patience));
        QTest::qWait(300);
        QVERIFY(panelShown());

        const NamedControls controls(m_desktop, programEnvironment(), patience);
        QVERIFY(controls.click(controls.placeOf(AccessibleRole::text, "Search")));
        QVERIFY(
            DesktopSession::waitFor([&] { return m_desktop.activeWindow() == m_panel; }, patience));
        QVERIFY(m_desktop.xdotool({"key", "Escape"}));
        QVERIFY(waitShown(false));
    }

    void withoutATrayTheHotKeyAndToggleStillWork()
    {
        DesktopSession bare;
        QString error;
        QVERIFY2(bare.start(&error, {.tray = false, .compositor = false}), qPrintable(error));
        QTemporaryDir home;
        QProcessEnvironment environment = bare.environment();
        environment.insert("XDG_CONFIG_HOME", home.path() + "/config");
        environment.insert("XDG_DATA_HOME", home.path() + "/data");
        environment.insert("XDG_RUNTIME_DIR", home.path());
        QFile::setPermissions(home.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        QProcess traymate;
        traymate.setProcessEnvironment(environment);
        traymate.setProcessChannelMode(QProcess::ForwardedChannels);
        traymate.start(TRAYMATE_PROGRAM, QStringList());
        // The first launch opens the panel even so.
        xcb_window_t panel = XCB_WINDOW_NONE;
        QVERIFY(DesktopSession::waitFor(
            [&] { return (panel = bare.clientTitled("Traymate")) && bare.isViewable(panel); },
            patience));
        QVERIFY(bare.xdotool({"key", "ctrl+alt+space"}));
        QVERIFY(DesktopSession::waitFor([&] { return !bare.isViewable(panel); }, patience));

        QProcess toggle;
        toggle.setProcessEnvironment(environment);
        toggle.start(TRAYMATE_PROGRAM, {"--toggle"});
        QVERIFY(toggle.waitForFinished(patience));
        QVERIFY(DesktopSession::waitFor([&] { return bare.isViewable(panel); }, patience));
        QVERIFY(!bare.trayIconTitled("Traymate"));

        traymate.terminate();
        QVERIFY(traymate.waitForFinished(patience));
    }

    void quitEndsTheProgram()
    {
        showFullPanelByHotKey();
        QVERIFY(m_desktop.xdotool({"key", "ctrl+q"}));
        QVERIFY(m_traymate.waitForFinished(patience));
        QCOMPARE(m_traymate.exitCode(), 0);
    }
};

TRAYMATE_TEST_MAIN(DesktopShellTest)
#include "tst_desktop_shell.moc"
