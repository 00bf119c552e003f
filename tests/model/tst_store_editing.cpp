#include "store_fixture.h"
#include "test_environment.h"

class StoreEditingTest : public QObject {
    Q_OBJECT

private:
    StoreFixture fx;
    QStringList abcd;

    Store& openAbcd()
    {
        return fx.openWith({StoreFixture::named("G", abcd), StoreFixture::named("H")});
    }
    QUuid id(int index) const { return fx.fileGroups().value(index).id; }

private Q_SLOTS:
    void init()
    {
        abcd = {fx.makeItem("A.app/"), fx.makeItem("B.txt"), fx.makeItem("C/"),
                fx.makeItem("D.app/")};
    }

    void addAppendsExistingItemsOnce()
    {
        Store& store = openAbcd();
        const QUuid h = store.groups()[1].id;
        store.add(abcd[2], h);
        store.add(abcd[0], h);
        QCOMPARE(store.groups()[1].apps, QStringList({abcd[2], abcd[0]}));
        QCOMPARE(fx.fileGroups(), store.groups());

        fx.markFile();
        store.add(abcd[2], h);                   // already there
        store.add(fx.scratch("missing.app"), h); // not on disk
        store.add(abcd[3], QUuid::createUuid()); // no such group
        QVERIFY(!fx.fileWasWritten());
        QCOMPARE(store.groups()[1].apps.size(), 2);
    }

    void addTreatsADecomposedAccentAsTheSamePath()
    {
        const QString precomposed = fx.makeItem(QStringLiteral("Caf\u00e9.app/"));
        const QString decomposed =
            fx.makeItem(QStringLiteral("Cafe\u0301.app/")); // a distinct file on disk
        Store& store = fx.openWith({StoreFixture::named("G", {precomposed})});
        store.add(decomposed, store.groups()[0].id);
        QCOMPARE(store.groups()[0].apps, QStringList{precomposed});
    }

    void removeDropsEveryCopyAndAlwaysSaves()
    {
        Store& store = fx.openWith({StoreFixture::named("G", {abcd[0], abcd[1], abcd[0]})});
        store.remove(abcd[0], store.groups()[0].id);
        QCOMPARE(store.groups()[0].apps, QStringList{abcd[1]});
        fx.markFile();
        store.remove(abcd[3], store.groups()[0].id);
        QCOMPARE(fx.fileGroups(), store.groups());
        QVERIFY(QFileInfo::exists(abcd[0])); // the item on disk is never touched
    }

    void newGroupAppendsAndSelectsWhateverTheName()
    {
        Store& store = openAbcd();
        store.newGroup("");
        store.newGroup("G");
        QCOMPARE(store.groups().size(), 4);
        QCOMPARE(store.groups()[2].name, QString(""));
        QCOMPARE(store.groups()[3].name, QStringLiteral("G"));
        QCOMPARE(store.selected(), std::optional(store.groups()[3].id));
        QVERIFY(store.groups()[3].apps.isEmpty() && !store.groups()[3].icon);
        QCOMPARE(fx.fileGroups(), store.groups());
    }

    void deleteGroupKeepsTheLastOneAndSelectsTheFirst()
    {
        Store& single = fx.openWith({StoreFixture::named("Only")});
        fx.markFile();
        single.deleteGroup(single.groups()[0].id);
        QCOMPARE(single.groups().size(), 1);
        QVERIFY(!fx.fileWasWritten());

        Store& store = fx.openWith(
            {StoreFixture::named("1"), StoreFixture::named("2"), StoreFixture::named("3")});
        const QList<AppGroup> three = store.groups();
        store.setSelected(three[1].id);
        store.deleteGroup(three[2].id);
        QCOMPARE(store.groups(), three.mid(0, 2));
        QCOMPARE(store.selected(), std::optional(three[0].id));

        store.setSelected(three[1].id);
        fx.markFile();
        store.deleteGroup(QUuid::createUuid());
        QCOMPARE(store.groups(), three.mid(0, 2));
        QVERIFY(fx.fileWasWritten());
        QCOMPARE(store.selected(), std::optional(three[0].id));
    }

