#include "desktop_session.h"
#include "named_controls.h"
#include "program_home.h"
#include "screen_reader_bus.h"
#include "test_environment.h"
#include "test_files.h"

#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>

namespace {

constexpr int patience = 10000; // ms; generous for a loaded CI machine
const QString groupId = QStringLiteral("5A1B2C3D-4E5F-4071-8293-A4B5C6D7E8F9");

QString number(int value)
{
    return QString::number(value);
}

} // namespace

// Faults of the panel seen on a real X desktop without a compositor (where the panel's window
// is cut to its shape), each walked through with the real program driven by xdotool, which
// clicks its tiles, tabs and buttons where a screen reader finds them by name.
class EndToEndPanelFaults : public QObject {
    Q_OBJECT

    DesktopSession m_desktop;
    ScreenReaderBus m_screenReader;
    std::unique_ptr<ProgramHome> m_home;
    std::unique_ptr<QProcess> m_traymate;

    QString data() const { return m_home->data(); }
    QString groupsPath() const { return data() + "/Traymate/groups.json"; }

    QProcessEnvironment environment() const
    {
        QProcessEnvironment environment = m_home->environment(m_desktop.environment());
        m_screenReader.addTo(environment);
        return environment;
    }

    // Starts the program on one group of these items; its first start opens the full panel.
    void startWith(const QStringList& apps)
    {
        QVERIFY(
            writeFile(groupsPath(), QJsonDocument(QJsonArray{QJsonObject{
                                                      {"id", groupId},
                                                      {"name", "Work"},
                                                      {"apps", QJsonArray::fromStringList(apps)},
                                                  }})
                                        .toJson()));
        m_traymate = std::make_unique<QProcess>();
        m_traymate->setProcessEnvironment(environment());
        m_traymate->setProcessChannelMode(QProcess::ForwardedChannels);
        m_traymate->start(TRAYMATE_PROGRAM, QStringList());
        QVERIFY(m_traymate->waitForStarted());
        QVERIFY(waitActive());
    }

    // Opens the compact panel for the group as its launcher does, with the pointer at `at`.
    void openCompactAt(QPoint at)
    {
        if (panelShown()) {
            QVERIFY(m_desktop.xdotool({"key", "Escape"}));
            QVERIFY(waitShown(false));
        }
        QVERIFY(m_desktop.xdotool({"mousemove", number(at.x()), number(at.y())}));
        QProcess second;
        second.setProcessEnvironment(environment());
        second.start(TRAYMATE_PROGRAM, {"traymate://group/" + groupId});
        QVERIFY(second.waitForFinished(patience));
        QVERIFY(waitShown(true));
        QVERIFY(DesktopSession::waitFor(
            [&] {
                const QRect frame = m_desktop.rootGeometry(panel());
                return frame.width() != 400 && frame.contains(at);
            },
            patience));
        QTest::qWait(300); // the pointer's entry reaches the panel
    }

    xcb_window_t panel() const { return m_desktop.mainWindowTitled("Traymate"); }
    bool panelShown() const { return m_desktop.isViewable(panel()); }
    bool waitShown(bool shown) const
    {
        return DesktopSession::waitFor([&] { return panelShown() == shown; }, patience);
    }
    bool waitActive() const
    {
        return DesktopSession::waitFor(
            [&] { return panelShown() && m_desktop.activeWindow() == panel(); }, patience);
    }
    // Some other window of the desktop has the focus: a dialog in front of the panel.
    bool waitOtherActive() const
    {
        return DesktopSession::waitFor(
            [&] {
                const xcb_window_t active = m_desktop.activeWindow();
                return active && active != panel();
            },
            patience);
    }
    // The program's tiles, tabs and buttons, found by their names.
    NamedControls controls() const { return NamedControls(m_desktop, environment(), patience); }

