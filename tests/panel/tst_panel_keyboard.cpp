#include "panel/compact_panel.h"
#include "panel/full_panel.h"
#include "panel/item_grid.h"
#include "panel_fixture.h"
#include "settings/preferences.h"
#include "test_environment.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>

// The panel driven by the keyboard alone, as typed at whatever widget has the focus.
class PanelKeyboardTest : public QObject {
    Q_OBJECT

private:
    PanelFixture fx;

    static FullPanel* full(PanelView& view) { return qobject_cast<FullPanel*>(view.form()); }

    static void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget* focus = QApplication::focusWidget();
        QVERIFY(focus);
        QTest::keyClick(focus, key, modifiers);
    }

    PanelView& shownPanel(Store& store)
    {
        PanelView& view = fx.panel(store);
        view.activateWindow();
        if (!QTest::qWaitForWindowActive(&view))
            qFatal("the panel never became active");
        QCoreApplication::processEvents();
        return view;
    }

    // Runs `open`, and triggers the first entry of the menu it opens; false without a menu.
    static bool firstMenuEntry(const std::function<void()>& open)
    {
        bool opened = false;
        QTimer::singleShot(50, [&opened] {
            if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
                opened = true;
                menu->setActiveAction(menu->actions().value(0));
                QTest::keyClick(menu, Qt::Key_Return);
            }
        });
        open();
        QTest::qWait(100);
        return opened;
    }

