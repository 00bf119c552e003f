#include "panel/drop_delegates.h"
#include "panel/file_chooser.h"
#include "panel/full_panel.h"
#include "panel/group_tab.h"
#include "panel/item_drag.h"
#include "panel/item_grid.h"
#include "panel/panel_drag.h"
#include "panel/tab_strip.h"
#include "panel_fixture.h"
#include "test_environment.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QImage>
#include <QListView>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

// Reordering by dragging, moving items between groups, files from outside and the choosers.
class PanelDragDropTest : public QObject {
    Q_OBJECT

private:
    PanelFixture fx;
    QStringList abc;

    static ItemGrid* grid(PanelView& view) { return qobject_cast<FullPanel*>(view.form())->grid(); }
    static GroupTab* tab(PanelView& view, int index)
    {
        return qobject_cast<FullPanel*>(view.form())->tabStrip()->tabs().value(index);
    }
    static QPoint centre(QWidget* widget) { return widget->rect().center(); }

private Q_SLOTS:
    void init()
    {
        fx.log = ServiceLog();
        abc = {fx.app("A"), fx.app("B"), fx.app("C")};
        PanelState::keepOpen = false;
    }

    void thirdItemOverTheFirstMovesAtOnce()
    {
        Store& store = fx.openWith({StoreFixture::named("G", abc)});
        PanelView& view = fx.panel(store);
        ItemGrid* cells = grid(view);
        std::unique_ptr<QMimeData> mime(beginItemDrag(store, abc[2]));
        QCOMPARE(mime->text(), abc[2]);
        QVERIFY(!store.dragGroup);

        const QPoint overC = cells->tileRect(2).center();
        QVERIFY(sendDrag(cells->viewport(), QEvent::DragEnter, overC, mime.get()));
        QCOMPARE(store.groups()[0].apps, abc); // its own cell: nothing
        QVERIFY(
            sendDrag(cells->viewport(), QEvent::DragMove, cells->tileRect(0).center(), mime.get()));
        QCOMPARE(store.groups()[0].apps, QStringList({abc[2], abc[0], abc[1]}));
        QCOMPARE(fx.fileGroups(), store.groups());
        QCOMPARE(cells->items(), store.groups()[0].apps);

        // A, now second, glides from the first place to the second.
        QVERIFY(cells->tileRect(1).left() - cells->tileRect(0).left() < 40);
        QTRY_COMPARE(cells->tileRect(1).left() - cells->tileRect(0).left(),
                     qRound(cells->gridGeometry().columnWidth + 8));

        fx.markFile();
        QVERIFY(sendDrag(cells->viewport(), QEvent::Drop, cells->tileRect(0).center(), mime.get()));
        QVERIFY(!fx.fileWasWritten()); // the drop only ends the drag
        QVERIFY(!store.dragApp && !store.dragGroup);
    }

    void draggingBackAndForthFollowsThePointer()
    {
        Store& store = fx.openWith({StoreFixture::named("G", abc)});
        PanelView& view = fx.panel(store);
        ItemGrid* cells = grid(view);
        std::unique_ptr<QMimeData> mime(beginItemDrag(store, abc[0]));
        QVERIFY(sendDrag(cells->viewport(), QEvent::DragEnter, cells->tileRect(0).center(),
                         mime.get()));
        sendDrag(cells->viewport(), QEvent::DragMove, cells->tileRect(1).center(), mime.get());
        QCOMPARE(store.groups()[0].apps, QStringList({abc[1], abc[0], abc[2]}));
        sendDrag(cells->viewport(), QEvent::DragMove, cells->tileRect(2).center(), mime.get());
        QCOMPARE(store.groups()[0].apps, QStringList({abc[1], abc[2], abc[0]}));
        sendDrag(cells->viewport(), QEvent::DragLeave, {}, mime.get());
        QCOMPARE(store.groups()[0].apps, QStringList({abc[1], abc[2], abc[0]}));
    }

