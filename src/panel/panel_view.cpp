#include "panel/panel_view.h"

#include "dock/dock_import.h"
#include "model/store.h"
#include "panel/compact_panel.h"
#include "panel/desktop_items.h"
#include "panel/drop_delegates.h"
#include "panel/full_panel.h"
#include "panel/group_actions.h"
#include "panel/item_drag.h"
#include "panel/item_grid.h"
#include "panel/panel_accessibility.h"
#include "panel/panel_contents.h"
#include "panel/panel_drag.h"
#include "panel/panel_state.h"
#include "panel/panel_style.h"
#include "panel/tab_strip.h"
#include "settings/preferences.h"

#include <QCursor>
#include <QEvent>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QTimer>

namespace {

constexpr qreal kCornerRadius = 16;

// Runs a context menu with the panel kept open, and the chosen action only once the menu has
// gone, so that a prompt it opens starts from a settled panel.
void runMenu(QMenu* menu, const QPoint& globalPos)
{
    QPointer<QMenu> guard(menu);
    const QList<QAction*> actions = menu->actions();
    for (QAction* action : actions)
        action->blockSignals(true);
    QAction* chosen = nullptr;
    {
        PanelState::KeepOpen keep;
        chosen = menu->exec(globalPos);
    }
    if (!guard)
        return;
    for (QAction* action : actions)
        action->blockSignals(false);
    if (chosen)
        chosen->trigger();
    menu->deleteLater();
}

} // namespace

PanelView::PanelView(Store& store, QWidget* parent)
    : PanelView(store, PanelServices::desktop(), parent)
{
}

PanelView::PanelView(Store& store, PanelServices services, QWidget* parent)
    : QWidget(parent)
    , m_store(store)
    , m_services(std::move(services))
{
    setAutoFillBackground(false);
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_Hover);
    installPanelAccessibility();
    connect(&m_store, &Store::changed, this, &PanelView::refresh);
    // Each opening looks again for icons that were missing: the program may be installed now.
    DesktopItems::retryStandInIcons();
    rebuildForm();
    m_laidOutSize = panelSize();
}

PanelView::~PanelView() = default;

std::optional<AppGroup> PanelView::current() const
{
    return PanelContents::current(m_store);
}

bool PanelView::searching() const
{
    return PanelContents::searching(m_store);
}

QStringList PanelView::results() const
{
    return PanelContents::results(m_store);
}

GridColumns PanelView::cols()
{
    return PanelModel::fullColumns();
}

GridColumns PanelView::compactCols() const
{
    return PanelContents::compactColumns(m_store);
}

QSize PanelView::panelSize() const
{
    return PanelContents::panelSize(m_store);
}

PanelForm* PanelView::form() const
{
    return m_form;
}

void PanelView::loadItemsInView() const
{
    if (m_form && m_form->grid())
        m_form->grid()->loadTilesInView();
}

void PanelView::launch(const QString& path)
{
    m_services.open(path);
    if (Preferences::boolValue(Preferences::closeAfterLaunch) == std::optional(false))
        return;
    m_services.hidePanel();
}

bool PanelView::handleDrop(const QList<QUrl>& urls)
{
    const std::optional<AppGroup> group = current();
    if (!group)
        return false;
    addDropped(urls, group->id);
    return true;
}

void PanelView::addDropped(const QList<QUrl>& urls, const QUuid& id)
{
    for (const QUrl& url : urls) {
        if (!url.isLocalFile())
            continue;
        // Added once the drop has finished, to the group that was current at the drop.
        QTimer::singleShot(0, &m_store, [store = &m_store, path = url.toLocalFile(), id] {
            store->add(path, id);
        });
    }
}

void PanelView::addItems()
{
    const std::optional<AppGroup> group = current();
    if (group)
        actions().addItems(group->id);
}

void PanelView::chooseIcon(const AppGroup& group)
{
    actions().chooseIcon(group);
}

void PanelView::showFull()
{
    m_store.setCompact(false);
    m_services.clearAnchor();
    m_services.resizePanel();
}

void PanelView::newGroup()
{
    actions().newGroup();
}

