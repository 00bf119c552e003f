#include "panel/panel_view.h"

#include "model/store.h"
#include "panel/compact_panel.h"
#include "panel/desktop_items.h"
#include "panel/display_names.h"
#include "panel/full_panel.h"
#include "panel/panel_accessibility.h"
#include "panel/panel_state.h"
#include "panel/panel_style.h"
#include "settings/preferences.h"

#include <QCursor>
#include <QDir>
#include <QEvent>
#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QTimer>

namespace {

constexpr qreal kCornerRadius = 16;

const QString kApplicationsFolder = QStringLiteral("/Applications");
const QString kDesktopEntriesFolder = QStringLiteral("/usr/share/applications");

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
    : QWidget(parent)
    , m_store(store)
    , m_services(PanelServices::desktop())
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
    return PanelModel::current(m_store.groups(), m_store.selected());
}

bool PanelView::searching() const
{
    return PanelModel::searching(m_store.query());
}

QStringList PanelView::results() const
{
    return PanelModel::results(m_store.groups(), m_store.query(), DisplayNames::entry);
}

GridColumns PanelView::cols()
{
    return PanelModel::fullColumns();
}

GridColumns PanelView::compactCols() const
{
    const std::optional<AppGroup> group = current();
    return PanelModel::compactColumns(group ? group->apps.size() : 0);
}

QSize PanelView::panelSize() const
{
    const std::optional<AppGroup> group = current();
    return PanelModel::panelSize(m_store.compact(), group ? group->apps.size() : 0);
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
    const QUuid id = group->id;
    for (const QUrl& url : urls) {
        if (!url.isLocalFile())
            continue;
        // Added once the drop has finished, to the group that was current at the drop.
        QTimer::singleShot(0, &m_store, [store = &m_store, path = url.toLocalFile(), id] {
            store->add(path, id);
        });
    }
    return true;
}

void PanelView::addItems()
{
    const std::optional<AppGroup> group = current();
    if (!group)
        return;
    const QUuid id = group->id;
    Store& store = m_store;
    const PanelServices services = m_services;
    FileChoice choice;
    choice.startFolder =
        QDir(kApplicationsFolder).exists() ? kApplicationsFolder : kDesktopEntriesFolder;
    choice.multiple = true;
    choice.directories = true;
    QStringList chosen;
    {
        PanelState::KeepOpen keep;
        chosen = services.choose(choice);
    }
    for (const QString& path : chosen)
        store.add(path, id);
}

void PanelView::chooseIcon(const AppGroup& group)
{
    Store& store = m_store;
    const PanelServices services = m_services;
    FileChoice choice;
    choice.startFolder = QDir::homePath();
    choice.message = tr("Choose an image for %1").arg(group.name);
    choice.imagesOnly = true;
    QStringList chosen;
    {
        PanelState::KeepOpen keep;
        chosen = services.choose(choice);
    }
    if (chosen.isEmpty())
        return;
    store.setIcon(chosen.first(), group.id);
    services.launcherRefresh(group.id);
}

void PanelView::showFull()
{
    m_store.setCompact(false);
    m_services.clearAnchor();
    m_services.resizePanel();
}

void PanelView::renameGroup(const QUuid& id)
{
    Store& store = m_store;
    const PanelServices services = m_services;
    const AppGroup* group = store.group(id);
    if (!group)
        return;
    const std::optional<QString> answer = services.prompt(tr("Rename group"), group->name);
    if (!answer)
        return;
    const qsizetype index = store.indexOf(id); // the group may have gone while the prompt ran
    if (index < 0)
        return;
    const AppGroup before = store.groups()[index];
    AppGroup after = before;
    after.name = *answer;
    store.setGroup(index, after);
    services.launcherRenamed(before, store.groups()[index]);
}

void PanelView::deleteGroup(const AppGroup& group)
{
    Store& store = m_store;
    const PanelServices services = m_services;
    if (!services.confirm(tr("Delete the group %1?").arg(group.name)))
        return;
    // The store always keeps one group, so the last one keeps its launcher as well.
    if (store.groups().size() <= 1 && store.indexOf(group.id) >= 0)
        return;
    services.launcherRemoved(group);
    store.deleteGroup(group.id);
}

void PanelView::newGroup()
{
    Store& store = m_store;
    const std::optional<QString> name = m_services.prompt(tr("New group name"), QString());
    if (name)
        store.newGroup(*name);
}

QMenu* PanelView::groupMenu(const AppGroup& group)
{
    auto* menu = new QMenu(this);
    const QUuid id = group.id;
    connect(menu->addAction(tr("Rename")), &QAction::triggered, this,
            [this, id] { renameGroup(id); });
    connect(menu->addAction(tr("Set icon...")), &QAction::triggered, this, [this, group] {
        const AppGroup* now = m_store.group(group.id);
        chooseIcon(now ? *now : group);
    });
    if (group.icon) {
        connect(menu->addAction(tr("Reset icon")), &QAction::triggered, this, [this, id] {
            m_store.clearIcon(id);
            m_services.launcherRefresh(id);
        });
    }
    connect(menu->addAction(tr("Create Dock icon")), &QAction::triggered, this, [this, group] {
        const AppGroup* now = m_store.group(group.id);
        m_services.addToDock(now ? *now : group);
    });
    connect(menu->addAction(tr("Delete")), &QAction::triggered, this, [this, group] {
        const AppGroup* now = m_store.group(group.id);
        deleteGroup(now ? *now : group);
    });
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

void PanelView::rebuildForm()
{
    const bool compact = m_store.compact();
    if (!m_form || compact != m_formIsCompact) {
        QWidget* old = m_form;
        if (compact)
            m_form = new CompactPanel(*this, this);
        else
            m_form = new FullPanel(*this, this);
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
    if (m_formIsCompact)
        static_cast<CompactPanel*>(m_form.data())->refresh();
    else
        static_cast<FullPanel*>(m_form.data())->refresh();
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
