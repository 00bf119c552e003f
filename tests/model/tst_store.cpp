#include "file_size_limit.h"
#include "model/store.h"
#include "store_fixture.h"
#include "test_environment.h"

#include <QFileInfo>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <unistd.h>

class StoreTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void seedsAppsWhenThereIsNoFile()
    {
        StoreFixture fx;
        Store& store = fx.open();
        QCOMPARE(store.groups().size(), 1);
        const AppGroup& seeded = store.groups().first();
        QCOMPARE(seeded.name, QStringLiteral("Apps"));
        QVERIFY(seeded.apps.isEmpty());
        QVERIFY(!seeded.icon);
        QCOMPARE(store.selected(), std::optional(seeded.id));
        QCOMPARE(fx.fileGroups(), store.groups());
        QVERIFY(!store.query().size() && !store.pinned() && !store.compact());
    }

    void seedsForAnEmptyArrayWithoutSettingItAside()
    {
        StoreFixture fx;
        fx.writeGroupsFile("[ ]");
        Store& store = fx.open();
        QCOMPARE(store.groups().first().name, QStringLiteral("Apps"));
        QCOMPARE(QDir(fx.folder()).entryList(QDir::Files), QStringList{"groups.json"});
    }

    void loadsAndRewritesAValidFileInTheStoredForm()
    {
        StoreFixture fx;
        QList<AppGroup> groups = {StoreFixture::named("A", {"/x"}), StoreFixture::named("B"),
                                  StoreFixture::named("C", {"/y", "/z"})};
        QByteArray loose =
            GroupsFile::encode(groups).toLower().replace("\\/", "/").replace(",", " , ");
        loose.replace("\"a\"", "\"A\"").replace("\"b\"", "\"B\"").replace("\"c\"", "\"C\"");
        fx.writeGroupsFile(loose);
        Store& store = fx.open();
        QCOMPARE(store.groups(), groups);
        QCOMPARE(store.selected(), std::optional(groups.first().id));
        QCOMPARE(fx.fileBytes(), GroupsFile::encode(groups));
    }

    void setsAsideAnUndecodableFileWithItsBytes()
    {
        StoreFixture fx;
        const QByteArray corrupt = "[{\"id\":\"nope\",\"name\":\"Mine\",\"apps\":[]}]";
        fx.writeGroupsFile(corrupt);
        fx.open();
        QCOMPARE(fx.fileGroups().first().name, QStringLiteral("Apps"));
        const QStringList aside =
            QDir(fx.folder()).entryList({"groups.json.unreadable-*"}, QDir::Files);
        QCOMPARE(aside.size(), 1);
        QFile copy(fx.folder() + QLatin1Char('/') + aside.first());
        QVERIFY(copy.open(QIODevice::ReadOnly));
        QCOMPARE(copy.readAll(), corrupt);

        // A second corrupt start in the same second keeps both copies.
        fx.writeGroupsFile("second");
        fx.open();
        QCOMPARE(QDir(fx.folder()).entryList({"groups.json.unreadable-*"}, QDir::Files).size(), 2);
    }

    void keepsAGroupsFileLinkALink()
    {
        StoreFixture fx;
        QDir().mkpath(fx.folder());
        const QString target = fx.scratch("real-groups.json");
        QFile::link(target, fx.file());
        Store& store = fx.open();
        store.newGroup("Linked");
        QVERIFY(QFileInfo(fx.file()).isSymLink());
        QFile real(target);
        QVERIFY(real.open(QIODevice::ReadOnly));
        QCOMPARE(GroupsFile::decode(real.readAll())->last().name, QStringLiteral("Linked"));
    }

    void failedSaveKeepsTheOldFileAndTheListInMemory()
    {
        StoreFixture fx;
        Store& store = fx.open();
        const QByteArray before = fx.fileBytes();
        {
            // A full disk, as root too: writes past a few bytes fail.
            FileSizeLimit limit(before.size() + 10);
            store.newGroup("A name long enough not to fit");
        }
        QCOMPARE(fx.fileBytes(), before);
        QCOMPARE(store.groups().last().name, QStringLiteral("A name long enough not to fit"));
        store.newGroup("Next");
        QCOMPARE(fx.fileGroups(), store.groups()); // the next save writes the whole list
    }

    void aFailedSaveIsRetriedAtTheNextChangeAndWhenTheFolderChanges()
    {
        StoreFixture fx;
        // The groups file is a link into a folder that then goes away.
        const QString target = fx.folder() + QStringLiteral("/synced/groups.json");
        QDir().mkpath(fx.folder() + QStringLiteral("/synced"));
        QVERIFY(QFile::link(target, fx.file()));
        Store& store = fx.open();
        QVERIFY(QDir(fx.folder() + QStringLiteral("/synced")).removeRecursively());
        store.newGroup("Kept");
        QVERIFY(!QFileInfo::exists(target));
        // The folder comes back: the groups in memory reach the disk without another edit.
        QDir().mkpath(fx.folder() + QStringLiteral("/synced"));
        QTRY_COMPARE(fx.fileGroups().size(), 2);
        QCOMPARE(fx.fileGroups().last().name, QStringLiteral("Kept"));
    }

    void anUnreadableFileThatCannotBeSetAsideIsKeptAndSetAsideLater()
    {
        StoreFixture fx;
        const QByteArray corrupt(4000, 'x');
        fx.writeGroupsFile(corrupt);
        {
            FileSizeLimit limit(100); // no room for the copy
            fx.open();
        }
        QCOMPARE(fx.fileBytes(), corrupt); // never written over
        Store& store = fx.open();
        store.newGroup("Later");
        QCOMPARE(QDir(fx.folder()).entryList({"groups.json.unreadable-*"}, QDir::Files).size(), 1);
        QCOMPARE(fx.fileGroups().last().name, QStringLiteral("Later"));
    }

    void aBlockedFileIsRetriedOnceThereIsRoom()
    {
        StoreFixture fx;
        const QByteArray corrupt(4000, 'x');
        fx.writeGroupsFile(corrupt);
        std::unique_ptr<FileSizeLimit> limit = std::make_unique<FileSizeLimit>(100);
        Store& store = fx.open();
        store.newGroup("Mine");
        QCOMPARE(fx.fileBytes(), corrupt);
        limit.reset();
        store.newGroup("Then");
        QCOMPARE(fx.fileGroups().size(), 3);
    }

    void aFailedSaveIsReportedUntilAWriteSucceeds()
    {
        StoreFixture fx;
        Store& store = fx.open();
        QVERIFY(!store.saveFailed());
        QSignalSpy reported(&store, &Store::saveProblemChanged);
        {
            FileSizeLimit limit(fx.fileBytes().size() + 10);
            store.newGroup("A name long enough not to fit");
        }
        QVERIFY(store.saveFailed());
        QCOMPARE(store.saveProblem(), qt_error_string(EFBIG));
        QCOMPARE(reported.size(), 1);
        store.setQuery("x"); // not a change of the groups: nothing is written
        QVERIFY(store.saveFailed());
        store.newGroup("Next");
        QVERIFY(!store.saveFailed());
        QCOMPARE(reported.size(), 2);
        QCOMPARE(fx.fileGroups(), store.groups());
    }

    void aFileThatCannotBeSetAsideIsReported()
    {
        StoreFixture fx;
        fx.writeGroupsFile(QByteArray(4000, 'x'));
        FileSizeLimit limit(100);
        Store& store = fx.open();
        QVERIFY(store.saveFailed());
        QVERIFY(store.saveProblem().contains(QStringLiteral("set aside")));
    }

    void removesOnlyStaleTemporariesAtStart()
    {
        StoreFixture fx;
        QDir().mkpath(fx.folder());
        const auto make = [&](const QString& name) {
            QFile file(fx.folder() + QLatin1Char('/') + name);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("half a save");
        };
        make(".groups.json.tmp-dead1");
        make(".groups.json.tmp-dead2");
        make(".groups.json.tmp-live");
        make(".other.tmp-x");
        // A writer still at work holds its temporary locked.
        const int live =
            ::open(QFile::encodeName(fx.folder() + "/.groups.json.tmp-live"), O_RDONLY | O_CLOEXEC);
        QVERIFY(live >= 0 && ::flock(live, LOCK_EX) == 0);
        fx.open();
        ::close(live);
        QCOMPARE(QDir(fx.folder()).entryList(QDir::Files | QDir::Hidden, QDir::Name),
                 QStringList({".groups.json.tmp-live", ".other.tmp-x", "groups.json"}));
    }

    void leavesAFileInTheStoredFormUntouchedAtStart()
    {
        StoreFixture fx;
        fx.openWith({StoreFixture::named("A", {"/x"}), StoreFixture::named("B")});
        fx.markFile();
        fx.open();
        QVERIFY(!fx.fileWasWritten());
    }

    void aGroupWithAnIdSeenBeforeGetsItsOwnId()
    {
        StoreFixture fx;
        AppGroup first = StoreFixture::named("First", {"/a"});
        AppGroup twin = StoreFixture::named("Twin", {"/b"});
        twin.id = first.id;
        const AppGroup other = StoreFixture::named("Other");
        Store& store = fx.openWith({first, twin, other});
        QCOMPARE(store.groups().size(), 3);
        QCOMPARE(store.groups()[0], first);
        QCOMPARE(store.groups()[1].name, QStringLiteral("Twin"));
        QCOMPARE(store.groups()[1].apps, QStringList{"/b"});
        QVERIFY(store.groups()[1].id != first.id);
        QCOMPARE(fx.fileGroups(), store.groups()); // the new id is on disk at once

        store.deleteGroup(first.id);
        QCOMPARE(store.groups().size(), 2);
        QCOMPARE(store.groups()[0].name, QStringLiteral("Twin"));
    }

    void announcesBeforeEveryPublishedChange()
    {
        StoreFixture fx;
        Store& store = fx.open();
        int announced = 0;
        QString queryWhenAnnounced;
        connect(&store, &Store::aboutToChange, this, [&] {
            ++announced;
            queryWhenAnnounced = store.query();
        });
        store.setQuery("new");
        QCOMPARE(queryWhenAnnounced, QString()); // heard before the value is in place
        store.setQuery("new");                   // announced even when unchanged
        store.setPinned(true);
        store.setCompact(true);
        store.setSelected(std::nullopt);
        store.setGroups(store.groups());
        QCOMPARE(announced, 6);
        store.dragApp = "/x";
        store.dragGroup = QUuid::createUuid();
        QCOMPARE(announced, 6);
    }

    void pruneDropsOnlyMissingApplicationsOffRemovableVolumes()
    {
        StoreFixture fx;
        const QString existing = fx.makeItem("Tool.app/");
        const QString existingEntry = fx.makeItem("tool.desktop");
        const QString linked = fx.scratch("Linked.app");
        QFile::link(existing, linked);
        const QString dangling = fx.scratch("Dangling.app");
        QFile::link(fx.scratch("nowhere"), dangling);
        const QStringList apps = {"/Applications/Gone.app",
                                  "/Volumes/Disk/Gone.app",
                                  "/media/u/Gone.app",
                                  "/run/media/u/Gone.app",
                                  "/mnt/Gone.app",
                                  "/home/u/gone.txt",
                                  existing,
                                  "/Applications/Gone.APP",
                                  "/VolumesOld/Tool.app",
                                  "/usr/share/applications/gone.desktop",
                                  existingEntry,
                                  linked,
                                  dangling};
        Store& store =
            fx.openWith({StoreFixture::named("A", apps), StoreFixture::named("B", {"/gone.app"})});
        QSignalSpy announced(&store, &Store::aboutToChange);
        store.pruneMissing();
        QCOMPARE(announced.size(), 1); // one assignment, one save
        QCOMPARE(store.groups()[0].apps,
                 QStringList({"/Volumes/Disk/Gone.app", "/media/u/Gone.app",
                              "/run/media/u/Gone.app", "/mnt/Gone.app", "/home/u/gone.txt",
                              existing, "/Applications/Gone.APP", existingEntry, linked}));
        QCOMPARE(store.groups()[1].apps, QStringList());
        QCOMPARE(store.groups().size(), 2);
        QCOMPARE(fx.fileGroups(), store.groups());
    }

    void pruneWritesNothingWhenNothingIsMissing()
    {
        StoreFixture fx;
        Store& store =
            fx.openWith({StoreFixture::named("A", {"/missing/doc.txt", fx.makeItem("x.app/")})});
        fx.markFile();
        store.pruneMissing();
        QVERIFY(!fx.fileWasWritten());
    }
};

TRAYMATE_TEST_MAIN(StoreTest)
#include "tst_store.moc"
