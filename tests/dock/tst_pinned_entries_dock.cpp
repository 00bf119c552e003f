// The Dock over a desktop's pinned entries: launchers read as their bundles, pinned once,
// unpinned alone, whatever the desktop behind it.
#include "dock/dock_import.h"
#include "dock/launcher_files.h"
#include "dock/launchers.h"
#include "dock/pinned_entries_dock.h"
#include "dock_fixture.h"
#include "model/store.h"
#include "test_environment.h"

#include <QTemporaryDir>

using namespace DockTest;

namespace {

// A desktop that keeps its pinned paths in memory, with items that name no entry among them,
// and that can be told to refuse.
class MemoryEntries : public PinnedEntries {
public:
    QStringList pinned;
    bool refusing = false;
    int pins = 0;

    std::optional<QStringList> entries() override
    {
        if (refusing)
            return std::nullopt;
        QStringList existing = pinned;
        existing.removeIf([](const QString& path) { return !QFileInfo(path).isFile(); });
        return existing;
    }
    bool pin(const QString& entryPath) override
    {
        ++pins;
        if (refusing)
            return false;
        pinned.append(entryPath);
        return true;
    }
    bool unpin(const QString& entryPath) override
    {
        if (refusing)
            return false;
        pinned.removeAll(entryPath);
        return true;
    }
};

AppGroup group(const QString& name)
{
    AppGroup g;
    g.name = name;
    return g;
}

} // namespace

class PinnedEntriesDockTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString browser = dir.filePath("applications/firefox-esr.desktop");
    QString gone = dir.filePath("applications/gone.desktop");
    std::unique_ptr<ScopedDock<PinnedEntriesDock>> dock;
    MemoryEntries* memory = nullptr;

private Q_SLOTS:
    void init()
    {
        writeFile(browser, "[Desktop Entry]\nType=Application\nName=Firefox\nExec=true\n");
        auto entries = std::make_unique<MemoryEntries>();
        memory = entries.get();
        memory->pinned = {gone, browser};
        dock = std::make_unique<ScopedDock<PinnedEntriesDock>>(std::move(entries));
    }
    void cleanup()
    {
        dock.reset();
        QDir(Launchers::root()).removeRecursively();
        QDir(qEnvironmentVariable("XDG_DATA_HOME") + "/applications").removeRecursively();
    }

    void aLauncherIsPinnedAsItsEntryAndReadAsItsBundle()
    {
        AppGroup g = group("Work");
        Launchers::addToDock(g);
        const QString entry = Launchers::desktopEntryPath(g.id);
        QCOMPARE(memory->pinned, QStringList({gone, browser, entry}));
        QCOMPARE(DockImport::dockApps(), QStringList({browser, Launchers::bundleURL("Work")}));

        // Once only, however often it is asked for.
        Launchers::addToDock(g);
        QCOMPARE(memory->pinned, QStringList({gone, browser, entry}));
        QCOMPARE(memory->pins, 1);
    }

    void aRenameLeavesOneLauncherAndTheOthersInPlace()
    {
        AppGroup g = group("Mail");
        Launchers::addToDock(g);
        const QString entry = Launchers::desktopEntryPath(g.id);
        memory->pinned = {gone, entry, browser};
        AppGroup renamed = g;
        renamed.name = QStringLiteral("Post");
        Launchers::renamed(g, renamed);
        QCOMPARE(memory->pinned.count(entry), 1);
        QCOMPARE(memory->pinned.mid(0, 2), QStringList({gone, browser}));
        QCOMPARE(DockImport::dockApps(), QStringList({browser, Launchers::bundleURL("Post")}));
    }

    void removalTakesEveryItemOfThatPathAndNothingElse()
    {
        AppGroup g = group("Play");
        Launchers::addToDock(g);
        const QString entry = Launchers::desktopEntryPath(g.id);
        memory->pinned = {entry, gone, browser, entry};
        QVERIFY(!(*dock)->removeItems(dir.filePath("other.desktop")));
        QCOMPARE(memory->pinned.size(), 4);
        QVERIFY((*dock)->removeItems(Launchers::bundleURL("Play")));
        QCOMPARE(memory->pinned, QStringList({gone, browser}));
        // A plain entry goes by its own path.
        QVERIFY((*dock)->removeItems(browser));
        QCOMPARE(memory->pinned, QStringList{gone});
    }

    void whatIsNoLauncherIsNotPinned()
    {
        (*dock)->addLauncher(browser);
        (*dock)->addLauncher(dir.filePath("Nothing.app"));
        AppGroup g = group("NoEntry");
        QVERIFY(Launchers::make(g));
        QFile::remove(Launchers::desktopEntryPath(g.id));
        (*dock)->addLauncher(Launchers::bundleURL("NoEntry"));
        QCOMPARE(memory->pins, 0);
    }

    void aRefusingDesktopChangesNothing()
    {
        memory->refusing = true;
        AppGroup g = group("Locked");
        Launchers::addToDock(g);
        QCOMPARE(DockImport::dockApps(), QStringList());
        QVERIFY(!(*dock)->removeItems(browser));
        memory->refusing = false;
        QCOMPARE(memory->pinned, QStringList({gone, browser}));
    }
};

TRAYMATE_TEST_MAIN(PinnedEntriesDockTest)
#include "tst_pinned_entries_dock.moc"
