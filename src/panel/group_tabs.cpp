#include "panel/group_tabs.h"

#include "model/store.h"
#include "panel/drop_delegates.h"
#include "panel/group_icon.h"
#include "panel/item_drag.h"
#include "panel/panel_style.h"
#include "panel/panel_view.h"

#include <QAccessible>
#include <QApplication>
#include <QDrag>
#include <QHBoxLayout>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>

namespace {

constexpr int kIconSide = 18;
constexpr int kSidePadding = 10;
constexpr int kTopPadding = 4;
constexpr int kIconToName = 6;
constexpr int kTabSpacing = 6;

} // namespace

GroupTab::GroupTab(PanelView& view, TabCrossing& crossing, QWidget* parent)
    : QWidget(parent)
    , m_view(view)
    , m_crossing(crossing)
{
    setAcceptDrops(true);
    setAttribute(Qt::WA_Hover);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void GroupTab::setGroup(const AppGroup& group, bool isCurrent)
{
    const bool sameLook = group.name == m_group.name && group.icon == m_group.icon &&
                          isCurrent == m_current && !m_group.id.isNull();
    const bool sameIcon = group.icon == m_group.icon && !m_group.id.isNull();
    const bool selectionChanged = isCurrent != m_current && !m_group.id.isNull();
    m_group = group;
    m_current = isCurrent;
    if (selectionChanged && QAccessible::isActive()) {
        QAccessible::State changed;
        changed.selected = true;
        QAccessibleStateChangeEvent event(this, changed);
        QAccessible::updateAccessibility(&event);
    }
    if (!sameIcon)
        m_hasIcon = !groupIcon(group, kIconSide, 1).isNull();
    if (!sameLook) {
        setAccessibleName(group.name);
        updateGeometry();
        update();
    }
}

QSize GroupTab::sizeHint() const
{
    const QFontMetrics metrics(PanelStyle::callout(font()));
    int width = 2 * kSidePadding + metrics.horizontalAdvance(m_group.name);
    if (m_hasIcon)
        width += kIconSide + kIconToName;
    const int height = std::max(kIconSide, metrics.height()) + 2 * kTopPadding;
    return {width, height};
}

void GroupTab::setGliding(bool gliding)
{
    if (gliding != m_gliding) {
        m_gliding = gliding;
        update();
    }
}

void GroupTab::paintEvent(QPaintEvent*)
{
    if (m_gliding)
        return;
    QPainter painter(this);
    paintTab(painter, rect());
}

void GroupTab::paintTab(QPainter& painter, const QRect& box) const
{
    painter.save();
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    const QRectF capsule = QRectF(box).adjusted(0.5, 0.5, -0.5, -0.5);
    QColor fill = m_current ? PanelStyle::accent(palette()) : PanelStyle::quietFill();
    if (!m_current && underMouse())
        fill.setAlphaF(std::min(1.0, fill.alphaF() * 1.6));
    if (m_dragging)
        painter.setOpacity(0.5);
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(capsule, capsule.height() / 2, capsule.height() / 2);

    int x = box.x() + kSidePadding;
    // Made for the device at each paint, so that a move to a screen of another pixel ratio
    // or a drag picture at a higher one stays sharp.
    const QPixmap icon = m_hasIcon
                             ? groupIcon(m_group, kIconSide, painter.device()->devicePixelRatioF())
                             : QPixmap();
    if (!icon.isNull()) {
        painter.drawPixmap(QRect(x, box.y() + (box.height() - kIconSide) / 2, kIconSide, kIconSide),
                           icon);
        x += kIconSide + kIconToName;
    }
    painter.setFont(PanelStyle::callout(font()));
    painter.setPen(m_current ? QColor(Qt::white) : PanelStyle::primary(palette()));
    painter.drawText(QRect(x, box.y(), box.right() - x - kSidePadding + 2, box.height()),
                     Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, m_group.name);
    painter.restore();
}

void GroupTab::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        updateGeometry();
}

void GroupTab::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        m_pressed = true;
        m_pressPos = event->position().toPoint();
    }
}

void GroupTab::mouseMoveEvent(QMouseEvent* event)
{
    if (m_pressed && (event->buttons() & Qt::LeftButton) &&
        (event->position().toPoint() - m_pressPos).manhattanLength() >=
            QApplication::startDragDistance()) {
        m_pressed = false;
        startDrag();
    }
}

void GroupTab::mouseReleaseEvent(QMouseEvent* event)
{
    const bool clicked = m_pressed && event->button() == Qt::LeftButton &&
                         rect().contains(event->position().toPoint());
    m_pressed = false;
    if (clicked)
        select();
}

void GroupTab::select()
{
    m_view.store().setSelected(m_group.id);
}

void GroupTab::showMenu()
{
    m_view.showGroupMenu(m_group, mapToGlobal(rect().center()));
}

void GroupTab::contextMenuEvent(QContextMenuEvent* event)
{
    m_view.showGroupMenu(m_group, event->globalPos());
}

void GroupTab::startDrag()
{
    Store& store = m_view.store();
    m_crossing.reset();
    auto* drag = new QDrag(this);
    drag->setMimeData(beginGroupDrag(store, m_group.id));
    QPixmap picture(size() * devicePixelRatioF());
    picture.setDevicePixelRatio(devicePixelRatioF());
    picture.fill(Qt::transparent);
    render(&picture, QPoint(), QRegion(), QWidget::DrawChildren);
    drag->setPixmap(picture);
    drag->setHotSpot(m_pressPos);
    m_dragging = true;
    update();
    QPointer<GroupTab> self(this);
    drag->exec(Qt::MoveAction);
    endPanelDrag(store); // however it ended, the drag is over
    if (self) {
        m_dragging = false;
        update();
    }
}