    void cellsRefuseGroupsAndForeignText()
    {
        Store& store = fx.openWith({StoreFixture::named("G", abc), StoreFixture::named("H")});
        PanelView& view = fx.panel(store);
        ItemGrid* cells = grid(view);
        fx.markFile();

        std::unique_ptr<QMimeData> group(beginGroupDrag(store, store.groups()[1].id));
        QCOMPARE(group->text(), store.groups()[1].idText());
        QVERIFY(!store.dragApp);
        QVERIFY(!sendDrag(cells->viewport(), QEvent::DragEnter, cells->tileRect(0).center(),
                          group.get()));

        store.dragGroup.reset();
        QMimeData text;
        text.setText(abc[2]); // plain text from another program
        QVERIFY(
            !sendDrag(cells->viewport(), QEvent::DragEnter, cells->tileRect(0).center(), &text));
        QVERIFY(!sendDrag(tab(view, 1), QEvent::DragEnter, centre(tab(view, 1)), &text));
        QVERIFY(!fx.fileWasWritten());
    }

    void anItemDroppedOnATabMovesToItsGroup()
    {
        Store& store = fx.openWith({StoreFixture::named("G", abc), StoreFixture::named("H")});
        PanelView& view = fx.panel(store);
        std::unique_ptr<QMimeData> mime(beginItemDrag(store, abc[1]));
        GroupTab* own = tab(view, 0);
        QVERIFY(sendDrag(own, QEvent::DragEnter, centre(own), mime.get()));
        QVERIFY(sendDrag(own, QEvent::Drop, centre(own), mime.get()));
        QCOMPARE(store.groups()[0].apps, abc);
        QVERIFY(!store.dragApp);

        mime.reset(beginItemDrag(store, abc[1]));
        GroupTab* other = tab(view, 1);
        QVERIFY(sendDrag(other, QEvent::DragEnter, centre(other), mime.get()));
        QCOMPARE(store.groups()[0].apps, abc); // entering changes nothing
        QVERIFY(sendDrag(other, QEvent::Drop, centre(other), mime.get()));
        QCOMPARE(store.groups()[0].apps, QStringList({abc[0], abc[2]}));
        QCOMPARE(store.groups()[1].apps, QStringList{abc[1]});
        QVERIFY(!store.dragApp && !store.dragGroup);
    }

    void aTabOverAnotherTakesItsPlaceLive()
    {
        Store& store = fx.openWith(
            {StoreFixture::named("A"), StoreFixture::named("B"), StoreFixture::named("C")});
        const QList<AppGroup> before = store.groups();
        PanelView& view = fx.panel(store);
        std::unique_ptr<QMimeData> mime(beginGroupDrag(store, before[2].id));
        GroupTab* first = tab(view, 0);
        QVERIFY(sendDrag(first, QEvent::DragEnter, centre(first), mime.get()));
        QCOMPARE(store.groups(), QList<AppGroup>({before[2], before[0], before[1]}));
        QCOMPARE(tab(view, 0)->group().name, QStringLiteral("C"));
        // C slides from the third place to the first.
        TabStrip* strip = qobject_cast<FullPanel*>(view.form())->tabStrip();
        QVERIFY(strip->isGliding());
        QVERIFY(strip->shownX(tab(view, 0)) > tab(view, 1)->x());
        QTRY_VERIFY(!strip->isGliding());
        QCOMPARE(strip->shownX(tab(view, 0)), tab(view, 0)->x());
        QVERIFY(sendDrag(tab(view, 0), QEvent::Drop, centre(tab(view, 0)), mime.get()));
        QCOMPARE(store.groups(), QList<AppGroup>({before[2], before[0], before[1]}));
        QVERIFY(!store.dragGroup);
    }