QMenu* PanelView::groupMenu(const AppGroup& group)
{
    auto* menu = new QMenu(this);
    // Each action works on a copy of the services: its prompt may outlive this view.
    GroupActions actions = this->actions();
    const QUuid id = group.id;
    connect(menu->addAction(tr("Rename")), &QAction::triggered, this,
            [actions, id]() mutable { actions.rename(id); });
    connect(menu->addAction(tr("Set icon...")), &QAction::triggered, this,
            [actions, group]() mutable { actions.chooseIcon(actions.latest(group)); });
    if (group.icon) {
        connect(menu->addAction(tr("Reset icon")), &QAction::triggered, this,
                [actions, id]() mutable { actions.resetIcon(id); });
    }
    connect(menu->addAction(tr("Create Dock icon")), &QAction::triggered, this,
            [actions, group]() mutable { actions.addToDock(actions.latest(group)); });
    connect(menu->addAction(tr("Delete")), &QAction::triggered, this,
            [actions, group]() mutable { actions.remove(actions.latest(group)); });
    return menu;
}

QMenu* PanelView::itemMenu(const QString& path)
{
    auto* menu = new QMenu(this);
    const std::optional<AppGroup> group = current();
    connect(menu->addAction(tr("Show in Folder")), &QAction::triggered, this,
            [this, path] { m_services.reveal(path); });
    connect(menu->addAction(tr("Remove from group")), &QAction::triggered, this,
            [this, path, id = group ? group->id : QUuid()] { m_store.remove(path, id); });
    return menu;
}

void PanelView::showGroupMenu(const AppGroup& group, const QPoint& globalPos)
{
    const QPointer<PanelView> self(this);
    runMenu(groupMenu(group), globalPos);
    if (self)
        reportPointerAfterMenu();
}

void PanelView::showItemMenu(const QString& path, const QPoint& globalPos)
{
    const QPointer<PanelView> self(this);
    runMenu(itemMenu(path), globalPos);
    if (self)
        reportPointerAfterMenu();
}

void PanelView::reportPointerAfterMenu()
{
    // The leave that came while the menu kept the panel open was let pass: a pointer that is
    // out now counts as leaving now.
    if (isVisible() && !rect().contains(mapFromGlobal(QCursor::pos())))
        m_services.hoverChanged(false);
}

