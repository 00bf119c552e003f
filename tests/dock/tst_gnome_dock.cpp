#include "dock/dock_import.h"
#include "dock/launcher_files.h"
#include "dock/launchers.h"
#include "dock/pinned_entries_dock.h"
#include "linux_dock_fixture.h"
#include "model/store.h"
#include "platform/linux/gnome_dash_entries.h"
#include "test_environment.h"

#include <QTemporaryDir>

using namespace DockTest;
using namespace LinuxDockTest;

namespace {

const char* const kShell = GnomeDashEntries::schemaId;
const char* const kFavorites = GnomeDashEntries::key;

AppGroup group(const QString& name)
{
    AppGroup g;
    g.name = name;
    return g;
}

QString launcherId(const AppGroup& g)
{
    return QFileInfo(Launchers::desktopEntryPath(g.id)).fileName();
}

} // namespace

class GnomeDockTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString system = dir.filePath("system");
    std::unique_ptr<SchemaSource> schemas;
    std::unique_ptr<ScopedDock<PinnedEntriesDock>> dock;
    // The user's favourites before the program touches them; "gone.desktop" names no file.
    const QStringList others = {"firefox-esr.desktop", "gone.desktop", "org.gnome.Nautilus.desktop",
                                "kde-org.kde.konsole.desktop"};

    GnomeDashEntries& dash() const { return static_cast<GnomeDashEntries&>((*dock)->entries()); }
    QStringList favorites() const { return schemas->read(kShell, kFavorites); }
    void setFavorites(const QStringList& ids) { schemas->write(kShell, kFavorites, ids); }