private Q_SLOTS:
    void init()
    {
        fx.log = ServiceLog();
        QFile::remove(Preferences::filePath());
    }

    void downEntersTheGridArrowsMoveAndReturnLaunches()
    {
        const QStringList items = fx.apps(7);
        Store& store = fx.openWith({StoreFixture::named("G", items)});
        PanelView& view = shownPanel(store);
        FullPanel* form = full(view);
        ItemGrid* grid = form->grid();
        QTRY_VERIFY(form->searchField()->hasFocus());
        const int columns = grid->gridGeometry().columns;
        QVERIFY(columns >= 2 && columns < 7);

        press(Qt::Key_Down);
        QVERIFY(grid->hasFocus());
        QCOMPARE(grid->focusedTile(), 0);
        press(Qt::Key_Right);
        press(Qt::Key_Down);
        QCOMPARE(grid->focusedTile(), 1 + columns);
        press(Qt::Key_Left);
        press(Qt::Key_Left);
        QCOMPARE(grid->focusedTile(), columns - 1); // back over the row's start
        press(Qt::Key_Return);
        QCOMPARE(fx.log.calls, QStringList({"open " + items[columns - 1], "hide"}));

        fx.log.calls.clear();
        press(Qt::Key_End);
        press(Qt::Key_Space);
        QCOMPARE(fx.log.calls, QStringList({"open " + items.last(), "hide"}));

        press(Qt::Key_Home);
        press(Qt::Key_Up); // above the first row: back to the search
        QVERIFY(form->searchField()->hasFocus());
    }

    void theFocusedTileIsDrawnApart()
    {
        const QStringList items = fx.apps(3);
        Store& store = fx.openWith({StoreFixture::named("G", items)});
        PanelView& view = shownPanel(store);
        ItemGrid* grid = full(view)->grid();
        const QImage unfocused = grid->viewport()->grab().toImage();
        press(Qt::Key_Down);
        const QImage onFirst = grid->viewport()->grab().toImage();
        press(Qt::Key_Right);
        const QImage onSecond = grid->viewport()->grab().toImage();
        QVERIFY(onFirst != unfocused);
        QVERIFY(onSecond != onFirst);
        const QRect first = grid->tileRect(0);
        const qreal ratio = onFirst.devicePixelRatio();
        QCOMPARE(onSecond.copy(QRect(first.topLeft() * ratio, first.size() * ratio)),
                 unfocused.copy(QRect(first.topLeft() * ratio, first.size() * ratio)));
    }

    void searchResultsAreReachedTheSameWay()
    {
        const QString notes = fx.app("Notes");
        const QString nodes = fx.app("Nodes");
        Store& store = fx.openWith({StoreFixture::named("G", {fx.app("Mail"), notes, nodes})});
        PanelView& view = shownPanel(store);
        FullPanel* form = full(view);
        QTest::keyClicks(form->searchField(), QStringLiteral("no"));
        QCOMPARE(form->grid()->items(), QStringList({notes, nodes}));
        press(Qt::Key_Down);
        press(Qt::Key_Right);
        press(Qt::Key_Return);
        QCOMPARE(fx.log.calls, QStringList({"open " + nodes, "hide"}));
    }

    void typingOnTheTilesGoesToTheSearch()
    {
        const QStringList items = fx.apps(3);
        Store& store = fx.openWith({StoreFixture::named("G", items)});
        PanelView& view = shownPanel(store);
        FullPanel* form = full(view);
        press(Qt::Key_Down);
        QVERIFY(form->grid()->hasFocus());
        press(Qt::Key_I);
        press(Qt::Key_T);
        QVERIFY(form->searchField()->hasFocus());
        QCOMPARE(form->searchField()->text(), QStringLiteral("it"));
        QCOMPARE(store.query(), QStringLiteral("it"));
        QCOMPARE(form->grid()->role(), ItemGrid::Role::Results);
    }

    void shiftF10AndTheMenuKeyOpenTheFocusedTilesMenu()
    {
        const QStringList items = fx.apps(3);
        Store& store = fx.openWith({StoreFixture::named("G", items)});
        PanelView& view = shownPanel(store);
        ItemGrid* grid = full(view)->grid();
        press(Qt::Key_Down);
        press(Qt::Key_Right);
        // The first entry shows the item in its folder.
        QVERIFY(firstMenuEntry([] { press(Qt::Key_F10, Qt::ShiftModifier); }));
        QCOMPARE(fx.log.calls, QStringList({"reveal " + items[1]}));

        fx.log.calls.clear();
        press(Qt::Key_Right);
        // The Menu key reaches a widget as a keyboard context menu event.
        QVERIFY(firstMenuEntry([grid] {
            QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(0, 0));
            QCoreApplication::sendEvent(grid, &event);
        }));
        QCOMPARE(fx.log.calls, QStringList({"reveal " + items[2]}));
    }

    void groupKeysSwitchGroupsFromTheSearchAndTheTiles()
    {
        const QStringList items = fx.apps(2);
        Store& store = fx.openWith({StoreFixture::named("A", items), StoreFixture::named("B"),
                                    StoreFixture::named("C", {fx.app("Mail")})});
        PanelView& view = shownPanel(store);
        FullPanel* form = full(view);
        const auto selectedName = [&store] {
            const AppGroup* group = store.group(store.selected().value_or(QUuid()));
            return group ? group->name : QString();
        };
        press(Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(selectedName(), QStringLiteral("B"));
        press(Qt::Key_PageDown, Qt::ControlModifier);
        QCOMPARE(selectedName(), QStringLiteral("C"));
        press(Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(selectedName(), QStringLiteral("A")); // round past the last group
        press(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(selectedName(), QStringLiteral("C"));
        press(Qt::Key_PageUp, Qt::ControlModifier);
        QCOMPARE(selectedName(), QStringLiteral("B"));

        press(Qt::Key_1, Qt::AltModifier);
        QCOMPARE(selectedName(), QStringLiteral("A"));
        press(Qt::Key_9, Qt::AltModifier); // no ninth group: nothing changes
        QCOMPARE(selectedName(), QStringLiteral("A"));
        QVERIFY(form->searchField()->text().isEmpty()); // the digits were not typed

        press(Qt::Key_Down);
        QVERIFY(form->grid()->hasFocus());
        press(Qt::Key_3, Qt::AltModifier);
        QCOMPARE(selectedName(), QStringLiteral("C"));
        QVERIFY(form->grid()->hasFocus());
        press(Qt::Key_Return);
        QCOMPARE(fx.log.calls, QStringList({"open " + store.groups()[2].apps[0], "hide"}));
    }

    void theCompactPanelStartsOnItsTilesAndIgnoresLetters()
    {
        const QStringList items = fx.apps(5);
        Store& store = fx.openWith({StoreFixture::named("G", items), StoreFixture::named("H")});
        store.setCompact(true);
        PanelView& view = shownPanel(store);
        auto* form = qobject_cast<CompactPanel*>(view.form());
        QVERIFY(form);
        QTRY_VERIFY(form->grid()->hasFocus());
        const int columns = form->grid()->gridGeometry().columns;
        press(Qt::Key_Down);
        QCOMPARE(form->grid()->focusedTile(), columns);
        press(Qt::Key_A);
        press(Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(store.query(), QString());
        QCOMPARE(store.groups()[0].id, PanelModel::current(store.groups(), store.selected())->id);
        press(Qt::Key_Up);
        press(Qt::Key_Up); // nowhere above: stays on the first row
        QVERIFY(form->grid()->hasFocus());
        QCOMPARE(form->grid()->focusedTile(), 0);
        press(Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(fx.log.calls, QStringList({"open " + items[0], "hide"}));
    }
};

TRAYMATE_TEST_MAIN(PanelKeyboardTest)
#include "tst_panel_keyboard.moc"