QRect PanelView::contentRect() const
{
    // Never larger than the window: the shell sizes the compact window for the selected id,
    // which may name no group while the content follows the first group.
    const QSize size = panelSize().boundedTo(this->size());
    return QRect(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
}

QSize PanelView::sizeHint() const
{
    return panelSize();
}

FullPanel* PanelView::makeFull()
{
    auto* form = new FullPanel(m_store, this);
    connectGrid(form->grid());
    Store& store = m_store;
    connect(form, &FullPanel::closeClicked, this, [this] { m_services.hidePanel(); });
    connect(form, &FullPanel::queryEdited, this,
            [&store](const QString& text) { store.setQuery(text); });
    connect(form, &FullPanel::searchSubmitted, this, [this] {
        const QStringList found = results();
        if (!found.isEmpty())
            launch(found.first());
    });
    connect(form, &FullPanel::groupSelected, this,
            [&store](const QUuid& id) { store.setSelected(id); });
    connect(form, &FullPanel::pinClicked, this, [&store] { store.setPinned(!store.pinned()); });
    connect(form, &FullPanel::settingsClicked, this, [this] { m_services.showSettings(); });
    connect(form, &FullPanel::addClicked, this, &PanelView::addItems);
    connect(form, &FullPanel::importDockClicked, this,
            [&store] { DockImport::importDockGrouped(store); });
    connect(form, &FullPanel::newGroupClicked, this, &PanelView::newGroup);
    connect(form, &FullPanel::quitClicked, this, [this] { m_services.quit(); });

    TabStrip* tabs = form->tabStrip();
    connect(tabs, &TabStrip::groupSelected, this,
            [&store](const QUuid& id) { store.setSelected(id); });
    connect(tabs, &TabStrip::menuRequested, this, &PanelView::showGroupMenu);
    connect(tabs, &TabStrip::groupDragStarted, this, [this](const QUuid& id, PanelDrag* drag) {
        recordGroupDrag(m_store, id);
        trackDrag(drag);
    });
    connect(tabs, &TabStrip::dragEntered, this, [&store](const QUuid& id, bool offersText) {
        TabDrop{store, id}.dropEntered({offersText});
    });
    connect(tabs, &TabStrip::dropped, this, [&store](const QUuid& id, bool offersText) {
        TabDrop{store, id}.performDrop({offersText});
    });
    return form;
}

CompactPanel* PanelView::makeCompact()
{
    auto* form = new CompactPanel(m_store, this);
    connectGrid(form->grid());
    connect(form, &CompactPanel::closeClicked, this, [this] { m_services.hidePanel(); });
    connect(form, &CompactPanel::allGroupsClicked, this, &PanelView::showFull);
    return form;
}

void PanelView::connectGrid(ItemGrid* grid)
{
    Store& store = m_store;
    connect(grid, &ItemGrid::activated, this, &PanelView::launch);
    connect(grid, &ItemGrid::menuRequested, this, &PanelView::showItemMenu);
    connect(grid, &ItemGrid::filesDropped, this, &PanelView::addDropped);
    connect(grid, &ItemGrid::itemDragStarted, this, [this](const QString& path, PanelDrag* drag) {
        recordItemDrag(m_store, path);
        trackDrag(drag);
    });
    connect(grid, &ItemGrid::dragEnded, this, [&store] { endPanelDrag(store); });
    connect(grid, &ItemGrid::itemDragEntered, this,
            [&store](const QString& cell, const QUuid& group, bool offersText) {
                CellDrop{store, cell, group}.dropEntered({offersText});
            });
    connect(grid, &ItemGrid::itemDropped, this,
            [&store](const QString& cell, const QUuid& group, bool offersText) {
                CellDrop{store, cell, group}.performDrop({offersText});
            });
}

void PanelView::trackDrag(PanelDrag* drag)
{
    // Tied to the store, not to this view: the drag ends also when the view went during it.
    connect(drag, &PanelDrag::ended, &m_store, [store = &m_store] { endPanelDrag(*store); });
}

void PanelView::rebuildForm()
{
    const bool compact = m_store.compact();
    if (!m_form || compact != m_formIsCompact) {
        QWidget* old = m_form;
        if (compact)
            m_form = makeCompact();
        else
            m_form = makeFull();
        m_formIsCompact = compact;
        if (old) {
            old->hide();
            old->deleteLater();
        }
        m_form->show();
    }
    const QRect content = contentRect();
    if (m_form->geometry() != content) {
        m_form->setGeometry(content);
        update(); // the rounded background follows the content; otherwise it stays as drawn
    }
}

void PanelView::refresh()
{
    const QSize size = panelSize();
    const bool compactResized = m_formIsCompact && m_store.compact() && size != m_laidOutSize;
    m_laidOutSize = size;
    rebuildForm();
    m_form->refresh();
    // The compact window fits its group: an item added or removed resizes it, so that no
    // empty band stays beside the content, drawn black without a compositor and still taken
    // for the panel by the pointer.
    if (compactResized)
        m_services.resizePanel();
}

void PanelView::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (m_form)
        m_form->setGeometry(contentRect());
    update();
}

void PanelView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF shape = QRectF(contentRect()).adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QPen(PanelStyle::edge(palette()), 1));
    painter.setBrush(PanelStyle::material(palette()));
    painter.drawRoundedRect(shape, kCornerRadius, kCornerRadius);
}

void PanelView::enterEvent(QEnterEvent* event)
{
    QWidget::enterEvent(event);
    m_services.hoverChanged(true);
}

void PanelView::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    m_services.hoverChanged(false);
}

void PanelView::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange && m_form) {
        // The search field's style sheet holds palette colours; a fresh form takes the new ones.
        QWidget* old = m_form;
        m_form = nullptr;
        old->hide();
        old->deleteLater();
        refresh();
    }
}
