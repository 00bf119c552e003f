#include "dock/dock_tiles.h"
#include "dock/launcher_files.h"
#include "dock/launchers.h"
#include "dock/plank_dock_preferences.h"
#include "linux_dock_fixture.h"
#include "model/store.h"
#include "test_environment.h"

#include <QTemporaryDir>
#include <QUrl>

using namespace DockTest;
using namespace LinuxDockTest;

namespace {

const char* const kOrderSchema = PlankDockPreferences::orderSchemaId;
const char* const kOrderKey = PlankDockPreferences::orderKey;
const char* const kOrderPath = PlankDockPreferences::orderPath;

AppGroup group(const QString& name)
{
    AppGroup g;
    g.name = name;
    return g;
}

QByteArray dockitem(const QString& desktopFile)
{
    return "[PlankDockItemPreferences]\nLauncher=" + QUrl::fromLocalFile(desktopFile).toEncoded() +
           "\n";
}

QString itemName(const AppGroup& g)
{
    return QFileInfo(Launchers::desktopEntryPath(g.id)).completeBaseName() + ".dockitem";
}

} // namespace

class PlankDockTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString system = dir.filePath("system");
    QString folder = PlankDockPreferences::defaultFolder();
    std::unique_ptr<SchemaSource> schemas;
    std::unique_ptr<UsualApplications> apps;
    std::unique_ptr<ScopedDock<PlankDockPreferences>> dock;

    // Every file in the launcher folder, hidden ones too, with its bytes.
    QMap<QString, QByteArray> folderContent() const
    {
        QMap<QString, QByteArray> content;
        for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden))
            content.insert(name, readAll(folder + "/" + name));
        return content;
    }

    // The user's dock: three applications, a folder item written with a plain path in the old
    // group, an item whose entry is gone, and files Plank does not read.
    QMap<QString, QByteArray> userDock()
    {
        writeFile(folder + "/firefox-esr.dockitem", dockitem(apps->browser));
        writeFile(folder + "/org.gnome.Nautilus.dockitem", dockitem(apps->files));
        writeFile(folder + "/org.kde.konsole.dockitem", dockitem(apps->terminal));
        QDir().mkpath(system + "/Downloads");
        writeFile(folder + "/Downloads.dockitem",
                  "[PlankItemsDockItemPreferences]\nLauncher=" + system.toUtf8() + "/Downloads\n");
        writeFile(folder + "/gone.dockitem", dockitem(system + "/applications/gone.desktop"));
        writeFile(folder + "/notes.txt", "not an item");
        writeFile(folder + "/.hidden.dockitem", dockitem(apps->game));
        schemas->write(kOrderSchema, kOrderKey,
                       {"org.kde.konsole.dockitem", "stale.dockitem", "firefox-esr.dockitem",
                        "gone.dockitem", "org.gnome.Nautilus.dockitem"},
                       kOrderPath);
        return folderContent();
    }

public:
    PlankDockTest()
    {
        qputenv("GSETTINGS_BACKEND", "memory");
        qputenv("XDG_DATA_DIRS", QFile::encodeName(system));
    }