    void aShortTabDraggedAcrossALongOneMovesOnce()
    {
        Store& store = fx.openWith(
            {StoreFixture::named("A"), StoreFixture::named("A group with a much longer name")});
        const QList<AppGroup> before = store.groups();
        PanelView& view = fx.panel(store);
        TabStrip* strip = qobject_cast<FullPanel*>(view.form())->tabStrip();
        QWidget* row = strip->widget();
        // The orders the whole list went through (a move may pass through a shorter list).
        auto order = [&store] {
            QList<QUuid> ids;
            for (const AppGroup& group : store.groups())
                ids << group.id;
            return ids;
        };
        QList<QList<QUuid>> orders{order()};
        connect(&store, &Store::changed, this, [&] {
            if (store.groups().size() == before.size() && order() != orders.last())
                orders << order();
        });

        // The pointer goes right from the short tab's middle to the long tab's far end, in
        // small steps; each step goes to the tab under it then, as Qt delivers a drag.
        std::unique_ptr<QMimeData> mime(beginGroupDrag(store, before[0].id));
        const int end = tab(view, 1)->geometry().right() - 2;
        QPointer<QWidget> under; // a tab of a moved group may go away
        QPoint at = tab(view, 0)->geometry().center();
        for (; at.x() <= end; at.rx() += 3) {
            QWidget* now = row->childAt(at);
            if (now != under) {
                if (under)
                    sendDrag(under, QEvent::DragLeave, QPoint(), mime.get());
                if (now)
                    sendDrag(now, QEvent::DragEnter, now->mapFrom(row, at), mime.get());
                under = now;
            } else if (now) {
                sendDrag(now, QEvent::DragMove, now->mapFrom(row, at), mime.get());
            }
            QCoreApplication::processEvents(); // as the drag's own event loop turns
        }
        if (under)
            sendDrag(under, QEvent::Drop, under->mapFrom(row, at), mime.get());
        endPanelDrag(store);
        QCOMPARE(orders.size(), 2); // the first order, and one move
        QCOMPARE(store.groups(), QList<AppGroup>({before[1], before[0]}));
    }

    void filesFromOutsideJoinTheGroupCurrentAtTheDrop()
    {
        Store& store = fx.openWith({StoreFixture::named("G", {abc[0]}), StoreFixture::named("H")});
        PanelView& view = fx.panel(store);
        ItemGrid* cells = grid(view);
        const QString document = fx.makeItem(QStringLiteral("Report.txt"));
        QMimeData files;
        files.setUrls({QUrl::fromLocalFile(document), QUrl::fromLocalFile(fx.scratch("gone.txt")),
                       QUrl::fromLocalFile(abc[0]), QUrl(QStringLiteral("https://example.org/x"))});
        files.setText(document); // file managers offer text as well
        const QPoint anywhere(cells->viewport()->width() - 4, cells->viewport()->height() - 4);
        QVERIFY(sendDrag(cells->viewport(), QEvent::DragEnter, anywhere, &files));
        QVERIFY(sendDrag(cells->viewport(), QEvent::Drop, anywhere, &files));
        store.setSelected(store.groups()[1].id); // before the items arrive
        QTRY_COMPARE(store.groups()[0].apps, QStringList({abc[0], document}));
        QVERIFY(store.groups()[1].apps.isEmpty());
    }

    void aDragEndsWhenItsSourceWentDuringIt()
    {
        Store& store = fx.openWith({StoreFixture::named("G", abc), StoreFixture::named("H")});
        {
            PanelView& view = fx.panel(store);
            PanelDrag session;
            Q_EMIT grid(view)->itemDragStarted(abc[1], &session);
            QCOMPARE(store.dragApp, std::optional(abc[1]));
            fx.closePanel(); // the view, and the grid the drag started from, go meanwhile
            QVERIFY(store.dragApp);
        }
        QVERIFY(!store.dragApp && !store.dragGroup);

        const QUuid h = store.groups()[1].id;
        {
            PanelView& view = fx.panel(store);
            PanelDrag session;
            Q_EMIT qobject_cast<FullPanel*>(view.form())->tabStrip()->groupDragStarted(h, &session);
            QCOMPARE(store.dragGroup, std::optional(h));
            fx.closePanel();
        }
        QVERIFY(!store.dragApp && !store.dragGroup);
    }

    void noGroupRefusesDropsAndAdd()
    {
        Store& store = fx.openWith({StoreFixture::named("G")});
        PanelView& view = fx.panel(store);
        store.setGroups({});
        QVERIFY(!view.current());
        QVERIFY(!view.handleDrop({QUrl::fromLocalFile(abc[0])}));
        view.addItems();
        QVERIFY(fx.log.choices.isEmpty());
    }

