#include "file_size_limit.h"
#include "panel/compact_panel.h"
#include "panel/full_panel.h"
#include "panel/group_tab.h"
#include "panel/item_grid.h"
#include "panel/symbols.h"
#include "panel/tab_strip.h"
#include "panel_fixture.h"
#include "settings/preferences.h"
#include "test_environment.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>

// The full and the compact form: what they show and what their controls do.
class PanelViewTest : public QObject {
    Q_OBJECT

private:
    PanelFixture fx;

    static FullPanel* full(PanelView& view) { return qobject_cast<FullPanel*>(view.form()); }
    static CompactPanel* compact(PanelView& view)
    {
        return qobject_cast<CompactPanel*>(view.form());
    }
    static QStringList titles(QMenu* menu)
    {
        QStringList list;
        for (QAction* action : menu->actions())
            list << action->text();
        return list;
    }
    static void trigger(QMenu* menu, const QString& title)
    {
        for (QAction* action : menu->actions()) {
            if (action->text() == title)
                return action->trigger();
        }
        QFAIL(qPrintable(QStringLiteral("no menu item ") + title));
    }
    // Whether a context menu on this spot of the grid opens a menu (closed again at once).
    static bool opensMenu(ItemGrid* grid, const QPoint& pos)
    {
        bool opened = false;
        QTimer::singleShot(50, [&opened] {
            if (QWidget* popup = QApplication::activePopupWidget()) {
                opened = true;
                popup->close();
            }
        });
        QContextMenuEvent event(QContextMenuEvent::Mouse, pos, grid->viewport()->mapToGlobal(pos));
        QCoreApplication::sendEvent(grid->viewport(), &event);
        QTest::qWait(100);
        return opened;
    }

private Q_SLOTS:
    void init()
    {
        fx.log = ServiceLog();
        QFile::remove(Preferences::filePath());
    }

    void returnLaunchesTheFirstMatchInGroupOrder()
    {
        const QString notes = fx.app("Notes"), safari = fx.app("Safari"),
                      messages = fx.app("Messages");
        Store& store = fx.openWith({StoreFixture::named("G", {notes, safari}),
                                    StoreFixture::named("H", {messages, safari})});
        store.setSelected(store.groups()[1].id);
        PanelView& view = fx.panel(store);
        FullPanel* form = full(view);
        QVERIFY(form);

        QTest::keyClicks(form->searchField(), QStringLiteral("  "));
        QTest::keyClick(form->searchField(), Qt::Key_Return);
        QVERIFY(fx.log.calls.isEmpty());
        QCOMPARE(form->grid()->role(), ItemGrid::Role::Cells);

        form->searchField()->clear();
        QTest::keyClicks(form->searchField(), QStringLiteral("sa"));
        QCOMPARE(store.query(), QStringLiteral("sa"));
        QCOMPARE(form->grid()->role(), ItemGrid::Role::Results);
        QCOMPARE(form->grid()->items(), QStringList({safari, messages}));
        QTest::keyClick(form->searchField(), Qt::Key_Return);
        QCOMPARE(fx.log.calls, QStringList({"open " + safari, "hide"}));
    }

    void launchHidesUnlessCloseAfterLaunchIsFalse()
    {
        const QString item = fx.app("Notes");
        Store& store = fx.openWith({StoreFixture::named("G", {item})});
        PanelView& view = fx.panel(store, false);
        view.launch(item); // never written
        QCOMPARE(fx.log.calls, QStringList({"open " + item, "hide"}));

        fx.log.calls.clear();
        Preferences::setValue(Preferences::closeAfterLaunch, false);
        view.launch(item);
        QCOMPARE(fx.log.calls, QStringList({"open " + item}));

        fx.log.calls.clear();
        Preferences::setValue(Preferences::closeAfterLaunch, QStringLiteral("sometimes"));
        view.launch(item);
        QCOMPARE(fx.log.calls.last(), QStringLiteral("hide"));

        fx.log.calls.clear();
        Preferences::setValue(Preferences::closeAfterLaunch, true);
        store.setPinned(true);
        view.launch(item);
        QCOMPARE(fx.log.calls.last(), QStringLiteral("hide"));
        store.setPinned(false);
    }