    // A menu of the program's popped up: an override-redirect window of its name.
    bool popupMenuShown() const
    {
        for (const xcb_window_t window : m_desktop.windowsTitled("Traymate")) {
            xcb_get_window_attributes_reply_t* attributes = xcb_get_window_attributes_reply(
                m_desktop.connection(), xcb_get_window_attributes(m_desktop.connection(), window),
                nullptr);
            const bool overriding = attributes && attributes->override_redirect;
            std::free(attributes);
            if (overriding && m_desktop.parentOf(window) == m_desktop.root() &&
                m_desktop.isViewable(window))
                return true;
        }
        return false;
    }
    QStringList appsOnDisk() const
    {
        QStringList apps;
        const QJsonArray groups = QJsonDocument::fromJson(readFile(groupsPath())).array();
        for (const QJsonValue app : groups.at(0).toObject().value("apps").toArray())
            apps << app.toString();
        return apps;
    }
    // The size of the window's bounding shape, as `xwininfo -shape` reports it.
    QRect shapeExtents(xcb_window_t window) const
    {
        QProcess info;
        info.setProcessEnvironment(m_desktop.environment());
        info.start("xwininfo", {"-shape", "-id", number(int(window))});
        if (!info.waitForFinished(patience))
            return {};
        const QString text = QString::fromLocal8Bit(info.readAllStandardOutput());
        const QRegularExpressionMatch size =
            QRegularExpression(R"(Window shape extents:\s*(\d+)x(\d+))").match(text);
        if (!size.hasMatch())
            return {};
        return QRect(0, 0, size.captured(1).toInt(), size.captured(2).toInt());
    }

private Q_SLOTS:
    void initTestCase()
    {
        QString error;
        DesktopSession::Pieces pieces;
        pieces.compositor = false;
        QVERIFY2(m_desktop.start(&error, pieces), qPrintable(error));
        QVERIFY2(m_screenReader.start(m_desktop.environment(), &error), qPrintable(error));
    }

    void init()
    {
        m_home = std::make_unique<ProgramHome>();
        QVERIFY(m_home->isValid());
    }

    void cleanup()
    {
        if (m_traymate && m_traymate->state() != QProcess::NotRunning) {
            m_traymate->kill();
            m_traymate->waitForFinished(patience);
        }
        m_traymate.reset();
        m_home.reset();
    }

    void holdingTheHotKeyTogglesThePanelOnce()
    {
        startWith({"/usr"});
        QVERIFY(m_desktop.xdotool({"key", "Escape"}));
        QVERIFY(waitShown(false));

        // Held for two seconds, well past the key's repeat delay: every change is counted.
        QVERIFY(m_desktop.xdotool({"keydown", "ctrl+alt+space"}));
        QElapsedTimer held;
        held.start();
        bool shown = false;
        int changes = 0;
        while (held.elapsed() < 2000) {
            if (panelShown() != shown) {
                shown = !shown;
                ++changes;
            }
            QTest::qWait(5);
        }
        QVERIFY(m_desktop.xdotool({"keyup", "ctrl+alt+space"}));
        QCOMPARE(changes, 1);
        QVERIFY(waitActive());

        // The next press hides it.
        QVERIFY(m_desktop.xdotool({"key", "ctrl+alt+space"}));
        QVERIFY(waitShown(false));
    }

    void aCancelledChooserGivesTheFocusBackToThePanel()
    {
        startWith({"/usr", "/etc"});
        QVERIFY(controls().clickButton("Add"));
        QVERIFY2(waitOtherActive(), "\"Add\" showed no chooser");
        QTest::qWait(300);
        QVERIFY(m_desktop.xdotool({"key", "Escape"}));
        QVERIFY2(waitActive(), "the panel did not get the focus back from the \"Add\" chooser");

        // "Set icon..." is the tab menu's second item.
        QVERIFY(controls().clickTab("Work", 3));
        QVERIFY(DesktopSession::waitFor([&] { return popupMenuShown(); }, patience));
        QVERIFY(m_desktop.xdotool({"key", "Down", "Down", "Return"}));
        QVERIFY2(waitOtherActive(), "\"Set icon...\" showed no chooser");
        QTest::qWait(300);
        QVERIFY(m_desktop.xdotool({"key", "Escape"}));
        QVERIFY2(waitActive(), "the panel did not get the focus back from the icon chooser");

        // With the focus, Escape hides it again.
        QVERIFY(m_desktop.xdotool({"key", "Escape"}));
        QVERIFY(waitShown(false));
    }