    void addChoosesFilesAndFoldersKeepingThePanelOpen()
    {
        Store& store = fx.openWith({StoreFixture::named("G"), StoreFixture::named("H")});
        PanelView& view = fx.panel(store);
        fx.log.chosen = {abc[2], abc[0]};
        QTest::mouseClick(
            qobject_cast<FullPanel*>(view.form())->footerButton(QStringLiteral("Add")),
            Qt::LeftButton);
        QCOMPARE(fx.log.choices.size(), 1);
        const FileChoice choice = fx.log.choices[0];
        QCOMPARE(choice.startFolder, QDir(QStringLiteral("/Applications")).exists()
                                         ? QStringLiteral("/Applications")
                                         : QStringLiteral("/usr/share/applications"));
        QVERIFY(choice.multiple && choice.directories && !choice.imagesOnly);
        QCOMPARE(fx.log.keptOpenWhileChoosing, QList<bool>{true});
        QVERIFY(!PanelState::keepOpen);
        QCOMPARE(store.groups()[0].apps, QStringList({abc[2], abc[0]}));

        fx.log.chosen.clear(); // cancelled
        view.addItems();
        QCOMPARE(store.groups()[0].apps.size(), 2);
        QVERIFY(!PanelState::keepOpen);
    }

    void theAddChooserTakesFilesAndFoldersTogether()
    {
        const QString folder = fx.makeItem(QStringLiteral("Chooser/Projects/"));
        const QString file = fx.makeItem(QStringLiteral("Chooser/notes.txt"));
        fx.makeItem(QStringLiteral("Chooser/other.txt"));
        bool clicked = false;
        QTimer poll;
        poll.setInterval(20);
        connect(&poll, &QTimer::timeout, this, [&] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            poll.stop();
            auto* list = dialog->findChild<QListView*>(QStringLiteral("listView"));
            if (!list ||
                !QTest::qWaitFor([&] { return list->model()->rowCount(list->rootIndex()) == 3; }))
                return dialog->reject();
            for (int row = 0; row < 3; ++row) {
                const QModelIndex index = list->model()->index(row, 0, list->rootIndex());
                const QString name = index.data().toString();
                if (name == QLatin1String("Projects") || name == QLatin1String("notes.txt"))
                    list->selectionModel()->select(index, QItemSelectionModel::Select |
                                                              QItemSelectionModel::Rows);
            }
            QPushButton* open =
                dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Open);
            if (!open || !open->isEnabled())
                return dialog->reject();
            clicked = true;
            open->click();
            if (dialog->isVisible())
                dialog->reject(); // Open did not take the selection
        });
        poll.start();
        FileChoice choice;
        choice.startFolder = fx.scratch(QStringLiteral("Chooser"));
        choice.multiple = true;
        choice.directories = true;
        QStringList chosen = runFileChooser(choice);
        QVERIFY(clicked);
        chosen.sort();
        QCOMPARE(chosen, QStringList({folder, file}));
    }

    void setIconAsksForOneImageAndRedrawsTheLauncher()
    {
        Store& store = fx.openWith({StoreFixture::named("Work")});
        PanelView& view = fx.panel(store);
        const AppGroup work = store.groups()[0];
        view.chooseIcon(work); // cancelled
        QCOMPARE(fx.log.calls, QStringList{"choose"});
        QCOMPARE(fx.log.choices[0].message, QStringLiteral("Choose an image for Work"));
        QVERIFY(fx.log.choices[0].imagesOnly && !fx.log.choices[0].multiple &&
                !fx.log.choices[0].directories);
        QCOMPARE(fx.log.keptOpenWhileChoosing, QList<bool>{true});
        QVERIFY(!store.groups()[0].icon);

        QImage picture(32, 32, QImage::Format_ARGB32);
        picture.fill(Qt::red);
        const QString png = fx.scratch(QStringLiteral("picture.png"));
        QVERIFY(picture.save(png));
        fx.log.chosen = {png};
        view.chooseIcon(work);
        QVERIFY(store.groups()[0].icon);
        QCOMPARE(fx.log.calls.last(), QStringLiteral("refresh ") + work.idText());
        QVERIFY(!PanelState::keepOpen);
        // The tab shows the picture now.
        QVERIFY(tab(view, 0)->sizeHint().width() > 18 + 6 + 20);
    }
};

TRAYMATE_TEST_MAIN(PanelDragDropTest)
#include "tst_panel_drag_drop.moc"