private Q_SLOTS:
    void initTestCase()
    {
        if (!schemasBuilt())
            QSKIP("Plank's schema is not installed (scripts/install-deps installs it)");
        schemas = std::make_unique<SchemaSource>("all");
        apps = std::make_unique<UsualApplications>(system);
    }
    void init()
    {
        dock = std::make_unique<ScopedDock<PlankDockPreferences>>(folder, schemas->get());
    }
    void cleanup()
    {
        dock.reset();
        QDir(folder).removeRecursively();
        QDir(Launchers::root()).removeRecursively();
        QDir(qEnvironmentVariable("XDG_DATA_HOME") + "/applications").removeRecursively();
    }

    void itemsFollowPlanksOrderThenTheirNames()
    {
        userDock();
        QCOMPARE((*dock)->itemNames(),
                 QStringList({"org.kde.konsole.dockitem", "firefox-esr.dockitem", "gone.dockitem",
                              "org.gnome.Nautilus.dockitem", "Downloads.dockitem"}));
        // Only applications count; the folder and the entry that is gone do not.
        QCOMPARE(Store::dockApps(), QStringList({apps->terminal, apps->browser, apps->files}));

        // Without Plank's schema the names alone decide.
        const SchemaSource gnomeOnly("gnome");
        PlankDockPreferences unordered(folder, gnomeOnly.get());
        QCOMPARE(unordered.itemNames(),
                 QStringList({"Downloads.dockitem", "firefox-esr.dockitem", "gone.dockitem",
                              "org.gnome.Nautilus.dockitem", "org.kde.konsole.dockitem"}));
    }

    void eachTileKeepsItsItemName()
    {
        userDock();
        const PropertyList::Node domain = PropertyList::parse((*dock)->exportDomain());
        plist_t tiles = persistentApps(domain.get());
        QVERIFY(tiles);
        QCOMPARE(plist_array_get_size(tiles), 5u);
        plist_t folderTile = plist_array_get_item(tiles, 4);
        QCOMPARE(PropertyList::stringAt(folderTile, PlankDockPreferences::nameKey),
                 std::optional<QString>("Downloads.dockitem"));
        QCOMPARE(tilePath(folderTile), std::optional(system + "/Downloads"));
        // The item whose entry is gone has no location, but keeps its name.
        plist_t goneTile = plist_array_get_item(tiles, 2);
        QCOMPARE(tilePath(goneTile), std::nullopt);
        QCOMPARE(PropertyList::stringAt(goneTile, PlankDockPreferences::nameKey),
                 std::optional<QString>("gone.dockitem"));
    }

    void createRenameAndDeleteTouchOnlyTheLaunchersItem()
    {
        const QMap<QString, QByteArray> before = userDock();
        AppGroup g = group("Work");
        Launchers::addToDock(g);

        QMap<QString, QByteArray> expected = before;
        expected.insert(itemName(g), dockitem(Launchers::desktopEntryPath(g.id)));
        QCOMPARE(folderContent(), expected);
        QCOMPARE(Store::dockApps().last(), Launchers::bundleURL("Work"));

        // Again: Plank would delete a second item for the same entry.
        Launchers::addToDock(g);
        QCOMPARE(folderContent(), expected);

        AppGroup renamed = g;
        renamed.name = QStringLiteral("Play");
        Launchers::renamed(g, renamed);
        QCOMPARE(folderContent(), expected);
        QCOMPARE(Store::dockApps().last(), Launchers::bundleURL("Play"));

        Launchers::removed(renamed);
        QCOMPARE(folderContent(), before);
    }

    void anImportDeletesOnlyExportedItemsItDoesNotKeep()
    {
        userDock();
        const QByteArray exported = (*dock)->exportDomain();
        // Plank adds an item between the export and the import.
        writeFile(folder + "/org.gnome.Mines.dockitem", dockitem(apps->game));
        const QString kept = dir.filePath("kept.plist");
        writeFile(kept, domainWithout(exported, apps->browser).value());
        (*dock)->importDomain(kept);
        QVERIFY(!QFileInfo::exists(folder + "/firefox-esr.dockitem"));
        QVERIFY(QFileInfo::exists(folder + "/org.gnome.Mines.dockitem"));
        QCOMPARE((*dock)->itemNames().size(), 5);

        // A file that is no domain deletes nothing.
        writeFile(kept, "no property list");
        (*dock)->exportDomain();
        (*dock)->importDomain(kept);
        QCOMPARE((*dock)->itemNames().size(), 5);
    }

    void aTakenNameGetsANumber()
    {
        AppGroup g = group("Mail");
        const QString taken = folder + "/" + itemName(g);
        writeFile(taken, dockitem(apps->editor));
        Launchers::addToDock(g);
        const QString numbered = QString(taken).replace(".dockitem", "-1.dockitem");
        QCOMPARE(readAll(numbered), dockitem(Launchers::desktopEntryPath(g.id)));
        QCOMPARE(readAll(taken), dockitem(apps->editor));

        Launchers::removed(g);
        QVERIFY(!QFileInfo::exists(numbered));
        QVERIFY(QFileInfo::exists(taken));
    }

    void aTileThatNamesNoLauncherWritesNoItem()
    {
        (*dock)->appendTile(Launchers::tileText(apps->editor));
        AppGroup g = group("NoEntry");
        QVERIFY(Launchers::make(g));
        QFile::remove(Launchers::desktopEntryPath(g.id));
        (*dock)->appendTile(Launchers::tileText(Launchers::bundleURL("NoEntry")));
        QVERIFY(folderContent().isEmpty());
    }

    void importGroupsTheItemsByCategory()
    {
        writeFile(folder + "/firefox-esr.dockitem", dockitem(apps->browser));
        writeFile(folder + "/code.dockitem", dockitem(apps->editor));
        writeFile(folder + "/org.gnome.Mines.dockitem", dockitem(apps->game));
        writeFile(folder + "/gone.dockitem", dockitem(system + "/applications/gone.desktop"));
        schemas->write(kOrderSchema, kOrderKey, {}, kOrderPath);
        Store store(dir.filePath("store"));
        store.setGroups({group("Apps")});
        store.importDockGrouped();
        QStringList names;
        for (const AppGroup& g : store.groups())
            names.append(g.name);
        QCOMPARE(names, QStringList({"Developer Tools", "Games", "Internet"}));
        QCOMPARE(store.groups()[0].apps, QStringList{apps->editor});
    }
};

TRAYMATE_TEST_MAIN(PlankDockTest)
#include "tst_plank_dock.moc"
