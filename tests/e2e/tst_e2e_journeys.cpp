#include "desktop_session.h"
#include "named_controls.h"
#include "program_home.h"
#include "screen_reader_bus.h"
#include "test_environment.h"
#include "test_files.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

namespace {

constexpr int patience = 10000; // ms; generous for a loaded CI machine

// The dock's stand-in list holding these locations as tiles, in order.
QByteArray dockList(const QStringList& paths)
{
    QByteArray tiles;
    for (const QString& path : paths)
        tiles += "<dict><key>tile-data</key><dict><key>file-data</key><dict>"
                 "<key>_CFURLString</key><string>" +
                 path.toUtf8() +
                 "</string><key>_CFURLStringType</key><integer>0</integer></dict></dict>"
                 "<key>tile-type</key><string>file-tile</string></dict>";
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
           "<key>persistent-apps</key><array>" +
           tiles + "</array></dict></plist>\n";
}

} // namespace

// Journeys a person takes through the whole program on a real X desktop. Each one starts
// build/traymate with its own HOME and XDG folders and drives it only from outside: keys and
// clicks through xdotool, and files on disk. It finds the tiles, tabs and buttons it clicks by
// their names, as a screen reader reads them over AT-SPI. TRAYMATE_E2E_DESKTOP chooses the
// desktop: openbox on Xvfb (the default), or GNOME's Mutter or KDE's KWin with the program in
// their XWayland; these have no tray, so journeys through the tray icon run on openbox only.
class EndToEndJourneys : public QObject {
    Q_OBJECT

    DesktopSession m_desktop;
    ScreenReaderBus m_screenReader;
    std::unique_ptr<ProgramHome> m_home;
    std::unique_ptr<QProcess> m_traymate;

    QString data() const { return m_home->data(); }
    QString config() const { return m_home->config(); }
    QString groupsPath() const { return data() + "/Traymate/groups.json"; }
    QString dockPath() const { return config() + "/Traymate/com.apple.dock.plist"; }

    QProcessEnvironment environment() const
    {
        QProcessEnvironment environment = m_home->environment(m_desktop.environment());
        m_screenReader.addTo(environment);
        return environment;
    }

    // A desktop entry of the user's whose command leaves `marker` behind.
    QString markerEntry(const QString& file, const QString& name, const QString& category,
                        const QString& marker) const
    {
        const QString path = data() + "/applications/" + file;
        writeFile(path, QStringLiteral("[Desktop Entry]\nType=Application\nName=%1\n"
                                       "Exec=touch %2\nCategories=%3;\n")
                            .arg(name, marker, category)
                            .toUtf8());
        return path;
    }

    void startTraymate()
    {
        m_traymate = std::make_unique<QProcess>();
        m_traymate->setProcessEnvironment(environment());
        m_traymate->setProcessChannelMode(QProcess::ForwardedChannels);
        m_traymate->start(TRAYMATE_PROGRAM, QStringList());
        QVERIFY(m_traymate->waitForStarted());
        if (!m_desktop.hasTray()) {
            // Up once its first window exists; the panel follows on a first start.
            QVERIFY2(DesktopSession::waitFor(
                         [&] { return !m_desktop.windowsTitled("Traymate").empty(); }, patience),
                     "the program made no window");
            return;
        }
        QVERIFY2(DesktopSession::waitFor(
                     [&] {
                         const xcb_window_t icon = m_desktop.trayIconTitled("Traymate");
                         return icon && m_desktop.isViewable(icon);
                     },
                     patience),
                 "no tray icon embedded in trayer");
    }

    // Ends the program as a person does, with its own Quit, so it saves what it holds.
    void quitTraymate()
    {
        if (!m_traymate || m_traymate->state() == QProcess::NotRunning)
            return;
        if (!panelShown())
            pressHotKey();
        QVERIFY(waitActive());
        QVERIFY(m_desktop.xdotool({"key", "ctrl+q"}));
        QVERIFY(m_traymate->waitForFinished(patience));
        QCOMPARE(m_traymate->exitCode(), 0);
    }

    // The hot key as the user presses it. Under a Wayland compositor that is a key bound in
    // the desktop's keyboard settings to `traymate --toggle`: XTest's keys reach XWayland only,
    // not the compositor, so pressing one would prove nothing about a user's session.
    void pressHotKey()
    {
        if (!m_desktop.isWayland()) {
            QVERIFY(m_desktop.xdotool({"key", "ctrl+alt+space"}));
            return;
        }
        QProcess toggle;
        toggle.setProcessEnvironment(environment());
        toggle.setProcessChannelMode(QProcess::ForwardedChannels);
        toggle.start(TRAYMATE_PROGRAM, {"--toggle"});
        QVERIFY(toggle.waitForFinished(patience));
        QCOMPARE(toggle.exitCode(), 0);
    }

