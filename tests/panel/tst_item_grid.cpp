// The item grid alone, without a panel view: what it shows comes from its setters and the
// store's drag state, and what the user does comes out only as its signals.
#include "panel/item_drag.h"
#include "panel/item_grid.h"
#include "panel_fixture.h"
#include "test_environment.h"

#include <QContextMenuEvent>
#include <QSignalSpy>

class ItemGridTest : public QObject {
    Q_OBJECT

private:
    PanelFixture fx;
    QStringList abc;
    QUuid groupId;

    // A shown grid of the three items of one group, as the full form makes it.
    std::unique_ptr<ItemGrid> cells(const Store& store, bool takesFiles = true)
    {
        auto grid = std::make_unique<ItemGrid>(store, takesFiles);
        grid->resize(376, 300);
        grid->setItems(abc, groupId, ItemGrid::Role::Cells);
        grid->setFileGroup(groupId);
        grid->show();
        QCoreApplication::processEvents();
        return grid;
    }

private Q_SLOTS:
    void init()
    {
        abc = {fx.app("A"), fx.app("B"), fx.app("C")};
        groupId = QUuid::createUuid();
    }

    void clicksAndKeysActivateTheTileUnderThem()
    {
        Store& store = fx.openWith({StoreFixture::named("G", abc)});
        const auto grid = cells(store);
        QSignalSpy activated(grid.get(), &ItemGrid::activated);

        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->tileRect(1).center());
        QCOMPARE(activated.count(), 1);
        QCOMPARE(activated.at(0).at(0).toString(), abc[1]);

