// The groups file changed by someone else while the program runs: a sync tool, an editor.
#include "model/groups_file.h"
#include "model/store.h"
#include "store_fixture.h"
#include "test_environment.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

// Opens the FIFO for writing after a while, so a reader stuck in open() comes free and the
// test measures the wait instead of hanging.
class FifoRescue {
public:
    explicit FifoRescue(const QString& fifo)
        : m_thread([name = QFile::encodeName(fifo)] {
            std::this_thread::sleep_for(std::chrono::seconds(2));
            const int fd = ::open(name.constData(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0)
                ::close(fd);
        })
    {
    }
    ~FifoRescue() { m_thread.join(); }

private:
    std::thread m_thread;
};

} // namespace

class StoreOutsideTest : public QObject {
    Q_OBJECT

    // As a sync tool or a checkout does it: a new file renamed over the old one.
    static void replaceFile(const StoreFixture& fx, const QByteArray& bytes)
    {
        const QString fresh = fx.folder() + QStringLiteral("/.sync-tmp");
        QFile file(fresh);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        QVERIFY(::rename(QFile::encodeName(fresh).constData(),
                         QFile::encodeName(fx.file()).constData()) == 0);
    }

    static QStringList setAside(const StoreFixture& fx)
    {
        return QDir(fx.folder())
            .entryList({"groups.json.unreadable-*"}, QDir::AllEntries | QDir::System);
    }

private Q_SLOTS:
    void adoptsAVersionWrittenOutside()
    {
        StoreFixture fx;
        Store& store = fx.openWith({StoreFixture::named("Mine", {"/a"})});
        const QList<AppGroup> theirs = {StoreFixture::named("Synced", {"/b", "/c"}),
                                        StoreFixture::named("Other")};
        QSignalSpy changed(&store, &Store::changed);
        replaceFile(fx, GroupsFile::encode(theirs));
        QTRY_COMPARE(store.groups(), theirs);
        QVERIFY(changed.size() >= 1);
        // The selected group went away with the old version: the first one stands in.
        QCOMPARE(store.selected(), std::optional(theirs.first().id));
        QCOMPARE(fx.fileGroups(), theirs); // taken as it is, not written back
    }

    void adoptsAWriteInPlace()
    {
        StoreFixture fx;
        Store& store = fx.openWith({StoreFixture::named("Mine")});
        QList<AppGroup> theirs = store.groups();
        theirs.first().apps = {"/edited/in/place"};
        fx.writeGroupsFile(GroupsFile::encode(theirs));
        QTRY_COMPARE(store.groups(), theirs);
    }

    void anEditWhileAChangeIsPendingAppliesToTheNewVersion()
    {
        StoreFixture fx;
        const AppGroup mine = StoreFixture::named("Mine", {"/a", "/b"});
        Store& store = fx.openWith({mine});
        AppGroup synced = mine;
        synced.apps.append("/from-the-other-machine");
        const AppGroup added = StoreFixture::named("Added elsewhere", {"/z"});
        replaceFile(fx, GroupsFile::encode({synced, added}));

        // No event has been handled yet: the store must still read the new version first.
        store.newGroup("Made here");
        QCOMPARE(fx.fileGroups().size(), 3);
        QCOMPARE(fx.fileGroups()[0], synced);
        QCOMPARE(fx.fileGroups()[1], added);
        QCOMPARE(fx.fileGroups()[2].name, QStringLiteral("Made here"));

        replaceFile(fx, GroupsFile::encode({synced, added}));
        store.moveApp("/b", "/a", mine.id);
        QCOMPARE(fx.fileGroups()[0].apps, QStringList({"/b", "/a", "/from-the-other-machine"}));
        QCOMPARE(fx.fileGroups()[1], added);
    }

    void aRenameMadeFromAnOlderVersionKeepsTheOutsideChanges()
    {
        StoreFixture fx;
        const AppGroup mine = StoreFixture::named("Mine", {"/a"});
        Store& store = fx.openWith({mine, StoreFixture::named("Second")});
        // The panel's rename: the group is read before the prompt, written after it.
        AppGroup renamed = store.groups().first();
        renamed.name = "Renamed";
        AppGroup synced = mine;
        synced.apps.append("/synced");
        replaceFile(fx, GroupsFile::encode({StoreFixture::named("New first"), synced}));
        store.setGroup(0, renamed);
        const QList<AppGroup> onDisk = fx.fileGroups();
        QCOMPARE(onDisk.size(), 2);
        QCOMPARE(onDisk[0].name, QStringLiteral("New first"));
        QCOMPARE(onDisk[1].name, QStringLiteral("Renamed"));
        QCOMPARE(onDisk[1].apps, QStringList({"/a", "/synced"}));
    }

    void aChangedFileThatNoLongerDecodesIsSetAsideNotOverwritten()
    {
        StoreFixture fx;
        const QList<AppGroup> mine = {StoreFixture::named("Mine", {"/a"})};
        Store& store = fx.openWith(mine);
        const QByteArray broken = "[{\"id\": \"half-typed";
        replaceFile(fx, broken);
        QTRY_COMPARE(setAside(fx).size(), 1);
        QFile copy(fx.folder() + QLatin1Char('/') + setAside(fx).first());
        QVERIFY(copy.open(QIODevice::ReadOnly));
        QCOMPARE(copy.readAll(), broken);
        QCOMPARE(store.groups(), mine);
        QTRY_COMPARE(fx.fileGroups(), mine);
    }

    void aFifoInPlaceOfTheFileAtStartIsMovedAsideWithoutWaiting()
    {
        StoreFixture fx;
        QDir().mkpath(fx.folder());
        QVERIFY(::mkfifo(QFile::encodeName(fx.file()).constData(), 0600) == 0);
        FifoRescue rescue(fx.file());
        QElapsedTimer clock;
        clock.start();
        Store& store = fx.open();
        QVERIFY2(clock.elapsed() < 1000, "the start waited on the FIFO");
        QCOMPARE(store.groups().first().name, QStringLiteral("Apps"));
        QCOMPARE(fx.fileGroups(), store.groups());
        QCOMPARE(setAside(fx).size(), 1);
    }

    void aFifoInPlaceOfTheFileWhileRunningIsNeverOpened()
    {
        StoreFixture fx;
        Store& store = fx.openWith({StoreFixture::named("Mine", {"/a"})});
        QVERIFY(QFile::remove(fx.file()));
        QVERIFY(::mkfifo(QFile::encodeName(fx.file()).constData(), 0600) == 0);
        FifoRescue rescue(fx.file());
        QElapsedTimer clock;
        clock.start();
        store.newGroup("After");
        QTest::qWait(50); // the watch on the folder reports the FIFO too
        QVERIFY2(clock.elapsed() < 1000, "the store waited on the FIFO");
        QCOMPARE(fx.fileGroups().size(), 2);
        QCOMPARE(fx.fileGroups().first().apps, QStringList{"/a"});
        QCOMPARE(setAside(fx).size(), 1);
    }
};

TRAYMATE_TEST_MAIN(StoreOutsideTest)
#include "tst_store_outside.moc"
