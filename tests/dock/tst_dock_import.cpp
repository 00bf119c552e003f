#include "dock/dock_import.h"
#include "dock/launchers.h"
#include "dock_fixture.h"
#include "model/store.h"
#include "test_environment.h"

#include <QFileInfo>
#include <QTemporaryDir>

using namespace DockTest;

class DockImportTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    std::unique_ptr<ScopedDock<FileDockPreferences>> dock;
    std::unique_ptr<Store> store;

    // An application bundle whose Info.plist declares this category (none when empty).
    QString bundle(const QString& name, const QString& category = {})
    {
        const QString path = dir.filePath("Applications/" + name + ".app");
        QByteArray plist = "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict>"
                           "<key>CFBundleName</key><string>" +
                           name.toUtf8() + "</string>";
        if (!category.isEmpty())
            plist +=
                "<key>LSApplicationCategoryType</key><string>" + category.toUtf8() + "</string>";
        writeFile(path + "/Contents/Info.plist", plist + "</dict></plist>");
        return path;
    }

    QString entry(const QString& name, const QByteArray& categories)
    {
        const QString path = dir.filePath("applications/" + name + ".desktop");
        writeFile(path, "[Desktop Entry]\nType=Application\nName=" + name.toUtf8() +
                            "\nExec=true\nCategories=" + categories + "\n");
        return path;
    }

    void dockHolds(const QStringList& paths)
    {
        QList<QByteArray> tiles;
        for (const QString& path : paths)
            tiles.append(tileXml(path));
        writeFile((*dock)->path(), domainXml(tiles));
    }

    static AppGroup named(const QString& name, QStringList apps = {})
    {
        AppGroup g;
        g.name = name;
        g.apps = std::move(apps);
        return g;
    }

    Store& storeWith(const QList<AppGroup>& groups)
    {
        store = std::make_unique<Store>(dir.filePath("store"));
        store->setGroups(groups);
        store->setSelected(groups.isEmpty() ? std::nullopt : std::optional(groups.last().id));
        return *store;
    }

    QStringList names() const
    {
        QStringList result;
        for (const AppGroup& g : store->groups())
            result.append(g.name);
        return result;
    }

