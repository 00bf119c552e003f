#include "dock/dock_import.h"
#include "dock/launcher_files.h"
#include "dock/launchers.h"
#include "dock/pinned_entries_dock.h"
#include "linux_dock_fixture.h"
#include "model/store.h"
#include "platform/linux/plank_entries.h"
#include "test_environment.h"

#include <QTemporaryDir>
#include <QUrl>

using namespace DockTest;
using namespace LinuxDockTest;

namespace {

const char* const kOrderSchema = PlankEntries::orderSchemaId;
const char* const kOrderKey = PlankEntries::orderKey;
const char* const kOrderPath = PlankEntries::orderPath;

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
    QString folder = PlankEntries::defaultFolder();
    std::unique_ptr<SchemaSource> schemas;
    std::unique_ptr<UsualApplications> apps;
    std::unique_ptr<ScopedDock<PinnedEntriesDock>> dock;

    PlankEntries& plank() const { return static_cast<PlankEntries&>((*dock)->entries()); }

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
        dock = std::make_unique<ScopedDock<PinnedEntriesDock>>(
            std::make_unique<PlankEntries>(folder, schemas->get()));
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
        QCOMPARE(plank().itemNames(),
                 QStringList({"org.kde.konsole.dockitem", "firefox-esr.dockitem", "gone.dockitem",
                              "org.gnome.Nautilus.dockitem", "Downloads.dockitem"}));
        // Only applications count; the folder and the entry that is gone do not.
        QCOMPARE(DockImport::dockApps(), QStringList({apps->terminal, apps->browser, apps->files}));

        // Without Plank's schema the names alone decide.
        const SchemaSource gnomeOnly("gnome");
        PlankEntries unordered(folder, gnomeOnly.get());
        QCOMPARE(unordered.itemNames(),
                 QStringList({"Downloads.dockitem", "firefox-esr.dockitem", "gone.dockitem",
                              "org.gnome.Nautilus.dockitem", "org.kde.konsole.dockitem"}));
    }

    void entriesAreTheApplicationsWhoseEntryIsThere()
    {
        userDock();
        QCOMPARE(plank().entries(), QStringList({apps->terminal, apps->browser, apps->files}));
    }

    void createRenameAndDeleteTouchOnlyTheLaunchersItem()
    {
        const QMap<QString, QByteArray> before = userDock();
        AppGroup g = group("Work");
        Launchers::addToDock(g);

        QMap<QString, QByteArray> expected = before;
        expected.insert(itemName(g), dockitem(Launchers::desktopEntryPath(g.id)));
        QCOMPARE(folderContent(), expected);
        QCOMPARE(DockImport::dockApps().last(), Launchers::bundleURL("Work"));

        // Again: Plank would delete a second item for the same entry.
        Launchers::addToDock(g);
        QCOMPARE(folderContent(), expected);

        AppGroup renamed = g;
        renamed.name = QStringLiteral("Play");
        Launchers::renamed(g, renamed);
        QCOMPARE(folderContent(), expected);
        QCOMPARE(DockImport::dockApps().last(), Launchers::bundleURL("Play"));

        Launchers::removed(renamed);
        QCOMPARE(folderContent(), before);
    }

    void aRemovalDeletesOnlyTheItemsOfThatEntry()
    {
        QMap<QString, QByteArray> expected = userDock();
        // A second item for the browser (Plank would drop it, but it is there now).
        writeFile(folder + "/browser.dockitem", dockitem(apps->browser));
        QVERIFY((*dock)->removeItems(apps->browser));
        expected.remove("firefox-esr.dockitem");
        QCOMPARE(folderContent(), expected);

        // Nothing pinned for that path: nothing goes.
        QVERIFY(!(*dock)->removeItems(apps->editor));
        QVERIFY(plank().unpin(apps->editor));
        QCOMPARE(folderContent(), expected);
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

    void aPathThatNamesNoLauncherWritesNoItem()
    {
        (*dock)->addLauncher(apps->editor);
        AppGroup g = group("NoEntry");
        QVERIFY(Launchers::make(g));
        QFile::remove(Launchers::desktopEntryPath(g.id));
        (*dock)->addLauncher(Launchers::bundleURL("NoEntry"));
        QVERIFY(!plank().pin(Launchers::desktopEntryPath(g.id)));
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
        DockImport::importDockGrouped(store);
        QStringList names;
        for (const AppGroup& g : store.groups())
            names.append(g.name);
        QCOMPARE(names, QStringList({"Developer Tools", "Games", "Internet"}));
        QCOMPARE(store.groups()[0].apps, QStringList{apps->editor});
    }
};

TRAYMATE_TEST_MAIN(PlankDockTest)
#include "tst_plank_dock.moc"