    void aDesktopEntryStartsItsProgramWithoutOurAutostartId()
    {
        const QString record = fx.scratch(QStringLiteral("environment.txt"));
        const QString script = fx.scratch(QStringLiteral("record.sh"));
        QFile file(script);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\nenv > \"$1.part\" && mv \"$1.part\" \"$1\"\n");
        file.close();
        file.setPermissions(file.permissions() | QFile::ExeOwner);
        const QString entry = fx.scratch(QStringLiteral("recorder.desktop"));
        QFile desktop(entry);
        QVERIFY(desktop.open(QIODevice::WriteOnly));
        desktop.write(("[Desktop Entry]\nType=Application\nName=Recorder\nExec=" + script + " " +
                       record + "\n")
                          .toUtf8());
        desktop.close();

        qputenv("DESKTOP_AUTOSTART_ID", "traymate-session-id");
        qputenv("TRAYMATE_TEST_MARK", "inherited");
        PanelServices::desktop().open(entry);
        qunsetenv("DESKTOP_AUTOSTART_ID");
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(record), 10000);
        QFile environment(record);
        QVERIFY(environment.open(QIODevice::ReadOnly));
        const QByteArray seen = environment.readAll();
        QVERIFY(seen.contains("TRAYMATE_TEST_MARK=inherited"));
        QVERIFY(!seen.contains("DESKTOP_AUTOSTART_ID"));
    }

    void headerButtonsShowTheirStateAndAct()
    {
        Store& store = fx.openWith({StoreFixture::named("G")});
        PanelView& view = fx.panel(store);
        FullPanel* form = full(view);
        QCOMPARE(form->searchField()->placeholderText(), QStringLiteral("Search"));
        QCOMPARE(form->pinButton()->toolTip(), QStringLiteral("Keep open"));
        QCOMPARE(form->settingsButton()->toolTip(), QStringLiteral("Settings"));
        QCOMPARE(form->closeButton()->toolTip(), QStringLiteral("Close"));

        QCOMPARE(form->pinButton()->symbol(), Symbol::Pin);
        QTest::mouseClick(form->pinButton(), Qt::LeftButton);
        QVERIFY(store.pinned());
        QCOMPARE(form->pinButton()->symbol(), Symbol::PinFill);
        QTest::mouseClick(form->pinButton(), Qt::LeftButton);
        QVERIFY(!store.pinned());
        QCOMPARE(form->pinButton()->symbol(), Symbol::Pin);

        QTest::mouseClick(form->settingsButton(), Qt::LeftButton);
        QTest::mouseClick(form->closeButton(), Qt::LeftButton);
        QTest::mouseClick(form->footerButton(QStringLiteral("Quit")), Qt::LeftButton);
        QCOMPARE(fx.log.calls, QStringList({"settings", "hide", "quit"}));
    }

    void searchFieldTakesFocusWhenThePanelAppears()
    {
        Store& store = fx.openWith({StoreFixture::named("G")});
        PanelView& view = fx.panel(store);
        QVERIFY(QTest::qWaitForWindowActive(&view));
        QTRY_VERIFY(full(view)->searchField()->hasFocus());
    }

    void tabsFollowTheSelection()
    {
        const QStringList items = fx.apps(2);
        Store& store = fx.openWith(
            {StoreFixture::named("A", items), StoreFixture::named("B"), StoreFixture::named("C")});
        store.setSelected(QUuid::createUuid()); // a group that is gone
        store.setQuery(QStringLiteral("zz"));
        PanelView& view = fx.panel(store);
        FullPanel* form = full(view);
        const QList<GroupTab*> tabs = form->tabStrip()->tabs();
        QCOMPARE(tabs.size(), 3);
        QVERIFY(tabs[0]->isCurrent() && !tabs[1]->isCurrent() && !tabs[2]->isCurrent());

        QTest::mouseClick(tabs[1], Qt::LeftButton);
        QCOMPARE(store.selected(), std::optional(store.groups()[1].id));
        QVERIFY(tabs[1]->isCurrent() && !tabs[0]->isCurrent());
        QCOMPARE(store.query(), QStringLiteral("zz")); // the search goes on

        store.setQuery(QString());
        QCOMPARE(form->grid()->items(), QStringList());
        QTest::mouseClick(tabs[0], Qt::LeftButton);
        QCOMPARE(form->grid()->items(), items);
    }

    void emptyStateShowsOnlyForAnEmptyGroupOutsideASearch()
    {
        Store& store =
            fx.openWith({StoreFixture::named("G"), StoreFixture::named("H", fx.apps(1))});
        PanelView& view = fx.panel(store);
        ItemGrid* grid = full(view)->grid();
        QVERIFY(grid->emptyTextVisible());
        QCOMPARE(grid->emptyText(), QStringLiteral("Drop apps, files or folders here"));
        store.setQuery(QStringLiteral("nothing matches this"));
        QVERIFY(grid->items().isEmpty());
        QVERIFY(!grid->emptyTextVisible());
        store.setQuery(QString());
        store.setSelected(store.groups()[1].id);
        QVERIFY(!grid->emptyTextVisible());
    }

    void tabMenuOffersResetIconOnlyWithAnIcon()
    {
        AppGroup plain = StoreFixture::named("Plain");
        AppGroup pictured = StoreFixture::named("Pictured");
        pictured.icon = fx.scratch("no-such-icon.png"); // there, even if it cannot be loaded
        Store& store = fx.openWith({plain, pictured});
        PanelView& view = fx.panel(store, false);
        QCOMPARE(titles(view.groupMenu(store.groups()[0])),
                 QStringList({"Rename", "Set icon...", "Create Dock icon", "Delete"}));
        QCOMPARE(
            titles(view.groupMenu(store.groups()[1])),
            QStringList({"Rename", "Set icon...", "Reset icon", "Create Dock icon", "Delete"}));

        trigger(view.groupMenu(store.groups()[1]), QStringLiteral("Reset icon"));
        QVERIFY(!store.groups()[1].icon);
        trigger(view.groupMenu(store.groups()[0]), QStringLiteral("Create Dock icon"));
        QCOMPARE(fx.log.calls,
                 QStringList({"refresh " + store.groups()[1].idText(), "addToDock Plain"}));
    }

    void deleteAsksThenRemovesTheLauncherBeforeTheGroup()
    {
        Store& store = fx.openWith({StoreFixture::named("Work"), StoreFixture::named("Home")});
        PanelView& view = fx.panel(store, false);
        fx.log.confirmAnswer = false;
        trigger(view.groupMenu(store.groups()[0]), QStringLiteral("Delete"));
        QCOMPARE(fx.log.calls, QStringList{"confirm Delete the group Work?"});
        QCOMPARE(store.groups().size(), 2);

        fx.log = ServiceLog();
        connect(&store, &Store::aboutToChange, this, [&] { fx.log.calls << "store changes"; });
        trigger(view.groupMenu(store.groups()[0]), QStringLiteral("Delete"));
        QCOMPARE(fx.log.calls.mid(0, 3),
                 QStringList({"confirm Delete the group Work?", "removed Work", "store changes"}));
        QCOMPARE(store.groups().size(), 1);
        QCOMPARE(store.groups()[0].name, QStringLiteral("Home"));
        disconnect(&store, &Store::aboutToChange, this, nullptr);

        // The store keeps its last group, so nothing at all happens to it or its launcher.
        fx.log = ServiceLog();
        trigger(view.groupMenu(store.groups()[0]), QStringLiteral("Delete"));
        QCOMPARE(fx.log.calls, QStringList{"confirm Delete the group Home?"});
        QCOMPARE(store.groups().size(), 1);
    }

    void deletingAGroupFromItsOwnTabMenu()
    {
        Store& store = fx.openWith({StoreFixture::named("Keep"), StoreFixture::named("Drop")});
        PanelView& view = fx.panel(store);
        GroupTab* last = full(view)->tabStrip()->tabs().last();
        QTimer::singleShot(50, [] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu)
                return;
            for (QAction* action : menu->actions()) {
                if (action->text() == QLatin1String("Delete"))
                    menu->setActiveAction(action);
            }
            QTest::keyClick(menu, Qt::Key_Return);
        });
        QContextMenuEvent event(QContextMenuEvent::Mouse, last->rect().center(),
                                last->mapToGlobal(last->rect().center()));
        QCoreApplication::sendEvent(last, &event);
        QCOMPARE(store.groups().size(), 1);
        QCOMPARE(store.groups()[0].name, QStringLiteral("Keep"));
        QVERIFY(!PanelState::keepOpen);
        QTRY_COMPARE(full(view)->tabStrip()->findChildren<GroupTab*>().size(), 1);
    }

    void renameSavesAndTellsTheLauncherEvenForTheSameName()
    {
        Store& store = fx.openWith({StoreFixture::named("Work", fx.apps(1))});
        PanelView& view = fx.panel(store, false);
        fx.log.promptAnswer = std::nullopt;
        fx.markFile();
        trigger(view.groupMenu(store.groups()[0]), QStringLiteral("Rename"));
        QCOMPARE(fx.log.calls, QStringList{"prompt Rename group | Work"});
        QVERIFY(!fx.fileWasWritten());

        fx.log.promptAnswer = QStringLiteral("Work");
        trigger(view.groupMenu(store.groups()[0]), QStringLiteral("Rename"));
        QCOMPARE(fx.log.calls.last(), QStringLiteral("renamed Work -> Work"));
        QVERIFY(fx.fileWasWritten());

        fx.log.promptAnswer = QStringLiteral("Play");
        trigger(view.groupMenu(store.groups()[0]), QStringLiteral("Rename"));
        QCOMPARE(store.groups()[0].name, QStringLiteral("Play"));
        QCOMPARE(fx.log.renames.last().first.name, QStringLiteral("Work"));
        QCOMPARE(fx.log.renames.last().second, store.groups()[0]);
        QCOMPARE(fx.fileGroups(), store.groups());
    }

    void newGroupIsMadeOnlyForAnAnswer()
    {
        Store& store = fx.openWith({StoreFixture::named("G")});
        PanelView& view = fx.panel(store);
        QPushButton* button = full(view)->footerButton(QStringLiteral("New Group"));
        QVERIFY(button);
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(fx.log.calls, QStringList{"prompt New group name | "});
        QCOMPARE(store.groups().size(), 1);
        fx.log.promptAnswer = QStringLiteral("Tools");
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(store.groups().size(), 2);
        QCOMPARE(store.groups()[1].name, QStringLiteral("Tools"));
        QVERIFY(full(view)->tabStrip()->tabs()[1]->isCurrent());
    }

    void tilesHaveTheirMenuButResultsDoNot()
    {
        const QString notes = fx.app("Notes");
        Store& store = fx.openWith({StoreFixture::named("G", {notes})});
        PanelView& view = fx.panel(store);
        QCOMPARE(titles(view.itemMenu(notes)),
                 QStringList({"Show in Folder", "Remove from group"}));
        trigger(view.itemMenu(notes), QStringLiteral("Show in Folder"));
        QCOMPARE(fx.log.calls, QStringList{"reveal " + notes});

        ItemGrid* grid = full(view)->grid();
        const QPoint onTile = grid->tileRect(0).center();
        QVERIFY(opensMenu(grid, onTile));
        store.setQuery(QStringLiteral("notes"));
        QCOMPARE(grid->items(), QStringList{notes});
        QVERIFY(!opensMenu(grid, onTile));
        store.setQuery(QString());

        trigger(view.itemMenu(notes), QStringLiteral("Remove from group"));
        QVERIFY(store.groups()[0].apps.isEmpty());
        QVERIFY(grid->emptyTextVisible());
    }

    void clickOnATileLaunchesIt()
    {
        const QStringList items = fx.apps(3);
        Store& store = fx.openWith({StoreFixture::named("G", items)});
        PanelView& view = fx.panel(store);
        ItemGrid* grid = full(view)->grid();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->tileRect(2).center());
        QCOMPARE(fx.log.calls, QStringList({"open " + items[2], "hide"}));
        fx.log.calls.clear();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->tileRect(2).bottomRight() + QPoint(3, 3));
        QVERIFY(fx.log.calls.isEmpty()); // between tiles
    }

    void manyItemsAndGroupsScroll()
    {
        QList<AppGroup> groups{StoreFixture::named("Thirty", fx.apps(30))};
        for (int i = 0; i < 12; ++i)
            groups << StoreFixture::named(QStringLiteral("Group number %1").arg(i));
        Store& store = fx.openWith(groups);
        PanelView& view = fx.panel(store);
        FullPanel* form = full(view);
        QCOMPARE(view.size(), QSize(400, 440));
        QCOMPARE(form->grid()->gridGeometry().columns, 4);
        QCOMPARE(form->grid()->rowCount(), 8);
        QVERIFY(form->grid()->verticalScrollBar()->maximum() > 0);
        QVERIFY(form->grid()->height() >= 260);
        QVERIFY(form->tabStrip()->horizontalScrollBar()->maximum() > 0);
    }

    void pointerReportsReachTheDelegate()
    {
        Store& store = fx.openWith({StoreFixture::named("G")});
        PanelView& view = fx.panel(store);
        fx.log.hovers.clear();
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), view.mapToGlobal(QPointF(5, 5)));
        QCoreApplication::sendEvent(&view, &enter);
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(&view, &leave);
        QCOMPARE(fx.log.hovers, QList<bool>({true, false}));
    }

    void compactLayouts_data()
    {
        QTest::addColumn<int>("items");
        QTest::addColumn<int>("columns");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("scrolls");
        QTest::newRow("1") << 1 << 1 << 1 << QSize(296, 154) << false;
        QTest::newRow("4") << 4 << 4 << 1 << QSize(384, 154) << false;
        QTest::newRow("9") << 9 << 4 << 3 << QSize(384, 322) << false;
        QTest::newRow("25") << 25 << 4 << 7 << QSize(384, 490) << true;
    }
    void compactLayouts()
    {
        QFETCH(int, items);
        QFETCH(int, columns);
        QFETCH(int, rows);
        QFETCH(QSize, size);
        QFETCH(bool, scrolls);
        Store& store = fx.openWith(
            {StoreFixture::named("Other"), StoreFixture::named("Tools", fx.apps(items))});
        store.setSelected(store.groups()[1].id);
        store.setCompact(true);
        PanelView& view = fx.panel(store);
        CompactPanel* form = compact(view);
        QVERIFY(form);
        QCOMPARE(view.size(), size);
        QCOMPARE(form->shownName(), QStringLiteral("Tools"));
        ItemGrid* grid = form->grid();
        QCOMPARE(grid->gridGeometry().columns, columns);
        QCOMPARE(grid->rowCount(), rows);
        QCOMPARE(grid->verticalScrollBar()->maximum() > 0, scrolls);
        QVERIFY(!grid->emptyTextVisible());
        // The columns sit side by side, 80 wide and 8 apart, centred in the panel.
        const QRect first = grid->tileRect(0), last = grid->tileRect(columns - 1);
        QCOMPARE(first.width(), 80);
        QCOMPARE(last.left() - first.left(), (columns - 1) * 88);
        QVERIFY(first.left() >= 0 && last.right() < grid->viewport()->width());
        const int middle =
            grid->viewport()->mapTo(&view, QPoint((first.left() + last.right()) / 2, 0)).x();
        QVERIFY2(qAbs(middle - size.width() / 2) <= (scrolls ? 5 : 1),
                 qPrintable(QString::number(middle)));
        QVERIFY(!form->findChild<QLineEdit*>());
    }

    void compactEmptyGroupAndItsButtons()
    {
        const QString only = fx.app("Only");
        Store& store =
            fx.openWith({StoreFixture::named("Solo", {only}), StoreFixture::named("Empty")});
        store.setSelected(store.groups()[1].id);
        store.setCompact(true);
        PanelView& view = fx.panel(store);
        CompactPanel* form = compact(view);
        QVERIFY(form->grid()->emptyTextVisible());
        QCOMPARE(form->grid()->emptyText(), QStringLiteral("Empty group"));
        QCOMPARE(form->allGroupsButton()->toolTip(), QStringLiteral("All groups"));
        QCOMPARE(form->closeButton()->toolTip(), QStringLiteral("Close"));
        QTest::mouseClick(form->closeButton(), Qt::LeftButton);
        QCOMPARE(fx.log.calls, QStringList{"hide"});

        store.setSelected(store.groups()[0].id);
        QVERIFY(!form->grid()->emptyTextVisible());
        trigger(view.itemMenu(only), QStringLiteral("Remove from group"));
        QVERIFY(form->grid()->emptyTextVisible());

        // No file drop target in the compact form.
        QMimeData files;
        files.setUrls({QUrl::fromLocalFile(fx.app("Dropped"))});
        QVERIFY(!sendDrag(form->grid()->viewport(), QEvent::DragEnter, QPoint(20, 20), &files));
    }

    void contentNeverOutgrowsTheWindow()
    {
        // The shell sizes the compact window 296 by 154 for an id of no group, while the
        // content follows the first group's nine items.
        Store& store = fx.openWith({StoreFixture::named("First", fx.apps(9))});
        store.setSelected(QUuid::createUuid());
        store.setCompact(true);
        PanelView& view = fx.panel(store);
        QCOMPARE(view.panelSize(), QSize(384, 322));
        view.resize(296, 154);
        QCOMPARE(view.form()->geometry(), QRect(0, 0, 296, 154));
        view.resize(500, 500);
        QCOMPARE(view.form()->geometry(), QRect(58, 89, 384, 322));
    }

    void allGroupsSwitchesToTheFullFormInPlace()
    {
        Store& store =
            fx.openWith({StoreFixture::named("A"), StoreFixture::named("B", fx.apps(5))});
        store.setSelected(store.groups()[1].id);
        store.setCompact(true);
        PanelView& view = fx.panel(store);
        QTest::mouseClick(compact(view)->allGroupsButton(), Qt::LeftButton);
        QVERIFY(!store.compact());
        QCOMPARE(fx.log.calls, QStringList({"clearAnchor", "resize"}));
        QCOMPARE(view.panelSize(), QSize(400, 440));
        FullPanel* form = full(view);
        QVERIFY(form);
        QVERIFY(form->tabStrip()->tabs()[1]->isCurrent());
        QCOMPARE(form->grid()->items().size(), 5);
        QVERIFY(QTest::qWaitForWindowActive(&view));
        QTRY_VERIFY(form->searchField()->hasFocus());
    }

    void aFailedSaveShowsALineSayingWhyUntilAWriteSucceeds()
    {
        for (const bool compactForm : {false, true}) {
            Store& store = fx.openWith({StoreFixture::named("Work", fx.apps(2))});
            store.setCompact(compactForm);
            PanelView& view = fx.panel(store);
            const auto shownProblem = [&view] {
                QStringList shown;
                for (QLabel* label : view.form()->findChildren<QLabel*>()) {
                    if (label->isVisible() && label->text().contains(QStringLiteral("saved")))
                        shown << label->text();
                }
                return shown;
            };
            QCOMPARE(shownProblem(), QStringList());
            {
                FileSizeLimit full(20);
                store.remove(store.groups()[0].apps[0], store.groups()[0].id);
            }
            QCOMPARE(shownProblem(),
                     QStringList{QStringLiteral("Groups not saved: ") + qt_error_string(EFBIG)});
            QCOMPARE(store.groups()[0].apps.size(), 1); // the edit is shown and kept
            store.remove(QStringLiteral("/not/there"), store.groups()[0].id);
            QCOMPARE(shownProblem(), QStringList());
            QCOMPARE(fx.fileGroups(), store.groups());
        }
    }
};

TRAYMATE_TEST_MAIN(PanelViewTest)
#include "tst_panel_view.moc"
