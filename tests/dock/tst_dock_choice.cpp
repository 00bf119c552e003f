#include "dock/file_dock_preferences.h"
#include "dock/pinned_entries_dock.h"
#include "linux_dock_fixture.h"
#include "platform/linux/dock_choice.h"
#include "platform/linux/gnome_dash_entries.h"
#include "platform/linux/plank_entries.h"
#include "test_environment.h"

#include <QTemporaryDir>

using namespace LinuxDockTest;

namespace {

DockSurroundings surroundings(QString requested, QString desktop, bool schema, bool folder,
                              bool running)
{
    return {std::move(requested), std::move(desktop), schema, folder, running};
}

} // namespace

class DockChoiceTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

    void setDesktop(const char* requested, const char* desktop)
    {
        qputenv("TRAYMATE_DOCK", requested);
        qputenv("XDG_CURRENT_DESKTOP", desktop);
    }

public:
    DockChoiceTest()
    {
        // The default schema source of this process holds Plank's schema but not GNOME
        // Shell's, whatever the machine has installed.
        qputenv("GSETTINGS_BACKEND", "memory");
        qputenv("GSETTINGS_SCHEMA_DIR", TRAYMATE_TEST_SCHEMAS "/plank");
        qputenv("XDG_DATA_DIRS", QFile::encodeName(dir.filePath("system")));
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (!schemasBuilt())
            QSKIP("the GNOME Shell and Plank schemas are not installed");
    }
    void cleanup()
    {
        qunsetenv("TRAYMATE_DOCK");
        qunsetenv("XDG_CURRENT_DESKTOP");
        QDir(PlankEntries::defaultFolder()).removeRecursively();
    }

    void theRulesInOrder_data()
    {
        QTest::addColumn<DockSurroundings>("seen");
        QTest::addColumn<DockKind>("kind");
        QTest::newRow("nothing") << surroundings("", "", false, false, false) << DockKind::File;
        QTest::newRow("asked for the file on GNOME")
            << surroundings("file", "GNOME", true, true, true) << DockKind::File;
        QTest::newRow("asked for Plank on GNOME")
            << surroundings("plank", "GNOME", true, false, false) << DockKind::Plank;
        QTest::newRow("asked for GNOME elsewhere")
            << surroundings("gnome", "XFCE", false, true, false) << DockKind::Gnome;
        QTest::newRow("an unknown name is passed over")
            << surroundings("Gnome", "KDE", true, false, false) << DockKind::Plasma;
        QTest::newRow("asked for each panel by name")
            << surroundings("xfce", "MATE", false, true, true) << DockKind::Xfce;
        QTest::newRow("asked for MATE")
            << surroundings("mate", "", false, false, false) << DockKind::Mate;
        QTest::newRow("asked for Plasma")
            << surroundings("plasma", "", false, false, false) << DockKind::Plasma;
        QTest::newRow("asked for Cinnamon")
            << surroundings("cinnamon", "XFCE", false, false, false) << DockKind::Cinnamon;
        QTest::newRow("Xfce") << surroundings("", "XFCE", false, false, false) << DockKind::Xfce;
        QTest::newRow("MATE") << surroundings("", "MATE", false, false, false) << DockKind::Mate;
        QTest::newRow("KDE") << surroundings("", "KDE", false, false, false) << DockKind::Plasma;
        QTest::newRow("Cinnamon on Mint")
            << surroundings("", "X-Cinnamon", false, false, false) << DockKind::Cinnamon;
        QTest::newRow("Cinnamon elsewhere")
            << surroundings("", "Cinnamon", false, false, false) << DockKind::Cinnamon;
        QTest::newRow("Xfce named second")
            << surroundings("", "Budgie:XFCE", false, false, false) << DockKind::Xfce;
        QTest::newRow("a name that only begins like KDE")
            << surroundings("", "KDE-Legacy", false, false, false) << DockKind::File;
        QTest::newRow("Plank running on KDE")
            << surroundings("", "KDE", false, false, true) << DockKind::Plank;
        QTest::newRow("GNOME") << surroundings("", "GNOME", true, true, true) << DockKind::Gnome;
        QTest::newRow("Ubuntu") << surroundings("", "ubuntu:GNOME", true, false, false)
                                << DockKind::Gnome;
        QTest::newRow("Flashback")
            << surroundings("", "GNOME-Flashback:GNOME", true, false, false) << DockKind::Gnome;
        QTest::newRow("GNOME without the schema")
            << surroundings("", "GNOME", false, false, false) << DockKind::File;
        QTest::newRow("GNOME without the schema, with Plank")
            << surroundings("", "GNOME", false, true, false) << DockKind::Plank;
        QTest::newRow("a name that only begins like GNOME")
            << surroundings("", "GNOME-Classic", true, false, false) << DockKind::File;
        QTest::newRow("Plank's folder")
            << surroundings("", "XFCE", false, true, false) << DockKind::Plank;
        QTest::newRow("Plank running")
            << surroundings("", "", false, false, true) << DockKind::Plank;
    }
    void theRulesInOrder()
    {
        QFETCH(DockSurroundings, seen);
        QFETCH(DockKind, kind);
        QCOMPARE(chooseDock(seen), kind);
    }

    void surroundingsAreReadFromTheProcess()
    {
        const SchemaSource all("all");
        const SchemaSource plankOnly("plank");
        setDesktop("", "ubuntu:GNOME");
        QVERIFY(observeDockSurroundings(all.get()).gnomeShellSchema);
        QVERIFY(!observeDockSurroundings(plankOnly.get()).gnomeShellSchema);
        // Not a GNOME desktop: the schema does not matter.
        setDesktop("", "KDE");
        QVERIFY(!observeDockSurroundings(all.get()).gnomeShellSchema);

        QVERIFY(!observeDockSurroundings(all.get()).plankFolder);
        QDir().mkpath(PlankEntries::defaultFolder());
        QVERIFY(observeDockSurroundings(all.get()).plankFolder);

        setDesktop("file", "GNOME");
        const DockSurroundings asked = observeDockSurroundings(all.get());
        QCOMPARE(asked.requested, QStringLiteral("file"));
        QCOMPARE(asked.currentDesktop, QStringLiteral("GNOME"));
        QCOMPARE(chooseDock(asked), DockKind::File);
    }

    void theProgramsDockFollowsTheChoice()
    {
        setDesktop("plank", "");
        std::unique_ptr<Dock> dock = makePlatformDock();
        auto* pinned = dynamic_cast<PinnedEntriesDock*>(dock.get());
        QVERIFY(pinned);
        const auto* plank = dynamic_cast<PlankEntries*>(&pinned->entries());
        QVERIFY(plank);
        QCOMPARE(plank->folder(),
                 qEnvironmentVariable("XDG_CONFIG_HOME") + "/plank/dock1/launchers");

        setDesktop("", "");
        dock = makePlatformDock();
        QVERIFY(dynamic_cast<FileDockPreferences*>(dock.get()));
        QDir().mkpath(PlankEntries::defaultFolder());
        dock = makePlatformDock();
        pinned = dynamic_cast<PinnedEntriesDock*>(dock.get());
        QVERIFY(pinned && dynamic_cast<PlankEntries*>(&pinned->entries()));
    }

    void aMissingGnomeSchemaDoesNotEndTheProgram()
    {
        // GNOME named, schema missing from the default source: the stand-in file.
        setDesktop("", "GNOME");
        std::unique_ptr<Dock> dock = makePlatformDock();
        QVERIFY(dynamic_cast<FileDockPreferences*>(dock.get()));

        // Asked for by name, it is used but reads as empty and changes nothing.
        setDesktop("gnome", "GNOME");
        dock = makePlatformDock();
        auto* pinned = dynamic_cast<PinnedEntriesDock*>(dock.get());
        QVERIFY(pinned);
        auto* gnome = dynamic_cast<GnomeDashEntries*>(&pinned->entries());
        QVERIFY(gnome);
        QVERIFY(!gnome->isAvailable());
        QCOMPARE(dock->items(), QStringList());
        QVERIFY(!gnome->pin(dir.filePath("none.desktop")));
        QVERIFY(!dock->removeItems(dir.filePath("none.desktop")));
        QCOMPARE(gnome->favorites(), QStringList());
    }
};

TRAYMATE_TEST_MAIN(DockChoiceTest)
#include "tst_dock_choice.moc"
