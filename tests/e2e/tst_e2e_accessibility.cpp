#include "accessible_tree.h"
#include "desktop_session.h"
#include "program_home.h"
#include "screen_reader_bus.h"
#include "test_environment.h"
#include "test_files.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <memory>

namespace {

constexpr int patience = 10000; // ms

using Found = AccessibleObject;

} // namespace

// The real program read by a screen reader's means: on its own X desktop with a private
// session bus where the AT-SPI bus launcher runs, which the program finds as under a desktop,
// a pyatspi script lists what it finds of "traymate" and the test checks the panel's tiles,
// tabs and controls among it.
class EndToEndAccessibility : public QObject {
    Q_OBJECT

    DesktopSession m_desktop;
    ScreenReaderBus m_screenReader;
    ProgramHome m_home;
    std::unique_ptr<QProcess> m_traymate;

    QProcessEnvironment environment() const
    {
        QProcessEnvironment environment = m_home.environment(m_desktop.environment());
        m_screenReader.addTo(environment);
        return environment;
    }

    QString entry(const QString& file, const QString& name) const
    {
        const QString path = m_home.data() + "/applications/" + file;
        writeFile(path, QStringLiteral("[Desktop Entry]\nType=Application\nName=%1\n"
                                       "Exec=true\n")
                            .arg(name)
                            .toUtf8());
        return path;
    }

    bool panelShown() const
    {
        for (const xcb_window_t window : m_desktop.windowsTitled("Traymate"))
            if (m_desktop.isManaged(window) && m_desktop.isViewable(window))
                return true;
        return false;
    }

    // What the screen reader's library finds of the program now.
    QList<Found> tree() const
    {
        QString error;
        const QList<Found> found = AccessibleTree(environment(), "traymate").objects(&error);
        if (found.isEmpty())
            qWarning() << error;
        return found;
    }

    static QList<Found> withRole(const QList<Found>& all, const QString& role)
    {
        return AccessibleTree::withRole(all, role);
    }
    static const Found* named(const QList<Found>& all, const QString& name)
    {
        return AccessibleTree::named(all, name);
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (!QFile::exists("/usr/bin/python3"))
            QFAIL("needs python3-pyatspi (scripts/install-deps)");
        QString error;
        QVERIFY2(m_desktop.start(&error), qPrintable(error));
        QVERIFY2(m_screenReader.start(m_desktop.environment(), &error), qPrintable(error));
        QVERIFY(m_home.isValid());
    }

    void cleanupTestCase()
    {
        if (m_traymate) {
            m_traymate->kill();
            m_traymate->waitForFinished(patience);
        }
    }

    void aScreenReaderFindsTheTilesTabsAndControls()
    {
        const QString browser = entry("browser.desktop", "Web Browser");
        const QString editor = entry("editor.desktop", "Code Editor");
        QVERIFY(writeFile(
            m_home.data() + "/Traymate/groups.json",
            QJsonDocument(QJsonArray{QJsonObject{{"id", "5A1B2C3D-4E5F-4071-8293-A4B5C6D7E8F9"},
                                                 {"name", "Tools"},
                                                 {"apps", QJsonArray{browser, editor}}},
                                     QJsonObject{{"id", "6A1B2C3D-4E5F-4071-8293-A4B5C6D7E8F9"},
                                                 {"name", "Other"},
                                                 {"apps", QJsonArray{}}}})
                .toJson()));
        m_traymate = std::make_unique<QProcess>();
        m_traymate->setProcessEnvironment(environment());
        m_traymate->setProcessChannelMode(QProcess::ForwardedChannels);
        m_traymate->start(TRAYMATE_PROGRAM, QStringList());
        QVERIFY(m_traymate->waitForStarted());
        QVERIFY2(DesktopSession::waitFor([&] { return panelShown(); }, patience),
                 "the first start opened no panel");

        const QList<Found> all = tree();
        QVERIFY2(!all.isEmpty(), "no application traymate on the accessibility bus");

        const QList<Found> buttons = withRole(all, "push button");
        for (const QString name : {"Web Browser", "Code Editor"}) {
            const Found* tile = named(buttons, name);
            QVERIFY2(tile, qPrintable(name + " is no button"));
            QVERIFY2(tile->actions.contains("Press"), qPrintable(tile->actions.join(',')));
            QVERIFY(tile->actions.contains("ShowMenu"));
        }
        const Found* list = named(withRole(all, "list"), "Tools");
        QVERIFY2(list, "the tiles are in no list named after their group");

        const QList<Found> tabs = withRole(all, "page tab");
        QCOMPARE(tabs.size(), 2);
        QCOMPARE(tabs[0].name, QStringLiteral("Tools"));
        QVERIFY(tabs[0].states.contains("selected"));
        QCOMPARE(tabs[1].name, QStringLiteral("Other"));
        QVERIFY(!tabs[1].states.contains("selected"));
        QVERIFY(tabs[1].states.contains("selectable"));
        QCOMPARE(withRole(all, "page tab list").size(), 1);

        for (const QString name : {"Settings", "Close", "Add", "Quit"})
            QVERIFY2(named(buttons, name), qPrintable(name));
        const Found* keepOpen = named(all, "Keep open");
        QVERIFY2(keepOpen && keepOpen->role == AccessibleRole::toggle,
                 "the keep-open button is no toggle");
        QVERIFY(!keepOpen->states.contains("checked"));
        for (const Found& button : buttons)
            QVERIFY2(!button.name.isEmpty(), "a button without a name");
        const Found* search = named(all, "Search");
        QVERIFY2(search && (search->role == "text" || search->role == "entry"), "no search field");

        // The keyboard's tile is the focused one.
        QVERIFY(m_desktop.xdotool({"key", "--delay", "100", "Down", "Right"}));
        QTest::qWait(300);
        const QList<Found> after = tree();
        const Found* editorTile = named(withRole(after, "push button"), "Code Editor");
        QVERIFY(editorTile);
        QVERIFY2(editorTile->states.contains("focused"), qPrintable(editorTile->states.join(',')));
        QVERIFY(!named(withRole(after, "push button"), "Web Browser")->states.contains("focused"));
    }
};

TRAYMATE_TEST_MAIN(EndToEndAccessibility)
#include "tst_e2e_accessibility.moc"