        // Pressed on one tile, released on another: nothing.
        QTest::mousePress(grid->viewport(), Qt::LeftButton, {}, grid->tileRect(0).center());
        QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, grid->tileRect(2).center());
        QCOMPARE(activated.count(), 1);

        grid->takeKeys();
        QCOMPARE(grid->focusedTile(), 0);
        QTest::keyClick(grid.get(), Qt::Key_Right);
        QTest::keyClick(grid.get(), Qt::Key_Right);
        QTest::keyClick(grid.get(), Qt::Key_Return);
        QCOMPARE(activated.count(), 2);
        QCOMPARE(activated.at(1).at(0).toString(), abc[2]);
        QCOMPARE(store.groups()[0].apps, abc); // the grid itself changes nothing
    }

    void menusAreAskedForAtTheTileOfCellsOnly()
    {
        Store& store = fx.openWith({StoreFixture::named("G", abc)});
        const auto grid = cells(store);
        QSignalSpy menus(grid.get(), &ItemGrid::menuRequested);

        const QPoint overB = grid->tileRect(1).center();
        QContextMenuEvent click(QContextMenuEvent::Mouse, overB, QPoint(500, 600));
        QCoreApplication::sendEvent(grid->viewport(), &click);
        QCOMPARE(menus.count(), 1);
        QCOMPARE(menus.at(0).at(0).toString(), abc[1]);
        QCOMPARE(menus.at(0).at(1).toPoint(), QPoint(500, 600));

        // By the keyboard, at the focused tile's centre.
        grid->takeKeys();
        QTest::keyClick(grid.get(), Qt::Key_F10, Qt::ShiftModifier);
        QCOMPARE(menus.count(), 2);
        QCOMPARE(menus.at(1).at(0).toString(), abc[0]);
        QCOMPARE(menus.at(1).at(1).toPoint(),
                 grid->viewport()->mapToGlobal(grid->tileRect(0).center()));

        grid->setItems(abc, std::nullopt, ItemGrid::Role::Results);
        QCoreApplication::sendEvent(grid->viewport(), &click);
        QTest::keyClick(grid.get(), Qt::Key_F10, Qt::ShiftModifier);
        QCOMPARE(menus.count(), 2);
    }

    void filesFromOutsideGoToTheGroupItWasGiven()
    {
        Store& store = fx.openWith({StoreFixture::named("G", abc)});
        const auto grid = cells(store);
        QSignalSpy dropped(grid.get(), &ItemGrid::filesDropped);
        const QString document = fx.makeItem("Notes.txt");
        QMimeData files;
        files.setUrls({QUrl::fromLocalFile(document), QUrl(QStringLiteral("https://example.org"))});

        const QPoint at = grid->tileRect(0).center();
        QVERIFY(sendDrag(grid->viewport(), QEvent::DragEnter, at, &files));
        QVERIFY(sendDrag(grid->viewport(), QEvent::DragMove, at, &files));
        QVERIFY(sendDrag(grid->viewport(), QEvent::Drop, at, &files));
        QCOMPARE(dropped.count(), 1);
        QCOMPARE(dropped.at(0).at(0).value<QList<QUrl>>(), files.urls());
        QCOMPARE(dropped.at(0).at(1).toUuid(), groupId);

        // No group to take them: refused at the drop.
        grid->setFileGroup(std::nullopt);
        QVERIFY(sendDrag(grid->viewport(), QEvent::DragEnter, at, &files));
        QVERIFY(!sendDrag(grid->viewport(), QEvent::Drop, at, &files));
        QCOMPARE(dropped.count(), 1);

        // The compact grid takes no files at all.
        const auto compact = cells(store, false);
        QSignalSpy compactDropped(compact.get(), &ItemGrid::filesDropped);
        QVERIFY(!sendDrag(compact->viewport(), QEvent::DragEnter, at, &files));
        QVERIFY(!sendDrag(compact->viewport(), QEvent::Drop, at, &files));
        QVERIFY(compactDropped.isEmpty());
    }

    void anItemDraggedOverTheTilesSignalsEachCellItEnters()
    {
        Store& store = fx.openWith({StoreFixture::named("G", abc)});
        const auto grid = cells(store);
        QSignalSpy entered(grid.get(), &ItemGrid::itemDragEntered);
        QSignalSpy dropped(grid.get(), &ItemGrid::itemDropped);
        QSignalSpy ended(grid.get(), &ItemGrid::dragEnded);
        std::unique_ptr<QMimeData> mime(itemDragData(abc[2]));

        // Not recorded as the panel's own drag: only text, taken by nobody.
        QVERIFY(
            !sendDrag(grid->viewport(), QEvent::DragEnter, grid->tileRect(0).center(), mime.get()));
        QVERIFY(entered.isEmpty());

        recordItemDrag(store, abc[2]);
        QVERIFY(
            sendDrag(grid->viewport(), QEvent::DragEnter, grid->tileRect(2).center(), mime.get()));
        QVERIFY(
            sendDrag(grid->viewport(), QEvent::DragMove, grid->tileRect(2).center(), mime.get()));
        QVERIFY(
            sendDrag(grid->viewport(), QEvent::DragMove, grid->tileRect(0).center(), mime.get()));
        QVERIFY(
            sendDrag(grid->viewport(), QEvent::DragMove, grid->tileRect(0).center(), mime.get()));
        QCOMPARE(entered.count(), 2); // once per cell entered
        QCOMPARE(entered.at(0), QVariantList({abc[2], groupId, true}));
        QCOMPARE(entered.at(1), QVariantList({abc[0], groupId, true}));

        QVERIFY(sendDrag(grid->viewport(), QEvent::Drop, grid->tileRect(0).center(), mime.get()));
        QCOMPARE(dropped.count(), 1);
        QCOMPARE(dropped.at(0), QVariantList({abc[0], groupId, true}));
        QVERIFY(ended.isEmpty());
        QCOMPARE(store.groups()[0].apps, abc);
        QVERIFY(store.dragApp); // the owner ends it, not the grid

        // Dropped between the tiles: the drag just ends.
        const QPoint below(grid->tileRect(0).center().x(), grid->tileRect(0).bottom() + 5);
        QVERIFY(sendDrag(grid->viewport(), QEvent::DragEnter, below, mime.get()));
        QVERIFY(sendDrag(grid->viewport(), QEvent::Drop, below, mime.get()));
        QCOMPARE(dropped.count(), 1);
        QCOMPARE(ended.count(), 1);
    }
};

TRAYMATE_TEST_MAIN(ItemGridTest)
#include "tst_item_grid.moc"
