#include "panel/group_tab.h"

#include "model/store.h"
#include "panel/drop_delegates.h"
#include "panel/group_icon.h"
#include "panel/item_drag.h"
#include "panel/panel_drag.h"
#include "panel/panel_style.h"

#include <QAccessible>
#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

namespace {

constexpr int kIconSide = 18;
constexpr int kSidePadding = 10;
constexpr int kTopPadding = 4;
constexpr int kIconToName = 6;

} // namespace

GroupTab::GroupTab(const Store& store, TabCrossing& crossing, QWidget* parent)
    : QWidget(parent)
    , m_store(store)
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
    Q_EMIT selected(m_group.id);
}

void GroupTab::showMenu()
{
    Q_EMIT menuRequested(m_group, mapToGlobal(rect().center()));
}

void GroupTab::contextMenuEvent(QContextMenuEvent* event)
{
    Q_EMIT menuRequested(m_group, event->globalPos());
}

void GroupTab::startDrag()
{
    m_crossing.reset();
    PanelDrag session; // ends when this returns, however the drag ended
    Q_EMIT groupDragStarted(m_group.id, &session);
    auto* drag = new QDrag(this);
    drag->setMimeData(groupDragData(m_group.id));
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
    if (self) {
        m_dragging = false;
        update();
    }
}

void GroupTab::dragEnterEvent(QDragEnterEvent* event)
{
    const bool offersText = event->mimeData()->hasText();
    if (!TabDrop::accepts(m_store, {offersText})) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::MoveAction);
    event->accept();
    const std::optional<QUuid> dragged = m_store.dragGroup;
    if (!dragged || m_crossing.enter(*dragged, m_group.id))
        Q_EMIT dragEntered(m_group.id, offersText);
}

void GroupTab::dragMoveEvent(QDragMoveEvent* event)
{
    if (!TabDrop::accepts(m_store, {event->mimeData()->hasText()})) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::MoveAction);
    event->accept();
}

void GroupTab::dragLeaveEvent(QDragLeaveEvent* event)
{
    event->accept();
}

void GroupTab::dropEvent(QDropEvent* event)
{
    Q_EMIT dropped(m_group.id, event->mimeData()->hasText());
    event->setDropAction(Qt::MoveAction);
    event->accept();
}