private Q_SLOTS:
    void init()
    {
        dock = std::make_unique<ScopedDock<FileDockPreferences>>(dir.filePath("dock.plist"));
    }
    void cleanup()
    {
        dock.reset();
        store.reset();
        QFile::remove(dir.filePath("dock.plist"));
        QDir(dir.filePath("store")).removeRecursively();
    }

    void bundleCategoriesAreTurnedIntoNames()
    {
        QCOMPARE(DockImport::category(bundle("Xcode", "public.app-category.developer-tools")),
                 QStringLiteral("Developer Tools"));
        QCOMPARE(DockImport::category(bundle("Chess", "public.app-category.games")),
                 QStringLiteral("Games"));
        QCOMPARE(DockImport::category(bundle("Bare", "utilities")), QStringLiteral("Utilities"));
        QCOMPARE(DockImport::category(bundle("Odd", "public.app-category.SOCIAL-networking")),
                 QStringLiteral("Social Networking"));
        QCOMPARE(
            DockImport::category(bundle("Twice", "public.app-category.public.app-category.x-y")),
            QStringLiteral("X Y"));
        QCOMPARE(DockImport::category(bundle("None")), QStringLiteral("Other"));
        QCOMPARE(DockImport::category(dir.filePath("Applications/Missing.app")),
                 QStringLiteral("Other"));

        const QString wrongType = dir.filePath("Applications/Int.app");
        writeFile(wrongType + "/Contents/Info.plist",
                  "<plist><dict><key>LSApplicationCategoryType</key>"
                  "<integer>1</integer></dict></plist>");
        QCOMPARE(DockImport::category(wrongType), QStringLiteral("Other"));
    }

    void aBinaryInfoPlistIsReadToo()
    {
        const QString path = dir.filePath("Applications/Binary.app");
        PropertyList::Node info(plist_new_dict());
        plist_dict_set_item(info.get(), "LSApplicationCategoryType",
                            plist_new_string("public.app-category.music"));
        char* bytes = nullptr;
        uint32_t length = 0;
        plist_to_bin(info.get(), &bytes, &length);
        writeFile(path + "/Contents/Info.plist", QByteArray(bytes, length));
        free(bytes);
        QCOMPARE(DockImport::category(path), QStringLiteral("Music"));
    }

    void launcherBundlesAndDesktopEntriesWithoutCategoryAreOther()
    {
        AppGroup g = named("Work");
        const QString launcher = *Launchers::make(g);
        QCOMPARE(DockImport::category(launcher), QStringLiteral("Other"));
        QCOMPARE(DockImport::category(Launchers::desktopEntryPath(g.id)), QStringLiteral("Other"));
        QDir(Launchers::root()).removeRecursively();
    }

    void desktopEntriesUseTheirFirstMainCategory()
    {
        QCOMPARE(DockImport::category(entry("Player", "Qt;KDE;AudioVideo;Video;")),
                 QStringLiteral("Music"));
        QCOMPARE(DockImport::category(entry("Mixer", "Audio;")), QStringLiteral("Music"));
        QCOMPARE(DockImport::category(entry("Movie", "GTK;Video;AudioVideo")),
                 QStringLiteral("Video"));
        QCOMPARE(DockImport::category(entry("IDE", "Development;IDE;")),
                 QStringLiteral("Developer Tools"));
        QCOMPARE(DockImport::category(entry("Atlas", "Science;Education;")),
                 QStringLiteral("Education"));
        QCOMPARE(DockImport::category(entry("Quiz", "Education;")), QStringLiteral("Education"));
        QCOMPARE(DockImport::category(entry("Mines", "Game;LogicGame;")), QStringLiteral("Games"));
        QCOMPARE(DockImport::category(entry("Paint", "Graphics;2DGraphics;")),
                 QStringLiteral("Graphics Design"));
        QCOMPARE(DockImport::category(entry("Browser", "Network;WebBrowser;")),
                 QStringLiteral("Internet"));
        QCOMPARE(DockImport::category(entry("Writer", "Office;WordProcessor;")),
                 QStringLiteral("Productivity"));
        QCOMPARE(DockImport::category(entry("Panel", "Settings;")), QStringLiteral("Utilities"));
        QCOMPARE(DockImport::category(entry("Monitor", "System;Monitor;")),
                 QStringLiteral("Utilities"));
        QCOMPARE(DockImport::category(entry("Term", "Utility;TerminalEmulator;")),
                 QStringLiteral("Utilities"));
        QCOMPARE(DockImport::category(entry("Misc", "WebBrowser;Calculator;")),
                 QStringLiteral("Other"));
        QCOMPARE(DockImport::category(entry("Empty", "")), QStringLiteral("Other"));
        writeFile(dir.filePath("applications/broken.desktop"), "no group here");
        QCOMPARE(DockImport::category(dir.filePath("applications/broken.desktop")),
                 QStringLiteral("Other"));
    }

    void importMakesOneGroupPerCategoryInOrderAfterTheNonEmptyGroups()
    {
        const QString xcode = bundle("Xcode", "public.app-category.developer-tools");
        const QString chess = bundle("Chess", "public.app-category.games");
        const QString notes = bundle("Notes", "public.app-category.productivity");
        const QString plain = bundle("Plain");
        const QString term = entry("Term", "Utility;");
        dockHolds({chess, xcode, notes, plain, chess, "/Docs/file.pdf", term});
        const AppGroup mine = named("Mine", {"/x"});
        storeWith({named("Apps"), mine, named("Empty")});

        DockImport::importDockGrouped(*store);
        QCOMPARE(names(), (QStringList{"Mine", "Developer Tools", "Games", "Other", "Productivity",
                                       "Utilities"}));
        QCOMPARE(store->groups()[0], mine);
        QCOMPARE(store->groups()[1].apps, QStringList{xcode});
        QCOMPARE(store->groups()[2].apps, (QStringList{chess, chess})); // twice, as in the Dock
        QCOMPARE(store->groups()[3].apps, QStringList{plain});
        QCOMPARE(store->groups()[5].apps, QStringList{term});
        QVERIFY(!store->groups()[2].icon);
        QCOMPARE(store->selected(), std::optional(mine.id));

        // Saved as it stands.
        Store reread(dir.filePath("store"));
        QCOMPARE(reread.groups(), store->groups());
    }

    void importingAgainOnlySelectsTheFirstGroup()
    {
        dockHolds({bundle("Chess", "public.app-category.games"), bundle("Plain")});
        storeWith({named("Apps")});
        DockImport::importDockGrouped(*store);
        const QList<AppGroup> first = store->groups();
        store->setSelected(first.last().id);
        DockImport::importDockGrouped(*store);
        QCOMPARE(store->groups(), first);
        QCOMPARE(store->selected(), std::optional(first.first().id));
    }

    void anExistingGroupOfTheSameNameGainsWhatItLacksOnce()
    {
        const QString chess = bundle("Chess", "public.app-category.games");
        const QString go = bundle("Go", "public.app-category.games");
        dockHolds({go, chess, go});
        const AppGroup games = named("Games", {chess, "/mine.app"});
        const AppGroup lower = named("games", {"/y"});
        storeWith({lower, games});

        DockImport::importDockGrouped(*store);
        QCOMPARE(names(), (QStringList{"games", "Games"}));
        QCOMPARE(store->groups()[1].id, games.id);
        QCOMPARE(store->groups()[1].apps, (QStringList{chess, "/mine.app", go}));
        QCOMPARE(store->groups()[0], lower);
    }

    void aCategoryMatchingOnlyInLetterCaseGetsItsOwnGroup()
    {
        const QString chess = bundle("Chess", "public.app-category.games");
        dockHolds({chess});
        storeWith({named("GAMES", {"/z"})});
        DockImport::importDockGrouped(*store);
        QCOMPARE(names(), (QStringList{"GAMES", "Games"}));
    }

    void anEmptyOrUnreadableDockChangesNothing()
    {
        const QList<AppGroup> groups = {named("Apps"), named("Other", {"/q"}), named("Empty")};
        Store& s = storeWith(groups);
        const std::optional<QUuid> selected = s.selected();
        dockHolds({"/Docs/only-a-document.pdf", "/Folder"});
        DockImport::importDockGrouped(s);
        QCOMPARE(s.groups(), groups);
        QCOMPARE(s.selected(), selected);

        writeFile((*dock)->path(), "not a property list");
        DockImport::importDockGrouped(s);
        QCOMPARE(s.groups(), groups);
        QCOMPARE(s.selected(), selected);
    }

    void aDockOfRealApplicationsGoesToOtherWhenNoBundleIsThere()
    {
        writeFile((*dock)->path(), readAll(dataFile("export-b.plist")));
        storeWith({named("Apps")});
        DockImport::importDockGrouped(*store);
        QCOMPARE(names(), QStringList{"Other"});
        QCOMPARE(store->groups()[0].apps.size(), 15);
        QCOMPARE(store->groups()[0].apps, DockImport::dockApps());
    }

    void emptyGroupsGoWithTheirLaunchers()
    {
        const QString chess = bundle("Chess", "public.app-category.games");
        const AppGroup empty = named("Empty");
        const AppGroup kept = named("Kept", {"/k"});
        Store& s = storeWith({empty, kept});
        const QString emptyLauncher = *Launchers::make(empty);
        const QString keptLauncher = *Launchers::make(kept);
        dockHolds({emptyLauncher, chess, keptLauncher});

        DockImport::importDockGrouped(s);
        QCOMPARE(names(), (QStringList{"Kept", "Games", "Other"}));
        QCOMPARE(store->groups()[2].apps, QStringList{keptLauncher});
        QVERIFY(!QFileInfo::exists(emptyLauncher));
        QVERIFY(!QFileInfo::exists(Launchers::desktopEntryPath(empty.id)));
        QVERIFY(QFileInfo::exists(keptLauncher));
        QCOMPARE(DockImport::dockApps(), (QStringList{chess, keptLauncher}));

        // A Dock holding nothing but the launcher of an empty group has nothing to import.
        const AppGroup alone = named("Alone");
        storeWith({alone});
        const QString aloneLauncher = *Launchers::make(alone);
        dockHolds({aloneLauncher});
        DockImport::importDockGrouped(*store);
        QCOMPARE(names(), QStringList{"Alone"});
        QVERIFY(QFileInfo::exists(aloneLauncher));
        QDir(Launchers::root()).removeRecursively();
    }
};

TRAYMATE_TEST_MAIN(DockImportTest)
#include "tst_dock_import.moc"
