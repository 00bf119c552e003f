#include "panel/compact_panel.h"
#include "panel/full_panel.h"
#include "panel/item_grid.h"
#include "panel/symbols.h"
#include "panel_fixture.h"
#include "settings/preferences.h"
#include "test_environment.h"

#include <QAccessible>
#include <QApplication>

// What a screen reader finds in the panel, walked through Qt's accessibility interfaces.
class PanelAccessibilityTest : public QObject {
    Q_OBJECT

private:
    PanelFixture fx;

    static QList<QAccessibleInterface*> walk(QAccessibleInterface* node)
    {
        QList<QAccessibleInterface*> all{node};
        for (int i = 0; i < node->childCount(); ++i) {
            if (QAccessibleInterface* child = node->child(i))
                all << walk(child);
        }
        return all;
    }
    static QList<QAccessibleInterface*> withRole(QWidget* root, QAccessible::Role role)
    {
        QList<QAccessibleInterface*> found;
        for (QAccessibleInterface* node : walk(QAccessible::queryAccessibleInterface(root)))
            if (node->role() == role)
                found << node;
        return found;
    }
    static QStringList names(const QList<QAccessibleInterface*>& nodes)
    {
        QStringList list;
        for (QAccessibleInterface* node : nodes)
            list << node->text(QAccessible::Name);
        return list;
    }
    static QAccessibleInterface* gridNode(ItemGrid* grid)
    {
        return QAccessible::queryAccessibleInterface(grid);
    }

private Q_SLOTS:
    void init()
    {
        fx.log = ServiceLog();
        QFile::remove(Preferences::filePath());
    }

    void tilesAreNamedButtonsThatLaunchAndOfferTheirMenu()
    {
        const QStringList items = {fx.app("Notes"), fx.app("Mail"), fx.app("Maps")};
        Store& store = fx.openWith({StoreFixture::named("Work", items)});
        PanelView& view = fx.panel(store);
        ItemGrid* grid = qobject_cast<FullPanel*>(view.form())->grid();

        QAccessibleInterface* list = gridNode(grid);
        QCOMPARE(list->role(), QAccessible::List);
        QCOMPARE(list->text(QAccessible::Name), QStringLiteral("Work"));
        QCOMPARE(list->childCount(), 3);
        QList<QAccessibleInterface*> tiles;
        for (int i = 0; i < 3; ++i)
            tiles << list->child(i);
        QCOMPARE(names(tiles), QStringList({"Notes", "Mail", "Maps"}));
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(tiles[i]->role(), QAccessible::Button);
            QCOMPARE(tiles[i]->parent(), list);
            QCOMPARE(list->indexOfChild(tiles[i]), i);
            QCOMPARE(tiles[i]->rect(),
                     QRect(grid->viewport()->mapToGlobal(grid->tileRect(i).topLeft()),
                           grid->tileRect(i).size()));
        }
        QCOMPARE(list->child(1), tiles[1]); // the same tile each time it is asked for
        const QPoint onMaps = tiles[2]->rect().center();
        QCOMPARE(list->childAt(onMaps.x(), onMaps.y()), tiles[2]);

        QAccessibleActionInterface* actions = tiles[1]->actionInterface();
        QVERIFY(actions);
        QCOMPARE(actions->actionNames(),
                 QStringList({QAccessibleActionInterface::pressAction(),
                              QAccessibleActionInterface::showMenuAction()}));
        actions->doAction(QAccessibleActionInterface::pressAction());
        QTRY_COMPARE(fx.log.calls, QStringList({"open " + items[1], "hide"}));