    // The program's managed windows: the panel, and a dialog while one is open.
    std::vector<xcb_window_t> managedWindows() const
    {
        std::vector<xcb_window_t> managed;
        for (const xcb_window_t window : m_desktop.windowsTitled("Traymate"))
            if (m_desktop.isManaged(window))
                managed.push_back(window);
        return managed;
    }
    bool isDialog(xcb_window_t window) const
    {
        return m_desktop.atomsOf(window, "_NET_WM_WINDOW_TYPE")
            .contains("_NET_WM_WINDOW_TYPE_DIALOG");
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

    QJsonArray groupsOnDisk() const
    {
        return QJsonDocument::fromJson(readFile(groupsPath())).array();
    }
    QStringList groupNamesOnDisk() const
    {
        QStringList names;
        for (const QJsonValue group : groupsOnDisk())
            names << group.toObject().value("name").toString();
        return names;
    }

    // The whole screen as the person sees it, kept for looking at after the run.
    // Where the screenshot `name` of this desktop's run goes.
    QString screenshotPath(const QString& name) const
    {
        return QStringLiteral(SCREENSHOT_FOLDER "/") + DesktopSession::nameOf(m_desktop.kind()) +
               '/' + name + ".png";
    }

    void screenshot(const QString& name)
    {
        const QString path = screenshotPath(name);
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        QVERIFY2(m_desktop.screenshot(path), qPrintable(name));
    }

    // A dialog of the program's on the screen.
    xcb_window_t dialog() const
    {
        for (const xcb_window_t window : managedWindows())
            if (isDialog(window) && m_desktop.isViewable(window))
                return window;
        return XCB_WINDOW_NONE;
    }
    bool waitDialog(bool shown) const
    {
        return DesktopSession::waitFor(
            [&] {
                const xcb_window_t window = dialog();
                return shown ? window && m_desktop.activeWindow() == window : !window;
            },
            patience);
    }
    // The program's tiles, tabs and buttons, found by their names.
    NamedControls controls() const { return NamedControls(m_desktop, environment(), patience); }

    // The xdotool steps of a left-button drag from the pointer's place `a` to `b`, at a
    // person's pace: small first moves so the drag starts, then a slow approach and a pause.
    static QStringList dragSteps(QPoint a, QPoint b)
    {
        auto n = [](int v) { return QString::number(v); };
        QStringList steps{"mousedown", "1"};
        const QPoint path[] = {a + QPoint(8, 4), a + QPoint(20, 8), (a + b) / 2, b + QPoint(2, 0),
                               b};
        const char* const pauses[] = {"0.1", "0.1", "0.1", "0.1", "0.2", "0.3"};
        steps << "sleep" << pauses[0];
        for (int i = 0; i < 5; ++i)
            steps << "mousemove" << n(path[i].x()) << n(path[i].y()) << "sleep" << pauses[i + 1];
        steps << "mouseup"
              << "1";
        return steps;
    }

    // Drags with the left button from the middle of one place to the middle of another.
    bool drag(const QRect& from, const QRect& to) const
    {
        if (!from.isValid() || !to.isValid())
            return false;
        const QPoint a = from.center(), b = to.center();
        return m_desktop.xdotool(
            QStringList{"mousemove", QString::number(a.x()), QString::number(a.y())} +
            dragSteps(a, b));
    }
    QStringList appsOnDisk(int group) const
    {
        QStringList apps;
        for (const QJsonValue app : groupsOnDisk().at(group).toObject().value("apps").toArray())
            apps << app.toString();
        return apps;
    }

    // A menu of the program's popped up: a window of its name that the window manager leaves
    // alone, other than the tray icon.
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

private Q_SLOTS:
    void initTestCase()
    {
        const QString name = qEnvironmentVariable("TRAYMATE_E2E_DESKTOP", "openbox");
        const auto kind = DesktopSession::kindNamed(name);
        QVERIFY2(kind, qPrintable("no desktop named " + name));
        QString error;
        QVERIFY2(m_desktop.start(&error, *kind), qPrintable(error));
        // The program stays on the compositor's session bus, where the screen reader joins it.
        QVERIFY2(m_desktop.isWayland()
                     ? m_screenReader.startOnSessionBus(m_desktop.environment(), &error)
                     : m_screenReader.start(m_desktop.environment(), &error),
                 qPrintable(error));
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

    void firstStartImportsTheDockIntoCategoryGroupsOnce()
    {
        const QString markers = m_home->path();
        const QStringList entries = {
            markerEntry("web.desktop", "Web Browser", "Network", markers + "/web"),
            markerEntry("editor.desktop", "Code Editor", "Development", markers + "/editor"),
            markerEntry("sheets.desktop", "Spreadsheet", "Office", markers + "/sheets"),
            markerEntry("ide.desktop", "Debugger", "Development", markers + "/ide"),
        };
        QVERIFY(writeFile(dockPath(), dockList(entries)));

        startTraymate();
        QVERIFY2(waitShown(true), "the first start opens no panel");
        QVERIFY(DesktopSession::waitFor([&] { return groupNamesOnDisk().size() == 3; }, patience));
        QCOMPARE(groupNamesOnDisk(), QStringList({"Developer Tools", "Internet", "Productivity"}));
        const QJsonArray groups = groupsOnDisk();
        QCOMPARE(groups.at(0).toObject().value("apps").toArray(),
                 QJsonArray({entries.at(1), entries.at(3)}));
        QCOMPARE(groups.at(1).toObject().value("apps").toArray(), QJsonArray({entries.at(0)}));
        QVERIFY(waitActive());
        QTest::qWait(300); // the tiles' icons settle after the panel appears
        screenshot("1-first-start-import");
        quitTraymate();

        // The second start leaves the groups alone, even with another category in the dock.
        const QByteArray before = readFile(groupsPath());
        QVERIFY(writeFile(dockPath(),
                          dockList(entries + QStringList{markerEntry("game.desktop", "Chess",
                                                                     "Game", markers + "/game")})));
        startTraymate();
        QTest::qWait(1000); // nothing is meant to happen: give it the time it would take
        QVERIFY2(!panelShown(), "the second start opened the panel");
        QCOMPARE(readFile(groupsPath()), before);
        screenshot("1-second-start");
        quitTraymate();
    }

    void hotKeySearchAndReturnLaunchTheFirstMatch()
    {
        const QString marker = m_home->path() + "/launched";
        const QString other = m_home->path() + "/other";
        const QString first = markerEntry("marker.desktop", "Marker Writer", "Utility", marker);
        const QString second = markerEntry("other.desktop", "Other Thing", "Utility", other);
        QVERIFY(writeFile(groupsPath(),
                          QJsonDocument(QJsonArray{QJsonObject{
                                            {"id", "5A1B2C3D-4E5F-4071-8293-"
                                                   "A4B5C6D7E8F9"},
                                            {"name", "Tools"},
                                            {"apps", QJsonArray{second, first, "/usr", "/etc"}},
                                        }})
                              .toJson()));
        startTraymate();
        QVERIFY(waitShown(true)); // the first start opens it: close it first
        QVERIFY(waitActive());
        QVERIFY(m_desktop.xdotool({"key", "Escape"}));
        QVERIFY(waitShown(false));

        pressHotKey();
        QVERIFY(waitActive());
        QTest::qWait(300); // the search field takes the focus after the panel appears
        QVERIFY(m_desktop.xdotool({"type", "--delay", "30", "mark"}));
        QTest::qWait(300);
        screenshot("2-search-mark");
        QVERIFY(m_desktop.xdotool({"key", "Return"}));
        QVERIFY2(DesktopSession::waitFor([&] { return QFile::exists(marker); }, patience),
                 "Return launched nothing");
        QVERIFY(waitShown(false));
        QVERIFY(!QFile::exists(other));
        quitTraymate();
    }

    void theKeyboardAloneLaunchesSwitchesGroupsAndOpensMenus()
    {
        const QString root = m_home->path();
        QStringList tools, markers;
        for (const QString name : {"alpha", "bravo", "charlie", "delta", "echo", "foxtrot"}) {
            markers << root + '/' + name;
            tools << markerEntry(name + ".desktop", name, "Utility", markers.last());
        }
        const QString other = root + "/other";
        const QString otherEntry = markerEntry("other.desktop", "Other", "Utility", other);
        QVERIFY(writeFile(
            groupsPath(),
            QJsonDocument(QJsonArray{QJsonObject{{"id", "5A1B2C3D-4E5F-4071-8293-A4B5C6D7E8F9"},
                                                 {"name", "Tools"},
                                                 {"apps", QJsonArray::fromStringList(tools)}},
                                     QJsonObject{{"id", "6A1B2C3D-4E5F-4071-8293-A4B5C6D7E8F9"},
                                                 {"name", "More"},
                                                 {"apps", QJsonArray{otherEntry}}}})
                .toJson()));
        startTraymate();
        QVERIFY(waitShown(true));
        QVERIFY(waitActive());
        QVERIFY(m_desktop.xdotool({"key", "Escape"}));
        QVERIFY(waitShown(false));

        // Down from the search onto the tiles; the menu opens on the focused one, by Shift+F10
        // and by the Menu key, one menu each time.
        pressHotKey();
        QVERIFY(waitActive());
        QTest::qWait(300); // the search field takes the focus after the panel appears
        QVERIFY(m_desktop.xdotool({"key", "--delay", "80", "Down", "Right", "Down", "Up"}));
        QTest::qWait(200);
        screenshot("keyboard-focused-tile");
        QVERIFY(m_desktop.xdotool({"key", "shift+F10"}));
        QVERIFY2(DesktopSession::waitFor([&] { return popupMenuShown(); }, patience),
                 "Shift+F10 opened no menu");
        screenshot("keyboard-tile-menu");
        QVERIFY(m_desktop.xdotool({"key", "Escape"}));
        QVERIFY(DesktopSession::waitFor([&] { return !popupMenuShown(); }, patience));
        QVERIFY(m_desktop.xdotool({"key", "Menu"}));
        QVERIFY2(DesktopSession::waitFor([&] { return popupMenuShown(); }, patience),
                 "the Menu key opened no menu");
        QVERIFY(m_desktop.xdotool({"key", "Escape"}));
        QVERIFY(DesktopSession::waitFor([&] { return !popupMenuShown(); }, patience));
        QTest::qWait(500);
        QVERIFY2(!popupMenuShown(), "a second menu followed the first");
        QVERIFY(panelShown());

        // Return launches the focused tile, the second one, and nothing else.
        QVERIFY(m_desktop.xdotool({"key", "Return"}));
        QVERIFY2(DesktopSession::waitFor([&] { return QFile::exists(markers[1]); }, patience),
                 "Return launched nothing");
        QVERIFY(waitShown(false));
        for (const QString& marker : markers)
            QCOMPARE(QFile::exists(marker), marker == markers[1]);

        // Escape still hides, with the tiles holding the keys.
        pressHotKey();
        QVERIFY(waitActive());
        QTest::qWait(300);
        QVERIFY(m_desktop.xdotool({"key", "--delay", "80", "Down", "Escape"}));
        QVERIFY2(waitShown(false), "Escape did not hide the panel");

        // Ctrl+Tab goes on to the next group, whose tile the keyboard then launches.
        pressHotKey();
        QVERIFY(waitActive());
        QTest::qWait(300);
        QVERIFY(m_desktop.xdotool({"key", "--delay", "80", "ctrl+Tab", "Down"}));
        QTest::qWait(300);
        screenshot("keyboard-next-group");
        QVERIFY(m_desktop.xdotool({"key", "Return"}));
        QVERIFY2(DesktopSession::waitFor([&] { return QFile::exists(other); }, patience),
                 "Ctrl+Tab and Return did not launch the next group's tile");
        QVERIFY(waitShown(false));
        quitTraymate();
    }

    void trayIconTogglesAndItsMenuOpensSettingsAndQuits()
    {
        if (!m_desktop.hasTray())
            QSKIP("needs a tray, which this desktop lacks");
        QVERIFY(writeFile(groupsPath(), QJsonDocument(QJsonArray{QJsonObject{
                                                          {"id", "5A1B2C3D-4E5F-4071-8293-"
                                                                 "A4B5C6D7E8F9"},
                                                          {"name", "Folders"},
                                                          {"apps", QJsonArray{"/usr", "/etc"}},
                                                      }})
                                            .toJson()));
        startTraymate();
        QVERIFY(waitActive()); // the first start opens the panel
        QVERIFY(m_desktop.xdotool({"key", "Escape"}));
        QVERIFY(waitShown(false));
        const QRect icon = m_desktop.rootGeometry(m_desktop.trayIconTitled("Traymate"));
        QVERIFY(icon.isValid());
        const QString x = QString::number(icon.center().x()),
                      y = QString::number(icon.center().y());
        QVERIFY(m_desktop.xdotool({"mousemove", x, y}));
        QTest::qWait(300); // past the quarter second after the last hide

        QVERIFY(m_desktop.xdotool({"click", "1"}));
        QVERIFY2(waitActive(), "a left click on the tray icon opened no panel");
        QTest::qWait(500); // a second click sooner is a double click
        QVERIFY(m_desktop.xdotool({"click", "1"}));
        QVERIFY2(waitShown(false), "a second left click left the panel open");

        // A click at once after the panel hid is the click that hid it: nothing opens.
        QTest::qWait(300);
        QVERIFY(m_desktop.xdotool({"click", "1"}));
        QVERIFY(waitActive());
        QVERIFY(m_desktop.xdotool({"key", "Escape", "click", "1"}));
        QVERIFY(waitShown(false));
        QTest::qWait(500); // nothing is meant to happen: give it the time it would take
        QVERIFY2(!panelShown(), "a click right after hiding reopened the panel");

        // The right click's menu: "Open Traymate", the one group, then "Settings", which opens
        // the settings window.
        QVERIFY(m_desktop.xdotool({"click", "3"}));
        QVERIFY2(DesktopSession::waitFor([&] { return popupMenuShown(); }, patience),
                 "a right click showed no menu");
        QTest::qWait(200);
        screenshot("7-tray-menu");
        QVERIFY(m_desktop.xdotool({"key", "Down", "Down", "Down", "Return"}));
        xcb_window_t settings = XCB_WINDOW_NONE;
        QVERIFY2(DesktopSession::waitFor(
                     [&] {
                         settings = m_desktop.clientTitled("Traymate Settings");
                         return settings && m_desktop.isViewable(settings) &&
                                m_desktop.activeWindow() == settings;
                     },
                     patience),
                 "\"Settings\" opened no active settings window");
        QTest::qWait(300);
        screenshot("7-settings-window");

        // Closing it through the window manager leaves the program running.
        QVERIFY(m_desktop.xdotool({"key", "alt+F4"}));
        QVERIFY(DesktopSession::waitFor([&] { return !m_desktop.isViewable(settings); }, patience));
        QTest::qWait(500);
        QCOMPARE(m_traymate->state(), QProcess::Running);
        QVERIFY(m_desktop.trayIconTitled("Traymate"));

        // Its last item ends the program.
        QVERIFY(m_desktop.xdotool({"mousemove", x, y, "click", "3"}));
        QVERIFY(DesktopSession::waitFor([&] { return popupMenuShown(); }, patience));
        QVERIFY(m_desktop.xdotool({"key", "Up", "Return"}));
        QVERIFY2(m_traymate->waitForFinished(patience), "\"Quit Traymate\" left it running");
        QCOMPARE(m_traymate->exitStatus(), QProcess::NormalExit);
        QCOMPARE(m_traymate->exitCode(), 0);
    }

    void newGroupRenameAndDeleteThroughTheDialogs()
    {
        QVERIFY(writeFile(groupsPath(), QJsonDocument(QJsonArray{QJsonObject{
                                                          {"id", "5A1B2C3D-4E5F-4071-8293-"
                                                                 "A4B5C6D7E8F9"},
                                                          {"name", "Apps"},
                                                          {"apps", QJsonArray{"/usr", "/etc"}},
                                                      }})
                                            .toJson()));
        startTraymate();
        QVERIFY(waitActive());
        QVERIFY(controls().clickButton("New Group"));
        QVERIFY2(waitDialog(true), "\"New Group\" showed no dialog");
        QVERIFY(m_desktop.xdotool({"type", "--delay", "30", "Work"}));
        QTest::qWait(200);
        screenshot("5-new-group-dialog");
        QVERIFY(m_desktop.xdotool({"key", "Return"}));
        QVERIFY(waitDialog(false));
        QVERIFY(DesktopSession::waitFor(
            [&] {
                return groupNamesOnDisk() == QStringList({"Apps", "Work"});
            },
            patience));
        QVERIFY2(panelShown(), "the panel hid behind the dialog");

        // The first tab's menu: its first item renames.
        QVERIFY(controls().clickTab("Apps", 3));
        QVERIFY(DesktopSession::waitFor([&] { return popupMenuShown(); }, patience));
        QVERIFY(m_desktop.xdotool({"key", "Down", "Return"}));
        QVERIFY2(waitDialog(true), "\"Rename\" showed no dialog");
        QVERIFY(m_desktop.xdotool({"type", "--delay", "30", "Tools"})); // replaces the name
        QVERIFY(m_desktop.xdotool({"key", "Return"}));
        QVERIFY(waitDialog(false));
        QVERIFY(DesktopSession::waitFor(
            [&] {
                return groupNamesOnDisk() == QStringList({"Tools", "Work"});
            },
            patience));

        // Its last item deletes, once confirmed; Cancel first keeps the group.
        QVERIFY(controls().clickTab("Tools", 3));
        QVERIFY(DesktopSession::waitFor([&] { return popupMenuShown(); }, patience));
        QVERIFY(m_desktop.xdotool({"key", "Up", "Return"}));
        QVERIFY2(waitDialog(true), "\"Delete\" asked nothing");
        QVERIFY(m_desktop.xdotool({"key", "Escape"}));
        QVERIFY(waitDialog(false));
        QTest::qWait(300);
        QCOMPARE(groupNamesOnDisk(), QStringList({"Tools", "Work"}));

        QVERIFY(controls().clickTab("Tools", 3));
        QVERIFY(DesktopSession::waitFor([&] { return popupMenuShown(); }, patience));
        QVERIFY(m_desktop.xdotool({"key", "Up", "Return"}));
        QVERIFY(waitDialog(true));
        QTest::qWait(200);
        screenshot("5-delete-confirmation");
        QVERIFY(m_desktop.xdotool({"key", "Return"}));
        QVERIFY(waitDialog(false));
        QVERIFY(DesktopSession::waitFor([&] { return groupNamesOnDisk() == QStringList({"Work"}); },
                                        patience));
        QVERIFY(panelShown());
        // The panel does not get the focus back from the closed dialog by itself: click it.
        QVERIFY(m_desktop.click(controls().besideTheTiles()));
        QVERIFY(waitActive());
        QTest::qWait(300);
        screenshot("5-after-delete");
        quitTraymate();
    }

    void draggingReordersTilesAndMovesThemToAnotherGroup()
    {
        QVERIFY(
            writeFile(groupsPath(),
                      QJsonDocument(QJsonArray{
                                        QJsonObject{
                                            {"id", "5A1B2C3D-4E5F-4071-8293-A4B5C6D7E8F9"},
                                            {"name", "Tools"},
                                            {"apps", QJsonArray{"/usr", "/etc", "/tmp", "/var"}},
                                        },
                                        QJsonObject{
                                            {"id", "6A1B2C3D-4E5F-4071-8293-A4B5C6D7E8F9"},
                                            {"name", "Work"},
                                            {"apps", QJsonArray{"/srv"}},
                                        },
                                    })
                          .toJson()));
        startTraymate();
        QVERIFY(waitActive());
        QTest::qWait(300);
        QVERIFY(drag(controls().tile("tmp"), controls().tile("usr")));
        QVERIFY2(DesktopSession::waitFor(
                     [&] {
                         return appsOnDisk(0) == QStringList({"/tmp", "/usr", "/etc", "/var"});
                     },
                     patience),
                 qPrintable(appsOnDisk(0).join(' ')));
        QTest::qWait(300);
        screenshot("3-after-reorder");

        // The first tile, now /tmp, onto the other group's tab.
        QVERIFY(drag(controls().tile("tmp"), controls().tab("Work")));
        QVERIFY2(DesktopSession::waitFor(
                     [&] {
                         return appsOnDisk(1) == QStringList({"/srv", "/tmp"});
                     },
                     patience),
                 qPrintable(appsOnDisk(1).join(' ')));
        QCOMPARE(appsOnDisk(0), QStringList({"/usr", "/etc", "/var"}));
        QTest::qWait(300);
        screenshot("3-after-move-to-group");
        quitTraymate();
    }

    void dockIconOpensTheCompactPanelBesideThePointer()
    {
        const QString id = "5A1B2C3D-4E5F-4071-8293-A4B5C6D7E8F9";
        QVERIFY(
            writeFile(groupsPath(), QJsonDocument(QJsonArray{QJsonObject{
                                                      {"id", id},
                                                      {"name", "Work"},
                                                      {"apps", QJsonArray{"/usr", "/etc", "/tmp"}},
                                                  }})
                                        .toJson()));
        QVERIFY(writeFile(dockPath(), dockList({})));
        startTraymate();
        QVERIFY(waitActive());

        // "Create Dock icon" is the tab menu's item above "Delete".
        QVERIFY(controls().clickTab("Work", 3));
        QVERIFY(DesktopSession::waitFor([&] { return popupMenuShown(); }, patience));
        QVERIFY(m_desktop.xdotool({"key", "Up", "Up", "Return"}));
        const QString bundle = m_home->path() + "/home/Applications/Traymate Groups/Work.app";
        const QString script = bundle + "/Contents/MacOS/launch";
        QVERIFY2(DesktopSession::waitFor(
                     [&] { return readFile(dockPath()).contains(bundle.toUtf8()); }, patience),
                 "no dock tile for the launcher");
        QVERIFY(QFileInfo(script).isExecutable());
        QVERIFY(QFile::exists(bundle + "/Contents/Info.plist"));
        const QStringList entries =
            QDir(data() + "/applications").entryList({"traymate-group-*.desktop"}, QDir::Files);
        QCOMPARE(entries.size(), 1);
        QVERIFY(readFile(data() + "/applications/" + entries.first()).contains("Name=Work"));

        if (panelShown()) {
            QVERIFY(m_desktop.click(controls().besideTheTiles()));
            QVERIFY(waitActive());
            QVERIFY(m_desktop.xdotool({"key", "Escape"}));
            QVERIFY(waitShown(false));
        }

        // The launcher's script, run as the dock runs it, with the pointer in mid-screen.
        QVERIFY(m_desktop.xdotool({"mousemove", "700", "400"}));
        QProcess launch;
        launch.setProcessEnvironment(environment());
        launch.start(script, QStringList());
        QVERIFY(launch.waitForFinished(patience));
        QVERIFY2(waitShown(true), "the launcher opened no panel");
        QVERIFY(DesktopSession::waitFor(
            [&] {
                const QRect frame = m_desktop.rootGeometry(panel());
                return frame.size() != QSize(400, 440) && frame.contains(QPoint(700, 400));
            },
            patience));
        QTest::qWait(300);
        screenshot("6-compact-panel");

        // "All groups", the grid button at the top right, switches to the full panel.
        QVERIFY(controls().clickButton("All groups"));
        QVERIFY2(DesktopSession::waitFor(
                     [&] { return m_desktop.rootGeometry(panel()).size() == QSize(400, 440); },
                     patience),
                 "\"All groups\" did not switch to the full panel");
        QVERIFY(waitActive());
        QTest::qWait(300);
        screenshot("6-all-groups");
        QVERIFY(m_desktop.xdotool({"key", "Escape"}));
        QVERIFY(waitShown(false));

        QVERIFY(m_desktop.xdotool({"mousemove", "700", "400"}));
        launch.start(script, QStringList());
        QVERIFY(launch.waitForFinished(patience));
        QVERIFY(waitShown(true));
        QVERIFY(DesktopSession::waitFor(
            [&] {
                const QRect frame = m_desktop.rootGeometry(panel());
                return frame.size() != QSize(400, 440) && frame.contains(QPoint(700, 400));
            },
            patience));

        // Out of the panel, it hides by itself after a short while, not at once.
        const QRect frame = m_desktop.rootGeometry(panel());
        QVERIFY(m_desktop.xdotool({"mousemove", QString::number(frame.right() + 60),
                                   QString::number(frame.center().y())}));
        QElapsedTimer away;
        away.start();
        QVERIFY2(waitShown(false), "the compact panel stayed after the pointer left");
        QVERIFY2(away.elapsed() >= 250, qPrintable(QString("hid after %1 ms").arg(away.elapsed())));
        pressHotKey();
        QVERIFY(waitActive());
        quitTraymate();
    }

    void panelHidesWhenAnotherWindowTakesTheFocusUnlessPinned()
    {
        QVERIFY(writeFile(groupsPath(), QJsonDocument(QJsonArray{QJsonObject{
                                                          {"id", "5A1B2C3D-4E5F-4071-8293-"
                                                                 "A4B5C6D7E8F9"},
                                                          {"name", "Apps"},
                                                          {"apps", QJsonArray{"/usr", "/etc"}},
                                                      }})
                                            .toJson()));
        const xcb_window_t other = m_desktop.makeWindow(QRect(40, 40, 300, 200), "Other window");
        QVERIFY(DesktopSession::waitFor(
            [&] {
                return m_desktop.clientTitled("Other window") == other &&
                       m_desktop.isViewable(other);
            },
            patience));
        // A click on it; a compositor takes clicks only from its own input devices, which
        // XTest does not reach, so there the window asks for the focus as a dock or an
        // application switcher asks for it.
        auto focusOther = [&] {
            if (m_desktop.isWayland())
                return m_desktop.xdotool({"windowactivate", QString::number(other)});
            // Near its top left corner: openbox centres it, partly under the panel.
            const QPoint at = m_desktop.rootGeometry(other).topLeft() + QPoint(20, 20);
            return m_desktop.xdotool(
                {"mousemove", QString::number(at.x()), QString::number(at.y()), "click", "1"});
        };
        startTraymate();
        QVERIFY(waitActive()); // the first start opens the panel

        QVERIFY(focusOther());
        QVERIFY2(waitShown(false), "the panel stayed after another window took the focus");
        QVERIFY(
            DesktopSession::waitFor([&] { return m_desktop.activeWindow() == other; }, patience));
        screenshot("9-hidden-on-focus-loss");

        // Pinned, it stays while the person works in the other window.
        pressHotKey();
        QVERIFY(waitActive());
        QVERIFY(controls().clickToggle("Keep open"));
        QTest::qWait(300);
        QVERIFY(focusOther());
        QVERIFY(
            DesktopSession::waitFor([&] { return m_desktop.activeWindow() == other; }, patience));
        QTest::qWait(500); // nothing is meant to happen: give it the time it would take
        QVERIFY2(panelShown(), "the pinned panel hid when another window took the focus");
        screenshot("9-pinned-stays");
        QVERIFY(m_desktop.xdotool({"windowunmap", QString::number(other)}));
        QVERIFY(m_desktop.click(controls().besideTheTiles()));
        quitTraymate();
    }

    // GNOME 43 to 47 offer no global shortcuts portal: in a Wayland session the program falls
    // back to an X11 grab, which fires only while an XWayland window has the focus, and its
    // settings tell the person to bind `traymate --toggle` instead.
    void waylandWithoutPortalGrabsTheKeyInXWaylandAndAdvisesToggle()
    {
        if (!m_desktop.isWayland())
            QSKIP("the X11 hot key of an X11 session is the search journey's");
        QVERIFY(writeFile(groupsPath(), QJsonDocument(QJsonArray{QJsonObject{
                                                          {"id", "5A1B2C3D-4E5F-4071-8293-"
                                                                 "A4B5C6D7E8F9"},
                                                          {"name", "Apps"},
                                                          {"apps", QJsonArray{"/usr", "/etc"}},
                                                      }})
                                            .toJson()));
        startTraymate();
        QVERIFY(waitActive());
        QVERIFY(m_desktop.xdotool({"key", "Escape"}));
        QVERIFY(waitShown(false));
        // XTest's key reaches XWayland only: what the grab there receives.
        QVERIFY(m_desktop.xdotool({"key", "ctrl+alt+space"}));
        QVERIFY2(waitActive(), "no X11 grab of Ctrl+Alt+Space in XWayland");

        QVERIFY(controls().clickButton("Settings")); // the gear
        xcb_window_t settings = XCB_WINDOW_NONE;
        QVERIFY2(DesktopSession::waitFor(
                     [&] {
                         settings = m_desktop.clientTitled("Traymate Settings");
                         return settings && m_desktop.isViewable(settings);
                     },
                     patience),
                 "the gear opened no settings window");
        QTest::qWait(300);
        screenshot("10-settings-advise-toggle");
        // The compositor's own Alt+F4 is out of XTest's reach: quit from the panel.
        if (!panelShown())
            pressHotKey();
        QVERIFY(waitShown(true));
        QVERIFY(m_desktop.xdotool({"windowactivate", QString::number(panel())}));
        quitTraymate();
    }

    void droppingTwoFilesFromOutsideAddsBoth()
    {
        QVERIFY(writeFile(groupsPath(),
                          QJsonDocument(QJsonArray{QJsonObject{
                                            {"id", "5A1B2C3D-4E5F-4071-8293-A4B5C6D7E8F9"},
                                            {"name", "Papers"},
                                            {"apps", QJsonArray{"/usr"}},
                                        }})
                              .toJson()));
        const QString first = m_home->path() + "/home/notes.txt";
        const QString second = m_home->path() + "/home/plan.txt";
        QVERIFY(writeFile(first, "notes\n"));
        QVERIFY(writeFile(second, "plan\n"));
        startTraymate();
        QVERIFY(waitActive());
        // Pinned, as a person keeps it open while dragging from another window.
        QVERIFY(controls().clickToggle("Keep open"));
        QTest::qWait(300);

        QProcess source;
        source.setProcessEnvironment(environment());
        source.start(DRAG_SOURCE, {first, second});
        QVERIFY(source.waitForStarted());
        xcb_window_t sourceWindow = XCB_WINDOW_NONE;
        QVERIFY(DesktopSession::waitFor(
            [&] {
                sourceWindow = m_desktop.clientTitled("File drag source");
                return sourceWindow && m_desktop.isViewable(sourceWindow);
            },
            patience));
        const QRect from = m_desktop.rootGeometry(sourceWindow);
        QVERIFY(m_desktop.xdotool(
            {"mousemove", QString::number(from.center().x()), QString::number(from.center().y())}));
        const QPoint a = from.center(), b = controls().besideTheTiles();
        QVERIFY(b.x() >= 0);
        QVERIFY(m_desktop.xdotool(dragSteps(a, b)));
        QVERIFY2(DesktopSession::waitFor(
                     [&] {
                         return appsOnDisk(0) == QStringList({"/usr", first, second});
                     },
                     patience),
                 qPrintable(appsOnDisk(0).join(' ')));
        QTest::qWait(300);
        screenshot("4-two-files-dropped");
        source.kill();
        source.waitForFinished();
        QVERIFY(m_desktop.click(controls().besideTheTiles()));
        quitTraymate();
    }

    void corruptGroupsFileIsKeptAsideAndAppsStarts()
    {
        const QByteArray corrupt = "[{\"id\": \"not a uuid\", \"name\": \x01\xff broken";
        QVERIFY(writeFile(groupsPath(), corrupt));
        startTraymate();
        QVERIFY(waitShown(true));
        QVERIFY(DesktopSession::waitFor([&] { return groupNamesOnDisk() == QStringList{"Apps"}; },
                                        patience));
        const QStringList aside =
            QDir(data() + "/Traymate").entryList({"groups.json.unreadable-*"}, QDir::Files);
        QCOMPARE(aside.size(), 1);
        QCOMPARE(readFile(data() + "/Traymate/" + aside.first()), corrupt);
        QVERIFY(waitActive());
        QTest::qWait(300);
        screenshot("8-corrupt-groups-file");
        quitTraymate();
    }

    // Replaces the groups file as a sync tool or a checkout does: a new file renamed over it.
    bool replaceGroupsFile(const QJsonArray& groups) const
    {
        const QString fresh = data() + "/Traymate/.syncthing.groups.json.tmp";
        return writeFile(fresh, QJsonDocument(groups).toJson()) &&
               ::rename(QFile::encodeName(fresh).constData(),
                        QFile::encodeName(groupsPath()).constData()) == 0;
    }

    // Pixels of the panel in the red of the line that says the groups are not saved.
    int redPixelsInPanel(const QString& name)
    {
        screenshot(name);
        const QImage shot(screenshotPath(name));
        const QRect frame = m_desktop.rootGeometry(panel()).intersected(shot.rect());
        int red = 0;
        for (int y = frame.top(); y <= frame.bottom(); ++y)
            for (int x = frame.left(); x <= frame.right(); ++x) {
                const QColor c = shot.pixelColor(x, y);
                red += c.red() > 170 && c.green() < 70 && c.blue() < 90 ? 1 : 0;
            }
        return red;
    }

    void aGroupsFileChangedOutsideIsTakenUpAndNeverOverwritten()
    {
        const QJsonObject apps{{"id", "5A1B2C3D-4E5F-4071-8293-A4B5C6D7E8F9"},
                               {"name", "Apps"},
                               {"apps", QJsonArray{"/usr", "/etc"}}};
        QVERIFY(writeFile(groupsPath(), QJsonDocument(QJsonArray{apps}).toJson()));
        startTraymate();
        QVERIFY(waitActive());

        // Another machine added an item and a group; the panel is open meanwhile.
        QJsonObject synced = apps;
        synced["apps"] = QJsonArray{"/usr", "/etc", "/var"};
        const QJsonObject other{{"id", "0F3A5C2E-9B1D-4E7A-8C6B-2D4F6A8B0C1E"},
                                {"name", "Synced"},
                                {"apps", QJsonArray{"/tmp"}}};
        QVERIFY(replaceGroupsFile({synced, other}));
        QTest::qWait(500);
        screenshot("9-outside-change-shown");

        // A rename in the panel keeps what came from outside.
        QVERIFY(controls().clickTab("Apps", 3));
        QVERIFY(DesktopSession::waitFor([&] { return popupMenuShown(); }, patience));
        QVERIFY(m_desktop.xdotool({"key", "Down", "Return"}));
        QVERIFY2(waitDialog(true), "\"Rename\" showed no dialog");
        QVERIFY(m_desktop.xdotool({"type", "--delay", "30", "Tools"}));
        QVERIFY(m_desktop.xdotool({"key", "Return"}));
        QVERIFY(waitDialog(false));
        QVERIFY2(DesktopSession::waitFor(
                     [&] {
                         return groupNamesOnDisk() == QStringList({"Tools", "Synced"});
                     },
                     patience),
                 qPrintable(groupNamesOnDisk().join(", ")));
        QCOMPARE(appsOnDisk(0), QStringList({"/usr", "/etc", "/var"}));
        QCOMPARE(appsOnDisk(1), QStringList{"/tmp"});
        quitTraymate();
    }

    void aFailedSaveIsShownInThePanelAndWrittenWhenTheFolderIsBack()
    {
        // The groups file lives in a synced folder, linked from the program's folder.
        const QString synced = m_home->path() + "/sync";
        const QByteArray content =
            QJsonDocument(QJsonArray{QJsonObject{{"id", "5A1B2C3D-4E5F-4071-8293-A4B5C6D7E8F9"},
                                                 {"name", "Apps"},
                                                 {"apps", QJsonArray{"/usr", "/etc"}}}})
                .toJson();
        QVERIFY(writeFile(synced + "/groups.json", content));
        QVERIFY(QDir().mkpath(data() + "/Traymate"));
        QVERIFY(QFile::link(synced + "/groups.json", groupsPath()));
        startTraymate();
        QVERIFY(waitActive());
        QTest::qWait(300);
        QCOMPARE(redPixelsInPanel("10-saved"), 0);

        // The synced folder goes away (an unmounted share); a new group cannot be written.
        QVERIFY(QDir(synced).removeRecursively());
        QVERIFY(controls().clickButton("New Group"));
        QVERIFY2(waitDialog(true), "\"New Group\" showed no dialog");
        QVERIFY(m_desktop.xdotool({"type", "--delay", "30", "Mine"}));
        QVERIFY(m_desktop.xdotool({"key", "Return"}));
        QVERIFY(waitDialog(false));
        QTest::qWait(500);
        QVERIFY2(redPixelsInPanel("10-not-saved") > 30, "the panel shows no failed save");

        // The folder is back: the groups are written without another edit, the line goes.
        QVERIFY(QDir().mkpath(synced));
        QVERIFY(DesktopSession::waitFor(
            [&] {
                return groupNamesOnDisk() == QStringList({"Apps", "Mine"});
            },
            patience));
        QVERIFY(QFileInfo(groupsPath()).isSymLink());
        QTest::qWait(300);
        QCOMPARE(redPixelsInPanel("10-saved-again"), 0);
        quitTraymate();
    }
};

TRAYMATE_TEST_MAIN(EndToEndJourneys)
#include "tst_e2e_journeys.moc"