public:
    GnomeDockTest()
    {
        // Before anything makes GSettings: the key lives in this process only.
        qputenv("GSETTINGS_BACKEND", "memory");
        qputenv("XDG_DATA_DIRS", QFile::encodeName(system));
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (!schemasBuilt())
            QSKIP("the GNOME Shell schema is not installed (scripts/install-deps installs it)");
        schemas = std::make_unique<SchemaSource>("all");
        QVERIFY(schemas->get());
        UsualApplications apps(system);
    }
    void init()
    {
        setFavorites(others);
        dock = std::make_unique<ScopedDock<PinnedEntriesDock>>(
            std::make_unique<GnomeDashEntries>(schemas->get()));
        QVERIFY(dash().isAvailable());
    }
    void cleanup()
    {
        dock.reset();
        QDir(Launchers::root()).removeRecursively();
        QDir(qEnvironmentVariable("XDG_DATA_HOME") + "/applications").removeRecursively();
    }

    void entriesResolveEachIdAndLeaveOutTheUnresolvable()
    {
        // "kde-" stands for the sub-folder; "gone.desktop" names nothing.
        QCOMPARE(dash().entries(),
                 QStringList({system + "/applications/firefox-esr.desktop",
                              system + "/applications/org.gnome.Nautilus.desktop",
                              system + "/applications/kde/org.kde.konsole.desktop"}));

        // The user's own copy of an entry comes before the system's.
        const QString own =
            entry(qEnvironmentVariable("XDG_DATA_HOME"), "firefox-esr.desktop", "Mine", "");
        QCOMPARE(DockImport::dockApps(),
                 QStringList({own, system + "/applications/org.gnome.Nautilus.desktop",
                              system + "/applications/kde/org.kde.konsole.desktop"}));
    }

    void idsThatClimbOutOfTheApplicationsFolderResolveToNothing()
    {
        entry(system, "../escape.desktop", "Out", "");
        setFavorites({"../escape.desktop", "/etc/passwd", ".hidden.desktop", ""});
        QCOMPARE(DockImport::dockApps(), QStringList());
        QCOMPARE(favorites().size(), 4);
    }

    void createRenameAndDeleteKeepTheOtherFavorites()
    {
        AppGroup g = group("Work");
        Launchers::addToDock(g);
        // The entry is there before its id is.
        QVERIFY(QFileInfo::exists(Launchers::desktopEntryPath(g.id)));
        QCOMPARE(favorites(), others + QStringList{launcherId(g)});
        QCOMPARE(DockImport::dockApps().last(), Launchers::bundleURL("Work"));

        // Again: nothing is added twice.
        Launchers::addToDock(g);
        QCOMPARE(favorites(), others + QStringList{launcherId(g)});

        AppGroup renamed = g;
        renamed.name = QStringLiteral("Work/Play");
        Launchers::renamed(g, renamed);
        QCOMPARE(favorites(), others + QStringList{launcherId(g)});
        QCOMPARE(DockImport::dockApps().last(), Launchers::bundleURL("Work/Play"));
        QVERIFY(!QFileInfo::exists(Launchers::bundleURL("Work")));

        Launchers::removed(renamed);
        QCOMPARE(favorites(), others);
        QVERIFY(!QFileInfo::exists(Launchers::desktopEntryPath(g.id)));
    }

    void removalInTheMiddleKeepsTheOrderAround()
    {
        AppGroup g = group("Mail");
        Launchers::addToDock(g);
        QStringList moved = others;
        moved.insert(2, launcherId(g));
        setFavorites(moved);
        QCOMPARE(DockImport::dockApps()[1], Launchers::bundleURL("Mail"));

        // A rename puts the launcher at the end, once.
        AppGroup renamed = g;
        renamed.name = QStringLiteral("Post");
        Launchers::renamed(g, renamed);
        QCOMPARE(favorites(), others + QStringList{launcherId(g)});

        setFavorites(moved);
        Launchers::removeFromDock(Launchers::bundleURL("Post"));
        QCOMPARE(favorites(), others);
    }

    void aPathThatNamesNoLauncherAddsNothing()
    {
        (*dock)->addLauncher(system + "/applications/code.desktop");
        // A bundle whose entry is gone: its id would only be hidden by the dash.
        AppGroup g = group("NoEntry");
        QVERIFY(Launchers::make(g));
        QFile::remove(Launchers::desktopEntryPath(g.id));
        (*dock)->addLauncher(Launchers::bundleURL("NoEntry"));
        QCOMPARE(favorites(), others);
        // An entry the dash cannot find by its id is refused rather than hidden.
        const QString elsewhere = dir.filePath("elsewhere/code.desktop");
        writeFile(elsewhere, "[Desktop Entry]\nType=Application\nName=C\nExec=true\n");
        QVERIFY(!dash().pin(elsewhere));
        QCOMPARE(favorites(), others);
    }

    void anUnpinnedEntryWhoseFileIsGoneGoesByItsId()
    {
        AppGroup g = group("Gone");
        Launchers::addToDock(g);
        QCOMPARE(favorites(), others + QStringList{launcherId(g)});
        QFile::remove(Launchers::desktopEntryPath(g.id));
        QVERIFY(dash().unpin(Launchers::desktopEntryPath(g.id)));
        QCOMPARE(favorites(), others);
    }

    void withoutTheSchemaNothingIsReadOrWritten()
    {
        const SchemaSource plankOnly("plank");
        GnomeDashEntries missing(plankOnly.get());
        QVERIFY(!missing.isAvailable());
        QCOMPARE(missing.entries(), std::nullopt);
        AppGroup g = group("Lost");
        QVERIFY(Launchers::make(g));
        QVERIFY(!missing.pin(Launchers::desktopEntryPath(g.id)));
        QVERIFY(!missing.unpin(system + "/applications/firefox-esr.desktop"));
        QCOMPARE(favorites(), others);
    }

    void importGroupsTheFavoritesByCategory()
    {
        AppGroup seeded;
        seeded.name = QStringLiteral("Apps");
        Store store(dir.filePath("store"));
        store.setGroups({seeded});
        const QStringList ids = {"firefox-esr.desktop",         "org.gnome.Nautilus.desktop",
                                 "kde-org.kde.konsole.desktop", "code.desktop",
                                 "org.gnome.Mines.desktop",     "gone.desktop"};
        setFavorites(ids);
        DockImport::importDockGrouped(store);

        const QString apps = system + "/applications/";
        QStringList names;
        for (const AppGroup& g : store.groups())
            names.append(g.name);
        QCOMPARE(names, QStringList({"Developer Tools", "Games", "Internet", "Utilities"}));
        QCOMPARE(store.groups()[0].apps, QStringList{apps + "code.desktop"});
        QCOMPARE(store.groups()[1].apps, QStringList{apps + "org.gnome.Mines.desktop"});
        QCOMPARE(store.groups()[2].apps, QStringList{apps + "firefox-esr.desktop"});
        QCOMPARE(store.groups()[3].apps, QStringList({apps + "org.gnome.Nautilus.desktop",
                                                      apps + "kde/org.kde.konsole.desktop"}));
        QCOMPARE(store.selected(), std::optional(store.groups()[0].id));
        // Reading the dash changed nothing in it.
        QCOMPARE(favorites(), ids);
    }
};

TRAYMATE_TEST_MAIN(GnomeDockTest)
#include "tst_gnome_dock.moc"