        // A tile that moves keeps its interface; one that leaves the group goes invalid.
        QAccessibleInterface* mail = tiles[1];
        store.remove(items[0], store.groups()[0].id);
        QCOMPARE(list->childCount(), 2);
        QCOMPARE(list->indexOfChild(mail), 0);
        QCOMPARE(mail->text(QAccessible::Name), QStringLiteral("Mail"));
        store.remove(items[1], store.groups()[0].id);
        QCOMPARE(names({list->child(0)}), QStringList{"Maps"});
        QVERIFY(list->childCount() == 1);
    }

    void searchResultsAreButtonsWithoutAMenu()
    {
        const QString notes = fx.app("Notes");
        Store& store = fx.openWith({StoreFixture::named("Work", {notes, fx.app("Mail")})});
        PanelView& view = fx.panel(store);
        store.setQuery(QStringLiteral("not"));
        QAccessibleInterface* list = gridNode(qobject_cast<FullPanel*>(view.form())->grid());
        QCOMPARE(list->text(QAccessible::Name), QStringLiteral("Search"));
        QCOMPARE(list->childCount(), 1);
        QCOMPARE(list->child(0)->text(QAccessible::Name), QStringLiteral("Notes"));
        QCOMPARE(list->child(0)->actionInterface()->actionNames(),
                 QStringList{QAccessibleActionInterface::pressAction()});
    }

    void tabsArePageTabsThatShowAndTakeTheSelection()
    {
        Store& store = fx.openWith(
            {StoreFixture::named("A"), StoreFixture::named("B"), StoreFixture::named("C")});
        PanelView& view = fx.panel(store);
        QCOMPARE(withRole(&view, QAccessible::PageTabList).size(), 1);
        const QList<QAccessibleInterface*> tabs = withRole(&view, QAccessible::PageTab);
        QCOMPARE(names(tabs), QStringList({"A", "B", "C"}));
        const auto selected = [&tabs] {
            QList<bool> list;
            for (QAccessibleInterface* tab : tabs)
                list << bool(tab->state().selected);
            return list;
        };
        QCOMPARE(selected(), QList<bool>({true, false, false}));
        QVERIFY(tabs[1]->state().selectable);
        tabs[2]->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QTRY_COMPARE(store.selected(), std::optional(store.groups()[2].id));
        QCOMPARE(selected(), QList<bool>({false, false, true}));
    }

    void everyControlHasAName()
    {
        Store& store = fx.openWith({StoreFixture::named("G", {fx.app("Notes")})});
        PanelView& view = fx.panel(store);
        const QList<QAccessibleInterface*> buttons = withRole(&view, QAccessible::Button);
        QVERIFY(!names(buttons).contains(QString()));
        for (const QString name :
             {"Settings", "Close", "Add", "Import Dock", "New Group", "Quit", "Notes"})
            QVERIFY2(names(buttons).contains(name), qPrintable(name));
        // A toggle: Qt's role for a checkable button.
        QCOMPARE(names(withRole(&view, QAccessible::CheckBox)), QStringList{"Keep open"});
        QCOMPARE(names(withRole(&view, QAccessible::EditableText)), QStringList{"Search"});
    }

    void theKeepOpenButtonSaysWhetherThePanelIsKeptOpen()
    {
        Store& store = fx.openWith({StoreFixture::named("G")});
        PanelView& view = fx.panel(store);
        QAccessibleInterface* pin = QAccessible::queryAccessibleInterface(
            qobject_cast<FullPanel*>(view.form())->pinButton());
        QVERIFY(pin->state().checkable);
        QVERIFY(!pin->state().checked);
        pin->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
        QTRY_VERIFY(store.pinned());
        QVERIFY(pin->state().checked);
        store.setPinned(false); // changed elsewhere, the button follows
        QVERIFY(!pin->state().checked);
    }

    void theKeyboardsTileIsTheFocusedChild()
    {
        const QStringList items = fx.apps(3);
        Store& store = fx.openWith({StoreFixture::named("G", items)});
        PanelView& view = fx.panel(store);
        view.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&view));
        ItemGrid* grid = qobject_cast<FullPanel*>(view.form())->grid();
        QAccessibleInterface* list = gridNode(grid);
        QCOMPARE(list->focusChild(), nullptr);
        grid->takeKeys();
        grid->setFocusedTile(2);
        QCOMPARE(list->focusChild(), list->child(2));
        QVERIFY(list->child(2)->state().focused);
        QVERIFY(!list->child(0)->state().focused);
    }

    void theCompactPanelsTilesAreThereToo()
    {
        Store& store = fx.openWith({StoreFixture::named("Tools", {fx.app("Notes")})});
        store.setCompact(true);
        PanelView& view = fx.panel(store);
        ItemGrid* grid = qobject_cast<CompactPanel*>(view.form())->grid();
        QAccessibleInterface* list = gridNode(grid);
        QCOMPARE(list->text(QAccessible::Name), QStringLiteral("Tools"));
        QCOMPARE(names({list->child(0)}), QStringList{"Notes"});
        QVERIFY(names(withRole(&view, QAccessible::Button)).contains("All groups"));
    }
};

TRAYMATE_TEST_MAIN(PanelAccessibilityTest)
#include "tst_panel_accessibility.moc"