void GroupTab::dragEnterEvent(QDragEnterEvent* event)
{
    const TabDrop drop{m_view.store(), m_group.id};
    const DropInfo info{event->mimeData()->hasText()};
    if (!drop.validateDrop(info)) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::MoveAction);
    event->accept();
    const std::optional<QUuid> dragged = m_view.store().dragGroup;
    if (!dragged || m_crossing.enter(*dragged, m_group.id))
        drop.dropEntered(info);
}

void GroupTab::dragMoveEvent(QDragMoveEvent* event)
{
    const TabDrop drop{m_view.store(), m_group.id};
    if (!drop.validateDrop({event->mimeData()->hasText()})) {
        event->ignore();
        return;
    }
    drop.dropUpdated({true});
    event->setDropAction(Qt::MoveAction);
    event->accept();
}

void GroupTab::dragLeaveEvent(QDragLeaveEvent* event)
{
    TabDrop{m_view.store(), m_group.id}.dropExited({true});
    event->accept();
}

void GroupTab::dropEvent(QDropEvent* event)
{
    TabDrop{m_view.store(), m_group.id}.performDrop({event->mimeData()->hasText()});
    event->setDropAction(Qt::MoveAction);
    event->accept();
}

namespace {

// The row that holds the tabs; while they glide it draws them at their moving places.
class TabRow : public QWidget {
public:
    explicit TabRow(TabStrip& strip)
        : m_strip(strip)
    {
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        if (!m_strip.isGliding())
            return;
        QPainter painter(this);
        m_strip.paintGlide(painter);
    }

private:
    TabStrip& m_strip;
};

constexpr int kGlideMs = 180;

} // namespace

TabStrip::TabStrip(PanelView& view, QWidget* parent)
    : QScrollArea(parent)
    , m_view(view)
    , m_row(new TabRow(*this))
    , m_layout(new QHBoxLayout(m_row))
{
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setWidgetResizable(true);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    viewport()->setAutoFillBackground(false);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(kTabSpacing);
    m_layout->addStretch(1);
    setWidget(m_row);
    m_row->setAutoFillBackground(false); // setWidget() turned it on; the panel shows through

    m_glide.setStartValue(0.0);
    m_glide.setEndValue(1.0);
    m_glide.setDuration(kGlideMs);
    m_glide.setEasingCurve(QEasingCurve::OutCubic);
    connect(&m_glide, &QVariantAnimation::valueChanged, m_row, qOverload<>(&QWidget::update));
    connect(&m_glide, &QVariantAnimation::finished, this, [this] {
        m_glideFrom.clear();
        for (GroupTab* tab : m_tabs)
            tab->setGliding(false);
        m_row->update();
    });
}

int TabStrip::shownX(const GroupTab* tab) const
{
    const int target = tab->x();
    if (!isGliding())
        return target;
    const auto from = m_glideFrom.constFind(tab->group().id);
    if (from == m_glideFrom.constEnd())
        return target;
    return qRound(*from + (target - *from) * m_glide.currentValue().toReal());
}

void TabStrip::paintGlide(QPainter& painter) const
{
    for (const GroupTab* tab : m_tabs) {
        if (tab->isVisible())
            tab->paintTab(painter, QRect(QPoint(shownX(tab), tab->y()), tab->size()));
    }
}

void TabStrip::setGroups(const QList<AppGroup>& groups, const QUuid& currentId)
{
    // Where every group's tab is shown now; a move arrives as a removal and an insertion, so
    // places already recorded in a running glide are kept.
    QHash<QUuid, int> from = isGliding() ? m_glideFrom : QHash<QUuid, int>();
    QList<QUuid> shownOrder;
    for (const GroupTab* tab : m_tabs) {
        from.insert(tab->group().id, shownX(tab));
        shownOrder.append(tab->group().id);
    }
    QList<QUuid> newOrder;
    for (const AppGroup& group : groups)
        newOrder.append(group.id);
    while (m_tabs.size() > groups.size()) {
        // Later, not now: the tab may be the one whose menu deleted its group.
        GroupTab* gone = m_tabs.takeLast();
        m_layout->removeWidget(gone);
        gone->hide();
        gone->deleteLater();
    }
    while (m_tabs.size() < groups.size()) {
        auto* tab = new GroupTab(m_view, m_crossing, m_row);
        m_layout->insertWidget(int(m_tabs.size()), tab, 0, Qt::AlignVCenter);
        m_tabs.append(tab);
    }
    for (qsizetype i = 0; i < groups.size(); ++i)
        m_tabs[i]->setGroup(groups[i], groups[i].id == currentId);

    if (isVisible() && !shownOrder.isEmpty() && shownOrder != newOrder) {
        m_layout->activate();
        m_glideFrom = std::move(from);
        for (GroupTab* tab : m_tabs)
            tab->setGliding(true);
        m_glide.stop();
        m_glide.start();
        m_row->update();
    }
    if (currentId != m_shownCurrent) {
        m_shownCurrent = currentId;
        for (GroupTab* tab : m_tabs) {
            if (tab->isCurrent()) {
                m_row->adjustSize();
                ensureWidgetVisible(tab, 24, 0);
            }
        }
    }
}

QSize TabStrip::sizeHint() const
{
    TabCrossing unused;
    GroupTab probe(m_view, unused);
    return {200, probe.sizeHint().height()};
}

QSize TabStrip::minimumSizeHint() const
{
    return {40, sizeHint().height()};
}

void TabStrip::wheelEvent(QWheelEvent* event)
{
    const QPoint delta = event->angleDelta();
    const int step = std::abs(delta.x()) > std::abs(delta.y()) ? delta.x() : delta.y();
    horizontalScrollBar()->setValue(horizontalScrollBar()->value() - step / 2);
    event->accept();
}