    void moveAppByPosition_data()
    {
        QTest::addColumn<int>("dragged");
        QTest::addColumn<int>("target");
        QTest::addColumn<QList<int>>("expected");
        QTest::newRow("A onto C") << 0 << 2 << QList<int>{1, 2, 0, 3};
        QTest::newRow("D onto B") << 3 << 1 << QList<int>{0, 3, 1, 2};
        QTest::newRow("A onto B swaps") << 0 << 1 << QList<int>{1, 0, 2, 3};
        QTest::newRow("C onto B swaps") << 2 << 1 << QList<int>{0, 2, 1, 3};
    }

    void moveAppByPosition()
    {
        QFETCH(int, dragged);
        QFETCH(int, target);
        QFETCH(QList<int>, expected);
        Store& store = openAbcd();
        QSignalSpy announced(&store, &Store::aboutToChange);
        store.moveApp(abcd[dragged], abcd[target], store.groups()[0].id);
        QStringList order;
        for (int i : expected)
            order.append(abcd[i]);
        QCOMPARE(store.groups()[0].apps, order);
        QCOMPARE(announced.size(), 1); // one save of the finished order: a crash loses nothing
        QCOMPARE(fx.fileGroups()[0].apps, order);
    }

    void moveAppByPositionIgnoresWhatItCannotMove()
    {
        Store& store = openAbcd();
        fx.markFile();
        store.moveApp(abcd[1], abcd[1], store.groups()[0].id);
        store.moveApp(abcd[1], fx.scratch("elsewhere"), store.groups()[0].id);
        store.moveApp(fx.scratch("elsewhere"), abcd[1], store.groups()[0].id);
        store.moveApp(abcd[0], abcd[1], QUuid::createUuid());
        QVERIFY(!fx.fileWasWritten());
        QCOMPARE(store.groups()[0].apps, abcd);
    }

    void moveAppToGroupMovesFromTheSelectedGroup()
    {
        Store& store =
            fx.openWith({StoreFixture::named("G", abcd), StoreFixture::named("H", {abcd[1]})});
        const QUuid g = store.groups()[0].id, h = store.groups()[1].id;
        store.moveApp(abcd[0], h);
        store.moveApp(abcd[1], h); // the target has it already: it stays there once
        QCOMPARE(store.groups()[0].apps, QStringList({abcd[2], abcd[3]}));
        QCOMPARE(store.groups()[1].apps, QStringList({abcd[1], abcd[0]}));
        QCOMPARE(store.selected(), std::optional(g));

        fx.markFile();
        store.moveApp(abcd[2], g); // onto the selected group itself
        store.setSelected(std::nullopt);
        store.moveApp(abcd[2], h);
        QVERIFY(!fx.fileWasWritten());

        store.setSelected(QUuid::createUuid()); // a source that names no group still adds
        store.moveApp(abcd[2], h);
        QCOMPARE(store.groups()[1].apps.last(), abcd[2]);
    }

    void moveAppToGroupNeverLosesAnEntry()
    {
        const QString unmounted = QStringLiteral("/media/disk/Gone.app");
        Store& store =
            fx.openWith({StoreFixture::named("G", {unmounted, abcd[0]}), StoreFixture::named("H")});
        const QUuid h = store.groups()[1].id;
        store.moveApp(unmounted, h);
        QCOMPARE(store.groups()[0].apps, QStringList{abcd[0]});
        QCOMPARE(store.groups()[1].apps, QStringList{unmounted});

        store.moveApp(abcd[0], QUuid::createUuid()); // a target that names no group
        QCOMPARE(store.groups()[0].apps, QStringList{abcd[0]});
    }

    void moveGroupByPosition()
    {
        Store& store = fx.openWith(
            {StoreFixture::named("1"), StoreFixture::named("2"), StoreFixture::named("3")});
        const QList<AppGroup> g = store.groups();
        store.moveGroup(g[0].id, g[1].id);
        QCOMPARE(store.groups(), QList<AppGroup>({g[1], g[0], g[2]}));
        store.moveGroup(g[2].id, g[0].id);
        QCOMPARE(store.groups(), QList<AppGroup>({g[1], g[2], g[0]}));
        store.moveGroup(g[1].id, g[0].id);
        QCOMPARE(store.groups(), QList<AppGroup>({g[2], g[0], g[1]}));
        QCOMPARE(fx.fileGroups(), store.groups());
        fx.markFile();
        store.moveGroup(g[1].id, g[1].id);
        store.moveGroup(g[1].id, QUuid::createUuid());
        QVERIFY(!fx.fileWasWritten());
    }
};

TRAYMATE_TEST_MAIN(StoreEditingTest)
#include "tst_store_editing.moc"
