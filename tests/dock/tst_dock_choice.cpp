#include "dock/dock_choice.h"
#include "dock/file_dock_preferences.h"
#include "dock/gnome_dock_preferences.h"
#include "dock/plank_dock_preferences.h"
#include "linux_dock_fixture.h"
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
        QDir(PlankDockPreferences::defaultFolder()).removeRecursively();
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
            << surroundings("Gnome", "KDE", true, false, false) << DockKind::File;
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
        QDir().mkpath(PlankDockPreferences::defaultFolder());
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
        std::unique_ptr<DockPreferences> dock = makePlatformDockPreferences();
        const auto* plank = dynamic_cast<PlankDockPreferences*>(dock.get());
        QVERIFY(plank);
        QCOMPARE(plank->folder(),
                 qEnvironmentVariable("XDG_CONFIG_HOME") + "/plank/dock1/launchers");

        setDesktop("", "");
        dock = makePlatformDockPreferences();
        QVERIFY(dynamic_cast<FileDockPreferences*>(dock.get()));
        QDir().mkpath(PlankDockPreferences::defaultFolder());
        dock = makePlatformDockPreferences();
        QVERIFY(dynamic_cast<PlankDockPreferences*>(dock.get()));
    }

    void aMissingGnomeSchemaDoesNotEndTheProgram()
    {
        // GNOME named, schema missing from the default source: the stand-in file.
        setDesktop("", "GNOME");
        std::unique_ptr<DockPreferences> dock = makePlatformDockPreferences();
        QVERIFY(dynamic_cast<FileDockPreferences*>(dock.get()));

        // Asked for by name, it is used but reads as empty and changes nothing.
        setDesktop("gnome", "GNOME");
        dock = makePlatformDockPreferences();
        auto* gnome = dynamic_cast<GnomeDockPreferences*>(dock.get());
        QVERIFY(gnome);
        QVERIFY(!gnome->isAvailable());
        QCOMPARE(gnome->exportDomain(), QByteArray());
        gnome->appendTile(QStringLiteral("<dict/>"));
        gnome->importDomain(dir.filePath("none.plist"));
        QCOMPARE(gnome->favorites(), QStringList());
    }
};

TRAYMATE_TEST_MAIN(DockChoiceTest)
#include "tst_dock_choice.moc"