    void theCompactPanelHidesWhenATileMenuClosesWithThePointerOut()
    {
        startWith({"/usr", "/etc", "/tmp"});
        openCompactAt(QPoint(700, 400));
        QVERIFY(controls().clickTile("usr", 3));
        QVERIFY2(DesktopSession::waitFor([&] { return popupMenuShown(); }, patience),
                 "a right click on the tile showed no menu");
        QVERIFY(m_desktop.xdotool({"mousemove", "150", "150"}));
        QTest::qWait(300);
        QVERIFY(m_desktop.xdotool({"key", "Escape"}));
        QVERIFY2(waitShown(false), "the compact panel stayed with the pointer out");
    }

    void removingAnItemShrinksTheCompactPanelAndItsShape()
    {
        startWith({"/usr", "/etc", "/tmp", "/var"});
        openCompactAt(QPoint(700, 400));
        const QRect before = m_desktop.rootGeometry(panel());
        QCOMPARE(before.size(), QSize(384, 154));

        // The last tile's menu, "Remove from group"; the pointer stays on the panel meanwhile,
        // on the first tile, clear of the menu and of the band that goes.
        const QRect firstTile = controls().tile("usr");
        QVERIFY(firstTile.isValid());
        QVERIFY(controls().clickTile("var", 3));
        QVERIFY(DesktopSession::waitFor([&] { return popupMenuShown(); }, patience));
        QVERIFY(m_desktop.xdotool(
            {"mousemove", number(firstTile.center().x()), number(firstTile.center().y())}));
        QVERIFY(m_desktop.xdotool({"key", "Down", "Down", "Return"}));
        QVERIFY(DesktopSession::waitFor(
            [&] {
                return appsOnDisk() == QStringList({"/usr", "/etc", "/tmp"});
            },
            patience));

        // The window and its shape fit the three tiles left: no band beside them.
        QVERIFY2(DesktopSession::waitFor(
                     [&] { return m_desktop.rootGeometry(panel()).size() == QSize(296, 154); },
                     patience),
                 "the window kept its width after the item went");
        QVERIFY(panelShown());
        QCOMPARE(shapeExtents(panel()).size(), QSize(296, 154));

        // Where the right band was is out of the panel: the pointer there hides it.
        QVERIFY(m_desktop.xdotool(
            {"mousemove", number(before.right() - 10), number(before.center().y())}));
        QVERIFY2(waitShown(false), "the former band still counted as inside the panel");
    }

    void settingsComesBackWhenMinimised()
    {
        startWith({"/usr"});
        xcb_window_t settings = XCB_WINDOW_NONE;
        auto settingsInFront = [&] {
            settings = m_desktop.clientTitled("Traymate Settings");
            return settings && m_desktop.isViewable(settings) &&
                   m_desktop.activeWindow() == settings;
        };
        QVERIFY(controls().clickButton("Settings"));
        QVERIFY2(DesktopSession::waitFor(settingsInFront, patience),
                 "\"Settings\" opened no settings window");

        QVERIFY(m_desktop.xdotool({"windowminimize", number(int(settings))}));
        QVERIFY(DesktopSession::waitFor([&] { return !m_desktop.isViewable(settings); }, patience));
        QTest::qWait(300);

        QVERIFY(m_desktop.xdotool({"key", "ctrl+alt+space"}));
        QVERIFY(waitActive());
        QVERIFY(controls().clickButton("Settings"));
        QVERIFY2(DesktopSession::waitFor(settingsInFront, patience),
                 "the minimised settings window stayed minimised");
    }
};

TRAYMATE_TEST_MAIN(EndToEndPanelFaults)
#include "tst_e2e_panel_faults.moc"
