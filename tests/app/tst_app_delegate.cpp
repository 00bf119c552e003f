#include "app/edit_actions.h"
#include "file_size_limit.h"
#include "model/store.h"
#include "panel/compact_panel.h"
#include "panel/full_panel.h"
#include "panel/group_tab.h"
#include "panel/item_grid.h"
#include "panel/panel_layout.h"
#include "panel/panel_state.h"
#include "panel/panel_view.h"
#include "panel/symbols.h"
#include "panel/tab_strip.h"
#include "recording_delegate.h"
#include "settings/preferences.h"
#include "settings/update_checker.h"
#include "test_environment.h"

#include <QAction>
#include <QBackingStore>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QSet>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <memory>

namespace {

using namespace std::chrono_literals;

const QStringList launchSteps = {"buildMainMenu",  "buildPanel",    "buildStatusItem",
                                 "observeHotKey",  "applyHotKey 0", "pruneMissing",
                                 "checkForUpdates"};

AppGroup group(const QString& name, int items)
{
    AppGroup g;
    g.name = name;
    for (int i = 0; i < items; ++i)
        g.apps << QStringLiteral("/opt/%1/item%2").arg(name).arg(i);
    return g;
}

QString urlOf(const QUuid& id)
{
    return QStringLiteral("traymate://group/") + id.toString(QUuid::WithoutBraces).toUpper();
}

// The menu's entries as shown: titles, and "-" for separators.
QStringList visibleTitles(const QMenu* menu)
{
    QStringList titles;
    for (const QAction* action : menu->actions()) {
        if (action->isVisible())
            titles << (action->isSeparator() ? QStringLiteral("-") : action->text());
    }
    return titles;
}

QAction* entry(const QMenu* menu, const QString& title)
{
    for (QAction* action : menu->actions()) {
        if (action->text() == title)
            return action;
    }
    qFatal("no entry %s", qPrintable(title));
}

// Every panel view alive, shown or not.
QList<PanelView*> panelViews()
{
    QList<PanelView*> views;
    for (QWidget* widget : QApplication::allWidgets()) {
        if (auto* view = qobject_cast<PanelView*>(widget))
            views << view;
    }
    return views;
}

// What a full view shows: the search, the tabs (the current one marked), and the grid.
QStringList fullFormShows(const PanelView* view)
{
    const auto* form = qobject_cast<const FullPanel*>(view->form());
    if (!form)
        return {"not the full form"};
    QStringList shown{"search: " + form->searchField()->text()};
    for (const GroupTab* tab : form->tabStrip()->tabs())
        shown << QStringLiteral("tab: %1%2").arg(tab->group().name, tab->isCurrent() ? " *" : "");
    shown << "grid: " + form->grid()->accessibleName();
    shown << form->grid()->items();
    return shown;
}

} // namespace

class AppDelegateTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Store> m_store;
    std::unique_ptr<RecordingDelegate> m_delegate;

    RecordingDelegate& launched(QList<AppGroup> groups, bool firstLaunch = false)
    {
        m_store->setGroups(std::move(groups));
        Preferences::setValue(Preferences::didFirstImport, !firstLaunch);
        m_delegate->applicationDidFinishLaunching();
        return *m_delegate;
    }
    FloatingPanel* panel() const { return m_delegate->panel(); }

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_store = std::make_unique<Store>(m_dir->path());
        m_delegate = std::make_unique<RecordingDelegate>(*m_store);
        QFile::remove(Preferences::filePath());
        PanelState::keepOpen = false;
        PanelState::lastHidden = PanelState::Clock::time_point::min();
    }
    void cleanup()
    {
        m_delegate.reset();
        m_store.reset();
    }

    void firstLaunchImportsTheDockThenOpensTheFullPanel()
    {
        QCOMPARE(m_store->groups().size(), 1); // the seeded empty group
        m_store->setSelected(m_store->groups().first().id);
        Preferences::setValue(Preferences::hotkeyIndex, 3);
        m_delegate->applicationDidFinishLaunching();

        QStringList expected = launchSteps;
        expected[4] = "applyHotKey 3";
        expected << "importDock";
        QCOMPARE(m_delegate->calls, expected);
        QVERIFY(!m_delegate->panelVisibleAtImport);
        QVERIFY(panel()->isVisible());
        QVERIFY(!m_store->compact());
        QCOMPARE(panel()->size(), QSize(400, 440));
        QCOMPARE(Preferences::boolValue(Preferences::didFirstImport), std::optional<bool>(true));
    }

    void firstLaunchMarksTheImportDoneOnlyOnceItsGroupsAreOnDisk()
    {
        std::optional<bool> markAtImport;
        m_delegate->onImport = [&] {
            markAtImport = Preferences::boolValue(Preferences::didFirstImport);
            m_store->setGroups({group("Imported", 2)});
        };
        launched({AppGroup()}, true);
        QCOMPARE(markAtImport, std::optional<bool>(false)); // a kill here imports again
        QCOMPARE(Preferences::boolValue(Preferences::didFirstImport), std::optional<bool>(true));

        // An import that could not be written is tried again at the next start.
        cleanup();
        init();
        m_delegate->onImport = [&] {
            FileSizeLimit full(20);
            m_store->setGroups({group("Imported", 2)});
        };
        launched({AppGroup()}, true);
        QVERIFY(m_store->saveFailed());
        QCOMPARE(Preferences::boolValue(Preferences::didFirstImport), std::optional<bool>(false));
        QVERIFY(panel()->isVisible());
    }

    void firstLaunchSkipsTheImportForAnyOtherShape()
    {
        launched({group("A", 0), group("B", 0)}, true);
        QCOMPARE(m_delegate->calls, launchSteps);
        QVERIFY(panel()->isVisible());

        cleanup();
        init();
        launched({group("A", 2)}, true);
        QVERIFY(!m_delegate->calls.contains("importDock"));
        QVERIFY(panel()->isVisible());
    }

    void theTrayTooltipSaysWhileTheGroupsAreNotSaved()
    {
        launched({group("A", 1)});
        {
            FileSizeLimit full(20);
            m_store->newGroup("B");
        }
        QCOMPARE(m_delegate->statusItem()->toolTip(),
                 QStringLiteral("Traymate\nGroups not saved: ") + qt_error_string(EFBIG));
        m_store->newGroup("C");
        QCOMPARE(m_delegate->statusItem()->toolTip(), QStringLiteral("Traymate"));
    }

    void laterLaunchOpensNothing()
    {
        launched({group("A", 0)});
        QCOMPARE(m_delegate->calls, launchSteps);
        QVERIFY(!panel()->isVisible());
        QVERIFY(m_delegate->statusItem());
        QCOMPARE(m_delegate->statusItem()->toolTip(), QStringLiteral("Traymate"));
    }

    void toggleAtStartOpensThePanelOnce()
    {
        m_delegate->toggleRequested();
        launched({group("A", 1)});
        QVERIFY(panel()->isVisible());
        m_delegate->toggleRequested();
        QVERIFY(!panel()->isVisible());
        m_delegate->showRequested();
        QVERIFY(panel()->isVisible());
        m_delegate->showRequested();
        QVERIFY(panel()->isVisible());

        // On a first launch the panel is open already: the toggle does not close it.
        cleanup();
        init();
        m_delegate->toggleRequested();
        launched({group("A", 1)}, true);
        QVERIFY(panel()->isVisible());
    }

    void updateCheckLeavesOnlyOnceThePanelIsShown()
    {
        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost));
        const quint16 port = closed.serverPort();
        closed.close();
        qputenv("TRAYMATE_UPDATE_FEED",
                QByteArray("http://127.0.0.1:") + QByteArray::number(port) + "/version.json");
        QStringList statuses;
        bool panelShownAtCheck = false;
        QObject context;
        connect(&UpdateChecker::shared(), &UpdateChecker::statusChanged, &context, [&] {
            statuses << UpdateChecker::shared().status();
            if (UpdateChecker::shared().status() == QStringLiteral("Checking..."))
                panelShownAtCheck = panel() && panel()->isVisible();
        });

        m_delegate->checksForUpdates = true;
        m_delegate->toggleRequested();
        launched({group("A", 3)});
        QVERIFY(panel()->isVisible());
        QCOMPARE(statuses, QStringList()); // nothing sent while launch runs

        QTRY_COMPARE(statuses.size(), 2);
        QVERIFY(panelShownAtCheck);
        QCOMPARE(statuses.last(), QStringLiteral("Could not check for updates"));
        qunsetenv("TRAYMATE_UPDATE_FEED");
    }

    void urlsBeforeLaunchParkTheLastValidOne()
    {
        const AppGroup a = group("A", 2), b = group("B", 6);
        m_store->setGroups({a, b});
        m_delegate->openUrls({urlOf(a.id),
                              "TRAYMATE://group/" + a.id.toString(QUuid::WithoutBraces),
                              urlOf(b.id), "traymate://group/nonsense"});
        QCOMPARE(m_delegate->pendingGroup(), std::optional<QUuid>(b.id));
        QVERIFY(!panel());

        // On a first launch the full panel opens, then the parked group replaces it.
        launched({a, b}, true);
        QVERIFY(!m_delegate->pendingGroup());
        QVERIFY(panel()->isVisible());
        QVERIFY(m_store->compact());
        QCOMPARE(m_store->selected(), std::optional<QUuid>(b.id));
        QCOMPARE(panel()->size(), QSize(384, 238));
    }

    void urlsAfterLaunchOpenTheCompactPanelAtThePointer()
    {
        const AppGroup a = group("A", 2), b = group("B", 1);
        launched({a, b});
        m_store->setQuery("left over");
        m_delegate->pointer = {700, 450};
        m_delegate->openUrls({urlOf(a.id), "mailto:x@y", urlOf(b.id)});
        QVERIFY(panel()->isVisible());
        QCOMPARE(m_store->selected(), std::optional<QUuid>(b.id));
        QVERIFY(m_store->compact());
        QVERIFY(m_store->query().isEmpty());
        QCOMPARE(m_delegate->anchor(), std::optional<QPointF>(QPointF(700, 450)));
        // Centred on the pointer: Qt y 450 is placement y 450 on this 900-high screen.
        QCOMPARE(panel()->geometry(), QRect(700 - 148, 450 - 77, 296, 154));
    }

    void idOfNoGroupSizesTheWindowForTheGroupShown()
    {
        launched({group("Big", 9), group("Small", 1)});
        m_delegate->openUrls({urlOf(QUuid::createUuid())});
        QVERIFY(m_store->compact());
        // The content falls back to the first group, and so does the window.
        QCOMPARE(m_delegate->panelSize(), QSize(384, 322));
        QCOMPARE(panel()->size(), QSize(384, 322));

        m_store->setGroups({});
        QCOMPARE(m_delegate->panelSize(), QSize(296, 154));
    }

    void fullPanelIsPlacedInQtCoordinates()
    {
        launched({group("A", 1)});
        m_delegate->showPanel(std::nullopt);
        // Visible frame (0, 0, 1440, 875) in placement terms: origin (520, 12).
        QCOMPARE(panel()->geometry(), QRect(520, 900 - 12 - 440, 400, 440));
        QVERIFY(!m_delegate->anchor());

        Preferences::setValue(Preferences::panelPosition, 1);
        m_delegate->pointer = {100, 100};
        m_delegate->position();
        QCOMPARE(panel()->geometry(), QRect(8, 25 + 8, 400, 440));

        // The compact form switching to the full one: without the anchor, placed as from
        // the tray ("Bottom center" here), not beside the launcher.
        Preferences::setValue(Preferences::panelPosition, 0);
        m_delegate->pointer = {700, 450};
        m_delegate->openUrls({urlOf(m_store->groups().first().id)});
        QCOMPARE(panel()->size(), QSize(296, 154));
        m_store->setCompact(false);
        m_delegate->clearAnchor();
        m_delegate->resizePanel();
        QCOMPARE(panel()->geometry(), QRect(520, 900 - 12 - 440, 400, 440));
    }

    void statusClickFollowsTheQuarterSecondRule()
    {
        launched({group("A", 1)});
        m_delegate->statusClicked();
        QVERIFY(panel()->isVisible());
        m_delegate->statusClicked();
        QVERIFY(!panel()->isVisible());
        QVERIFY(PanelState::Clock::now() - PanelState::lastHidden < 250ms);

        // Just hidden (the click that took the panel's focus): the same click leaves it hidden.
        m_delegate->statusClicked();
        QVERIFY(!panel()->isVisible());

        PanelState::lastHidden = PanelState::Clock::now() - 300ms;
        m_delegate->statusClicked();
        QVERIFY(panel()->isVisible());
        QVERIFY(!m_store->compact());

        // The hot key has no such rule.
        m_delegate->hidePanel();
        Q_EMIT m_delegate->hotKey().pressed();
        QVERIFY(panel()->isVisible());
        Q_EMIT m_delegate->hotKey().pressed();
        QVERIFY(!panel()->isVisible());
    }

    void everyHideRecordsTheTime()
    {
        launched({group("A", 1)});
        PanelState::lastHidden = PanelState::Clock::time_point::min();
        m_delegate->hidePanel(); // already hidden: still recorded
        QVERIFY(PanelState::lastHidden > PanelState::Clock::now() - 1s);

        m_delegate->showPanel(std::nullopt);
        PanelState::lastHidden = PanelState::Clock::time_point::min();
        m_delegate->togglePanel();
        QVERIFY(!panel()->isVisible());
        QVERIFY(PanelState::lastHidden > PanelState::Clock::now() - 1s);
    }

    void escapeHidesAlwaysAndLosingFocusUnlessKeptOpen()
    {
        launched({group("A", 1)});
        QWidget other;
        other.setWindowTitle("other");
        other.show();

        m_delegate->showPanel(std::nullopt);
        QVERIFY(QTest::qWaitForWindowActive(panel()));
        m_store->setPinned(true);
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QVERIFY(panel()->isVisible());

        m_delegate->showPanel(std::nullopt);
        QVERIFY(QTest::qWaitForWindowActive(panel()));
        QTest::keyClick(panel(), Qt::Key_Escape);
        QVERIFY(!panel()->isVisible());

        m_store->setPinned(false);
        m_delegate->showPanel(std::nullopt);
        QVERIFY(QTest::qWaitForWindowActive(panel()));
        {
            PanelState::KeepOpen prompt;
            other.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&other));
            QVERIFY(panel()->isVisible());
        }

        m_delegate->showPanel(std::nullopt);
        QVERIFY(QTest::qWaitForWindowActive(panel()));
        other.activateWindow();
        QTRY_VERIFY(!panel()->isVisible());
    }

    void compactPanelHidesAfterThePointerLeaves()
    {
        const AppGroup a = group("A", 2);
        launched({a});
        m_delegate->openUrls({urlOf(a.id)});
        const QPointF outside(10, 10), inside = QRectF(panel()->geometry()).center();

        // Never entered: leaving does nothing.
        m_delegate->hoverChanged(false);
        QVERIFY(!m_delegate->autoHidePending());

        m_delegate->hoverChanged(true);
        m_delegate->pointer = outside;
        m_delegate->hoverChanged(false);
        QVERIFY(m_delegate->autoHidePending());
        QTest::qWait(150);
        m_delegate->hoverChanged(true); // back in time: stays
        QTest::qWait(400);
        QVERIFY(panel()->isVisible());

        // Over the panel's frame when the task runs: stays too.
        m_delegate->pointer = inside;
        m_delegate->hoverChanged(false);
        QTest::qWait(450);
        QVERIFY(panel()->isVisible());

        m_store->setPinned(true);
        m_delegate->pointer = outside;
        m_delegate->hoverChanged(false);
        QVERIFY(!m_delegate->autoHidePending());
        m_store->setPinned(false);

        m_delegate->hoverChanged(false);
        QTest::qWait(200);
        QVERIFY(panel()->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(!panel()->isVisible(), 1000);

        // A new opening clears the hover state; the full form never auto-hides.
        m_delegate->openUrls({urlOf(a.id)});
        m_delegate->hoverChanged(false);
        QVERIFY(!m_delegate->autoHidePending());
        m_delegate->showPanel(std::nullopt);
        m_delegate->hoverChanged(true);
        m_delegate->hoverChanged(false);
        QVERIFY(!m_delegate->autoHidePending());
    }

    void autoHideOfAPanelHiddenMeanwhileDoesNothing()
    {
        const AppGroup a = group("A", 2);
        launched({a});
        m_delegate->openUrls({urlOf(a.id)});
        m_delegate->hoverChanged(true);
        m_delegate->pointer = {10, 10};
        m_delegate->hoverChanged(false);
        m_delegate->hidePanel(); // Escape, before the task runs
        const PanelState::Clock::time_point hidden = PanelState::lastHidden;
        QTest::qWait(450);
        QCOMPARE(PanelState::lastHidden, hidden);
    }

    void anOpeningLeavesTheViewOfTheLastOneAsItWas()
    {
        const AppGroup a = group("A", 2);
        launched({a, group("B", 1)});
        m_delegate->openUrls({urlOf(a.id)});
        const QPointer<PanelView> compact = qobject_cast<PanelView*>(panel()->content());
        QVERIFY(compact);
        m_delegate->hidePanel();

        // The full form, with the selection, the compact flag and the search all set anew: the
        // hidden compact view follows none of it.
        m_delegate->togglePanel();
        auto* shown = qobject_cast<PanelView*>(panel()->content());
        QVERIFY(shown && shown != compact);
        QVERIFY(qobject_cast<FullPanel*>(shown->form()));
        QVERIFY(compact); // deleted only once the event loop turns
        QVERIFY(qobject_cast<CompactPanel*>(compact->form()));
        QVERIFY(compact->findChildren<FullPanel*>().isEmpty());
        QTRY_VERIFY(!compact);
    }

    void aFullOpeningShowsAViewNeverShownThatReadsTheStoreAsItIsNow()
    {
        const AppGroup a = group("A", 2), b = group("B", 3);
        launched({a, b});
        m_delegate->showPanel(std::nullopt);
        const QPointer<PanelView> shown = qobject_cast<PanelView*>(panel()->content());
        QVERIFY(shown);
        m_store->setQuery("item"); // a search left in the panel
        m_delegate->hidePanel();

        // The shown view goes with the hide; the next one is made once the hide has settled,
        // and is the only view until the next opening.
        QTRY_VERIFY(!shown);
        QTRY_VERIFY(m_delegate->nextView());
        const QPointer<PanelView> ahead = m_delegate->nextView();
        QVERIFY(!ahead->isVisible());
        QCOMPARE(panelViews(), QList<PanelView*>{ahead.data()});

        // Changes from outside while hidden.
        AppGroup renamed = m_store->groups().first();
        renamed.name = "A renamed";
        m_store->setGroup(0, renamed);
        m_store->newGroup("C");
        m_store->setSelected(b.id);

        Q_EMIT m_delegate->hotKey().pressed();
        QVERIFY(panel()->isVisible());
        QCOMPARE(qobject_cast<PanelView*>(panel()->content()), ahead.data());
        QVERIFY(m_store->query().isEmpty());
        const QStringList expected = {"search: ", "tab: A renamed", "tab: B *", "tab: C",
                                      "grid: B"};
        QCOMPARE(fullFormShows(ahead).mid(0, 5), expected);
        QCOMPARE(fullFormShows(ahead).mid(5), b.apps);
        // Exactly what a view made at this moment shows.
        PanelView madeNow(*m_store);
        QCOMPARE(fullFormShows(ahead), fullFormShows(&madeNow));
    }

    void aHiddenPanelKeepsNoPixelsAndTheNextOpeningDrawsAgain()
    {
        launched({group("A", 2), group("B", 3)});
        const auto shown = [this] {
            QSet<QRgb> colours;
            const QImage image = panel()->screen()->grabWindow(panel()->winId()).toImage();
            for (int y = 0; y < image.height(); y += 2) {
                for (int x = 0; x < image.width(); x += 2)
                    colours.insert(image.pixel(x, y));
            }
            return colours.size();
        };
        m_delegate->showPanel(std::nullopt);
        QVERIFY(QTest::qWaitForWindowExposed(panel()));
        QTRY_COMPARE(panel()->backingStore()->size(), panel()->size());
        QTRY_VERIFY(shown() > 20); // text, icons and edges, not one flat colour

        // While hidden the window holds at most a pixel; shown again, it is drawn anew.
        m_delegate->hidePanel();
        const QSize kept = panel()->backingStore()->size();
        QVERIFY2(kept.width() * kept.height() <= 1,
                 qPrintable(QStringLiteral("%1 x %2").arg(kept.width()).arg(kept.height())));
        Q_EMIT m_delegate->hotKey().pressed();
        QVERIFY(QTest::qWaitForWindowExposed(panel()));
        QTRY_COMPARE(panel()->backingStore()->size(), panel()->size());
        QTRY_VERIFY(shown() > 20);
    }

    void aCompactOpeningDropsTheViewMadeAheadAndNoneIsMadeForIt()
    {
        const AppGroup a = group("A", 2);
        launched({a, group("B", 1)});
        m_delegate->showPanel(std::nullopt);
        m_delegate->hidePanel();
        QTRY_VERIFY(m_delegate->nextView());
        const QPointer<PanelView> ahead = m_delegate->nextView();

        // Gone before the store turns compact: it would build the compact form for nothing.
        QObject watch;
        bool followed = false;
        connect(m_store.get(), &Store::changed, &watch, [&] {
            followed =
                followed || (ahead && ahead->form() && !qobject_cast<FullPanel*>(ahead->form()));
        });
        m_delegate->openUrls({urlOf(a.id)});
        QVERIFY(!ahead);
        QVERIFY(!followed);
        auto* compact = qobject_cast<PanelView*>(panel()->content());
        QVERIFY(compact && qobject_cast<CompactPanel*>(compact->form()));

        // After a compact opening the store holds the compact form: nothing is made ahead, and
        // the next full opening builds its view then.
        m_delegate->hidePanel();
        QTest::qWait(400);
        QVERIFY(!m_delegate->nextView());
        QTRY_VERIFY(panelViews().isEmpty());
        Q_EMIT m_delegate->hotKey().pressed();
        auto* full = qobject_cast<PanelView*>(panel()->content());
        QVERIFY(full && qobject_cast<FullPanel*>(full->form()));
        QVERIFY(!m_store->compact());
    }

    void thePanelReachesTheDelegateThatBuiltIt()
    {
        const AppGroup a = group("A", 2);
        launched({a});
        m_delegate->openUrls({urlOf(a.id)});
        QVERIFY(m_delegate->anchor());
        auto* compact =
            qobject_cast<CompactPanel*>(qobject_cast<PanelView*>(panel()->content())->form());
        QVERIFY(compact);
        compact->allGroupsButton()->click();
        QVERIFY(!m_store->compact());
        QVERIFY(!m_delegate->anchor());
        QCOMPARE(panel()->size(), PanelLayout::full);

        auto* full = qobject_cast<FullPanel*>(qobject_cast<PanelView*>(panel()->content())->form());
        QVERIFY(full);
        full->settingsButton()->click();
        QVERIFY(m_delegate->settingsWindow() && m_delegate->settingsWindow()->isVisible());
        QVERIFY(!panel()->isVisible());

        // The settings window's key choice reaches the delegate, which applies it.
        m_delegate->calls.clear();
        auto* hotkey =
            m_delegate->settingsWindow()->findChild<QComboBox*>(QStringLiteral("hotkey"));
        hotkey->setCurrentIndex(hotkey->findText(QStringLiteral("Ctrl+Alt+D")));
        QCOMPARE(m_delegate->calls, QStringList{"applyHotKey 3"});

        m_delegate->showPanel(std::nullopt);
        full = qobject_cast<FullPanel*>(qobject_cast<PanelView*>(panel()->content())->form());
        full->closeButton()->click();
        QVERIFY(!panel()->isVisible());
    }

    void settingsWindowIsMadeOnceAndHidesThePanel()
    {
        launched({group("A", 1)});
        m_delegate->showPanel(std::nullopt);
        m_delegate->showSettings();
        QWidget* window = m_delegate->settingsWindow();
        QVERIFY(window);
        QVERIFY(!panel()->isVisible());
        QCOMPARE(window->windowTitle(), QStringLiteral("Traymate Settings"));
        QCOMPARE(window->size(), QSize(420, 540));
        QVERIFY(
            (window->geometry().center() - QRect(0, 25, 1440, 875).center()).manhattanLength() <=
            2);
        QVERIFY(window->windowFlags() & Qt::Tool);

        window->move(40, 60);
        window->close();
        QVERIFY(!window->isVisible());
        m_delegate->showSettings();
        QCOMPARE(m_delegate->settingsWindow(), window);
        QVERIFY(window->isVisible());
        QCOMPARE(window->pos(), QPoint(40, 60));
    }

    void menuActionsCarryTheirTitlesAndKeys()
    {
        launched({group("A", 1)});
        QStringList entries;
        for (const QAction* action : m_delegate->mainMenu()) {
            entries << (action->isSeparator()
                            ? QStringLiteral("-")
                            : action->text() + " " + action->shortcut().toString());
        }
        QCOMPARE(entries,
                 QStringList({"Quit Traymate Ctrl+Q", "Undo Ctrl+Z", "Redo Ctrl+Shift+Z", "-",
                              "Cut Ctrl+X", "Copy Ctrl+C", "Paste Ctrl+V", "Select All Ctrl+A"}));

        QMenu* menu = m_delegate->statusItem()->contextMenu();
        QVERIFY(menu);
        QStringList status;
        for (const QAction* action : menu->actions())
            status << (action->isSeparator()
                           ? QStringLiteral("-")
                           : action->text() + " " + action->shortcut().toString());
        QCOMPARE(status, QStringList({"Open Traymate ", "-", "A ", "-", "Settings Ctrl+,", "-",
                                      "Quit Traymate Ctrl+Q"}));
    }

    void trayMenuReachesThePanelAndEveryGroup()
    {
        launched({group("Work", 2), group("R&D", 1), group("Games", 30)});
        QMenu* menu = m_delegate->statusItem()->contextMenu();
        QCOMPARE(visibleTitles(menu), QStringList({"Open Traymate", "-", "Work", "R&&D", "Games",
                                                   "-", "Settings", "-", "Quit Traymate"}));

        // A group's entry opens the full panel on that group, even over an open compact one.
        m_delegate->openUrls({urlOf(m_store->groups()[0].id)});
        QVERIFY(panel()->isVisible() && m_store->compact());
        entry(menu, "Games")->trigger();
        QVERIFY(panel()->isVisible());
        QVERIFY(!m_store->compact());
        QCOMPARE(m_store->selected(), std::optional(m_store->groups()[2].id));
        QCOMPARE(m_delegate->panelSize(), PanelLayout::full);

        m_delegate->hidePanel();
        entry(menu, "Open Traymate")->trigger();
        QVERIFY(panel()->isVisible() && !m_store->compact());
        QCOMPARE(m_store->selected(), std::optional(m_store->groups()[2].id));

        entry(menu, "Settings")->trigger();
        QVERIFY(m_delegate->settingsWindow()->isVisible());
    }

    void trayMenuFollowsTheGroups()
    {
        launched({group("Work", 1), group("Play", 1)});
        QMenu* menu = m_delegate->statusItem()->contextMenu();
        QList<AppGroup> groups = m_store->groups();
        groups[0].name = QStringLiteral("Office");
        groups.move(1, 0);
        m_store->setGroups(groups);
        QCOMPARE(visibleTitles(menu), QStringList({"Open Traymate", "-", "Play", "Office", "-",
                                                   "Settings", "-", "Quit Traymate"}));
        entry(menu, "Office")->trigger();
        QCOMPARE(m_store->selected(), std::optional(groups[1].id));

        // A change that leaves names and order alone keeps the same entries.
        QAction* office = entry(menu, "Office");
        groups[1].apps << QStringLiteral("/opt/more");
        m_store->setGroups(groups);
        QCOMPARE(entry(menu, "Office"), office);

        m_store->setGroups({});
        QCOMPARE(visibleTitles(menu),
                 QStringList({"Open Traymate", "-", "Settings", "-", "Quit Traymate"}));
    }

    void trayActivationsToggleOncePerClick()
    {
        launched({group("A", 1)});
        QSystemTrayIcon* icon = m_delegate->statusItem();
        // A host that sends only the double click still opens the panel.
        Q_EMIT icon->activated(QSystemTrayIcon::DoubleClick);
        QVERIFY(panel()->isVisible());
        PanelState::lastHidden = PanelState::Clock::now() - 300ms;
        Q_EMIT icon->activated(QSystemTrayIcon::Context);
        Q_EMIT icon->activated(QSystemTrayIcon::MiddleClick);
        QVERIFY(panel()->isVisible());

        // An XEmbed double click: the press toggles, its second half does not toggle back.
        Q_EMIT icon->activated(QSystemTrayIcon::Trigger);
        QVERIFY(!panel()->isVisible());
        PanelState::lastHidden = PanelState::Clock::now() - 300ms;
        Q_EMIT icon->activated(QSystemTrayIcon::DoubleClick);
        QVERIFY(!panel()->isVisible());
        Q_EMIT icon->activated(QSystemTrayIcon::Trigger);
        QVERIFY(panel()->isVisible());
    }

    void editActionsReachTheFocusedField()
    {
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        auto* field = new QLineEdit("hello world");
        layout->addWidget(field);
        const QList<QAction*> actions = EditActions::make(&window);
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        field->setFocus();
        field->deselect();
        QTRY_COMPARE(QApplication::focusWidget(), field);

        auto find = [&](const QString& title) {
            for (QAction* action : actions)
                if (action->text() == title)
                    return action;
            return static_cast<QAction*>(nullptr);
        };
        find("Select All")->trigger();
        QCOMPARE(field->selectedText(), QStringLiteral("hello world"));
        field->insert("x");
        QCOMPARE(field->text(), QStringLiteral("x"));
        find("Undo")->trigger();
        QCOMPARE(field->text(), QStringLiteral("hello world"));
        find("Redo")->trigger();
        QCOMPARE(field->text(), QStringLiteral("x"));
    }
};

TRAYMATE_TEST_MAIN(AppDelegateTest)
#include "tst_app_delegate.moc"
