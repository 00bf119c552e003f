#include "panel/item_grid.h"

#include "model/store.h"
#include "panel/desktop_items.h"
#include "panel/display_names.h"
#include "panel/drop_delegates.h"
#include "panel/grid_navigation.h"
#include "panel/item_drag.h"
#include "panel/panel_drag.h"
#include "panel/panel_style.h"

#include <QAccessible>
#include <QApplication>
#include <QDrag>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QScrollBar>
#include <QToolTip>
#include <algorithm>
#include <cmath>

namespace {

constexpr int kTileWidth = 80;
constexpr int kIconSide = 48;
constexpr int kTileTop = 4; // room for the hover highlight above the icon
constexpr int kIconToName = 4;
constexpr int kTileBottom = 2;
constexpr int kRowSpacing = 10;
constexpr int kGlideMs = 180;

bool offersLocalFiles(const QMimeData* mime)
{
    if (!mime->hasUrls())
        return false;
    const QList<QUrl> urls = mime->urls();
    return std::any_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); });
}

} // namespace

ItemGrid::ItemGrid(const Store& store, bool takesFiles, QWidget* parent)
    : QAbstractScrollArea(parent)
    , m_store(store)
    , m_takesFiles(takesFiles)
    , m_columns(PanelModel::fullColumns())
{
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // A slim indicator, so that four compact columns still fit beside it.
    verticalScrollBar()->setStyleSheet(QStringLiteral(
        "QScrollBar:vertical { width: 8px; background: transparent; margin: 0; }"
        " QScrollBar::handle:vertical { background: rgba(128, 128, 128, 120); border-radius: 3px;"
        " min-height: 24px; margin: 0 1px 0 1px; }"
        " QScrollBar::handle:vertical:hover { background: rgba(128, 128, 128, 180); }"
        " QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }"
        " QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: none; }"));
    viewport()->setAutoFillBackground(false);
    viewport()->setMouseTracking(true);
    viewport()->setAcceptDrops(true);
    setAcceptDrops(true);
    // The keyboard reaches the tiles by Down from the search field or by Tab; a click does not
    // take the focus from the search.
    setFocusPolicy(Qt::TabFocus);
    setMinimumHeight(tileHeight(font()));
    m_glide.setStartValue(0.0);
    m_glide.setEndValue(1.0);
    m_glide.setDuration(kGlideMs);
    m_glide.setEasingCurve(QEasingCurve::OutCubic);
    connect(&m_glide, &QVariantAnimation::valueChanged, viewport(), qOverload<>(&QWidget::update));
    connect(&m_glide, &QVariantAnimation::finished, this, [this] { m_glideFrom.clear(); });
}

int ItemGrid::tileHeight(const QFont& font)
{
    return kTileTop + kIconSide + kIconToName + QFontMetrics(PanelStyle::caption(font)).height() +
           kTileBottom;
}

void ItemGrid::setColumns(const GridColumns& columns)
{
    if (columns == m_columns)
        return;
    m_columns = columns;
    updateScrollRange();
    viewport()->update();
}

void ItemGrid::setItems(const QStringList& paths, std::optional<QUuid> group, Role role)
{
    if (paths == m_items && group == m_group && role == m_role)
        return;
    // The same group's cells changed (moved, added, removed): the tiles glide from where they
    // are shown now. A move reaches us as a removal and an insertion in a row, so a tile that
    // has just gone keeps its last place for the rest of the glide.
    const bool glide = role == Role::Cells && m_role == Role::Cells && group == m_group;
    if (glide) {
        QHash<QString, QPointF> from = m_glide.state() == QAbstractAnimation::Running
                                           ? m_glideFrom
                                           : QHash<QString, QPointF>();
        const int scroll = verticalScrollBar()->value();
        for (int i = 0; i < m_items.size(); ++i)
            from.insert(m_items[i], displayedTopLeft(i) + QPointF(0, scroll));
        m_glideFrom = std::move(from);
        m_glide.stop();
        m_glide.start();
    } else {
        m_glide.stop();
        m_glideFrom.clear();
    }
    const bool sameList = group == m_group && role == m_role;
    m_items = paths;
    m_group = group;
    m_role = role;
    if (m_hovered >= m_items.size())
        m_hovered = -1;
    // Another group or a new search starts the keyboard at the first tile.
    const int focused =
        sameList ? std::min<int>(m_focused, int(m_items.size()) - 1) : (m_items.isEmpty() ? -1 : 0);
    if (focused != m_focused) {
        m_focused = focused;
        Q_EMIT focusedTileChanged(m_focused);
    }
    m_pressed = -1;
    updateScrollRange();
    viewport()->update();
    if (QAccessible::isActive()) {
        QAccessibleEvent event(this, QAccessible::ObjectReorder);
        QAccessible::updateAccessibility(&event);
    }
}

void ItemGrid::setEmptyText(const QString& text, bool visible)
{
    if (text == m_emptyText && visible == m_emptyVisible)
        return;
    m_emptyText = text;
    m_emptyVisible = visible;
    viewport()->update();
}

GridGeometry ItemGrid::gridGeometry() const
{
    return PanelModel::geometry(m_columns, viewport()->width());
}

int ItemGrid::rowCount() const
{
    const int columns = std::max(1, gridGeometry().columns);
    return int((m_items.size() + columns - 1) / columns);
}

int ItemGrid::contentHeight() const
{
    const int rows = rowCount();
    return rows == 0 ? 0 : rows * tileHeight(font()) + (rows - 1) * kRowSpacing;
}

QRect ItemGrid::finalTileRect(int index) const
{
    const GridGeometry g = gridGeometry();
    const int column = index % g.columns;
    const int row = index / g.columns;
    const int x = qRound(g.columnX(column) + (g.columnWidth - kTileWidth) / 2);
    const int height = tileHeight(font());
    return QRect(x, row * (height + kRowSpacing), kTileWidth, height);
}

QPointF ItemGrid::displayedTopLeft(int index) const
{
    const QRect target = finalTileRect(index);
    QPointF place = target.topLeft();
    if (m_glide.state() == QAbstractAnimation::Running) {
        const auto it = m_glideFrom.constFind(m_items[index]);
        if (it != m_glideFrom.constEnd()) {
            const qreal t = m_glide.currentValue().toReal();
            place = *it + (QPointF(target.topLeft()) - *it) * t;
        }
    }
    return place - QPointF(0, verticalScrollBar()->value());
}

QRect ItemGrid::tileRect(int index) const
{
    if (index < 0 || index >= m_items.size())
        return {};
    return QRect(displayedTopLeft(index).toPoint(), QSize(kTileWidth, tileHeight(font())));
}

int ItemGrid::tileAt(const QPoint& viewportPos) const
{
    if (m_items.isEmpty())
        return -1;
    const GridGeometry g = gridGeometry();
    const int height = tileHeight(font());
    const int y = viewportPos.y() + verticalScrollBar()->value();
    if (y < 0)
        return -1;
    const int row = y / (height + kRowSpacing);
    if (y - row * (height + kRowSpacing) >= height)
        return -1;
    for (int column = 0; column < g.columns; ++column) {
        const qreal left = g.columnX(column) + (g.columnWidth - kTileWidth) / 2;
        if (viewportPos.x() >= qRound(left) && viewportPos.x() < qRound(left) + kTileWidth) {
            const int index = row * g.columns + column;
            return index < m_items.size() ? index : -1;
        }
    }
    return -1;
}

void ItemGrid::updateScrollRange()
{
    QScrollBar* bar = verticalScrollBar();
    bar->setRange(0, std::max(0, contentHeight() - viewport()->height()));
    bar->setPageStep(viewport()->height());
    bar->setSingleStep(tileHeight(font()) / 2);
}

void ItemGrid::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollRange();
}

void ItemGrid::scrollContentsBy(int, int)
{
    viewport()->update();
}

void ItemGrid::changeEvent(QEvent* event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::PaletteChange) {
        setMinimumHeight(tileHeight(font()));
        updateScrollRange();
        viewport()->update();
    }
}

ItemGrid::TileContent ItemGrid::tileContent(const QString& path) const
{
    TileContent content;
    content.icon = DesktopItems::icon(path).pixmap(QSize(kIconSide, kIconSide),
                                                   viewport()->devicePixelRatioF());
    content.captionFont = PanelStyle::caption(font());
    const QFontMetrics metrics(content.captionFont);
    content.caption = metrics.elidedText(DisplayNames::name(path), Qt::ElideRight, kTileWidth - 4);
    content.captionHeight = metrics.height();
    return content;
}

void ItemGrid::paintTile(QPainter& painter, const QRect& tile, const QString& path,
                         bool hovered) const
{
    if (hovered) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(PanelStyle::hover(palette()));
        painter.drawRoundedRect(QRectF(tile).adjusted(0, 0, 0, 2), 9, 9);
    }
    const TileContent content = tileContent(path);
    const QRectF iconBox(tile.x() + (kTileWidth - kIconSide) / 2.0, tile.y() + kTileTop, kIconSide,
                         kIconSide);
    if (!content.icon.isNull())
        painter.drawPixmap(iconBox, content.icon, QRectF(content.icon.rect()));

    const QRect nameBox(tile.x() + 2, int(iconBox.bottom()) + kIconToName, kTileWidth - 4,
                        content.captionHeight);
    painter.setFont(content.captionFont);
    painter.setPen(PanelStyle::primary(palette()));
    painter.drawText(nameBox, Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine,
                     content.caption);
}

void ItemGrid::loadTilesInView() const
{
    const QRect area = viewport()->rect();
    for (int i = 0; i < m_items.size(); ++i) {
        if (tileRect(i).intersects(area))
            tileContent(m_items[i]);
    }
}

void ItemGrid::paintFocusRing(QPainter& painter, const QRect& tile) const
{
    painter.setPen(QPen(PanelStyle::accent(palette()), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(tile).adjusted(1, 1, -1, 1), 9, 9);
}

void ItemGrid::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform |
                           QPainter::TextAntialiasing);
    const QRect area = event->rect();
    for (int i = 0; i < m_items.size(); ++i) {
        const QRect tile = tileRect(i);
        if (tile.bottom() < area.top() - 2 || tile.top() > area.bottom())
            continue;
        const bool faded = m_draggedPath && *m_draggedPath == m_items[i];
        painter.setOpacity(faded ? 0.35 : 1.0);
        paintTile(painter, tile, m_items[i], i == m_hovered && !m_draggedPath);
        if (i == m_focused && takesKeys())
            paintFocusRing(painter, tile);
    }
    painter.setOpacity(1.0);
    if (emptyTextVisible()) {
        painter.setPen(PanelStyle::secondary(palette()));
        painter.setFont(font());
        painter.drawText(viewport()->rect().adjusted(8, 0, -8, 0),
                         Qt::AlignCenter | Qt::TextWordWrap, m_emptyText);
    }
}

void ItemGrid::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    m_pressed = tileAt(event->position().toPoint());
    m_pressPos = event->position().toPoint();
    event->accept();
}

void ItemGrid::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint pos = event->position().toPoint();
    if (m_pressed >= 0 && (event->buttons() & Qt::LeftButton) && m_role == Role::Cells &&
        (pos - m_pressPos).manhattanLength() >= QApplication::startDragDistance()) {
        const int index = m_pressed;
        m_pressed = -1;
        startDrag(index);
        return;
    }
    const int hovered = tileAt(pos);
    if (hovered != m_hovered) {
        m_hovered = hovered;
        viewport()->update();
    }
}

void ItemGrid::mouseReleaseEvent(QMouseEvent* event)
{
    const int pressed = m_pressed;
    m_pressed = -1;
    if (event->button() == Qt::LeftButton && pressed >= 0 &&
        tileAt(event->position().toPoint()) == pressed) {
        const QString path = m_items[pressed];
        Q_EMIT activated(path);
    }
}

void ItemGrid::leaveEvent(QEvent* event)
{
    QAbstractScrollArea::leaveEvent(event);
    if (m_hovered >= 0) {
        m_hovered = -1;
        viewport()->update();
    }
}

void ItemGrid::setFocusedTile(int index)
{
    if (index < 0 || index >= m_items.size() || index == m_focused)
        return;
    m_focused = index;
    const QRect tile = finalTileRect(index); // content coordinates
    QScrollBar* bar = verticalScrollBar();
    if (tile.top() < bar->value())
        bar->setValue(tile.top());
    else if (tile.bottom() > bar->value() + viewport()->height())
        bar->setValue(tile.bottom() - viewport()->height() + kRowSpacing);
    viewport()->update();
    announceFocusedTile();
    Q_EMIT focusedTileChanged(index);
}

void ItemGrid::announceFocusedTile()
{
    if (!QAccessible::isActive() || !takesKeys() || m_focused < 0)
        return;
    QAccessibleEvent event(this, QAccessible::Focus);
    event.setChild(m_focused);
    QAccessible::updateAccessibility(&event);
}

void ItemGrid::takeKeys()
{
    setFocus(Qt::TabFocusReason);
    if (m_focused < 0 && !m_items.isEmpty())
        setFocusedTile(0);
    viewport()->update();
    announceFocusedTile();
}

void ItemGrid::releaseKeys(QWidget* to)
{
    to->setFocus(Qt::OtherFocusReason);
    viewport()->update();
}

void ItemGrid::activateTile(int index)
{
    if (index >= 0 && index < m_items.size())
        Q_EMIT activated(m_items[index]);
}

void ItemGrid::showTileMenu(int index)
{
    if (index < 0 || index >= m_items.size() || !offersMenus())
        return;
    Q_EMIT menuRequested(m_items[index], viewport()->mapToGlobal(tileRect(index).center()));
}

void ItemGrid::keyPressEvent(QKeyEvent* event)
{
    using GridNavigation::Move;
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    std::optional<Move> move;
    switch (event->key()) {
    case Qt::Key_Left: move = Move::Left; break;
    case Qt::Key_Right: move = Move::Right; break;
    case Qt::Key_Up: move = Move::Up; break;
    case Qt::Key_Down: move = Move::Down; break;
    case Qt::Key_Home: move = Move::Home; break;
    case Qt::Key_End: move = Move::End; break;
    default: break;
    }
    if (move && modifiers == Qt::NoModifier) {
        const int next =
            GridNavigation::next(m_focused, *move, int(m_items.size()), gridGeometry().columns);
        if (next == GridNavigation::kAboveGrid) {
            event->ignore(); // the form above decides where the focus goes
            return;
        }
        setFocusedTile(next);
        event->accept();
        return;
    }
    const bool activates = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter ||
                           event->key() == Qt::Key_Space;
    if (activates && modifiers == Qt::NoModifier) {
        activateTile(m_focused);
        event->accept();
        return;
    }
    // The Menu key arrives as a keyboard context menu event; Shift+F10 does not.
    if (event->key() == Qt::Key_F10 && modifiers == Qt::ShiftModifier) {
        showTileMenu(m_focused);
        event->accept();
        return;
    }
    event->ignore(); // letters and group keys are the form's
}

void ItemGrid::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    if (m_focused < 0 && !m_items.isEmpty())
        setFocusedTile(0);
    viewport()->update();
}

void ItemGrid::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

void ItemGrid::contextMenuEvent(QContextMenuEvent* event)
{
    if (event->reason() == QContextMenuEvent::Keyboard) {
        showTileMenu(m_focused);
        return;
    }
    const int index = tileAt(event->pos());
    if (index < 0 || m_role != Role::Cells)
        return;
    Q_EMIT menuRequested(m_items[index], event->globalPos());
}

bool ItemGrid::viewportEvent(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int index = tileAt(help->pos());
        const QString name = index >= 0 ? DisplayNames::name(m_items[index]) : QString();
        const QFontMetrics metrics(PanelStyle::caption(font()));
        if (index >= 0 && metrics.horizontalAdvance(name) > kTileWidth - 4)
            QToolTip::showText(help->globalPos(), name, viewport(), tileRect(index));
        else
            QToolTip::hideText();
        return true;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

QPixmap ItemGrid::tilePixmap(int index) const
{
    const qreal ratio = devicePixelRatioF();
    const QSize size(kTileWidth, tileHeight(font()));
    QPixmap pixmap(size * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    paintTile(painter, QRect(QPoint(), size), m_items[index], false);
    return pixmap;
}

void ItemGrid::startDrag(int index)
{
    const QString path = m_items[index];
    PanelDrag session; // ends when this returns
    Q_EMIT itemDragStarted(path, &session);
    auto* drag = new QDrag(this);
    drag->setMimeData(itemDragData(path));
    drag->setPixmap(tilePixmap(index));
    drag->setHotSpot(m_pressPos - tileRect(index).topLeft());
    m_draggedPath = path;
    viewport()->update();

    QPointer<ItemGrid> self(this);
    drag->exec(Qt::MoveAction);
    // However the drag ended, it is over when `session` goes: stale drag state would make
    // later drags from outside the panel look like ours.
    if (self) {
        m_draggedPath.reset();
        m_hovered = -1;
        viewport()->update();
    }
}

ItemGrid::DragKind ItemGrid::dragKind(const QMimeData* mime) const
{
    if (m_role == Role::Cells && m_group && CellDrop::accepts(m_store, {mime->hasText()}))
        return DragKind::Item;
    if (m_takesFiles && offersLocalFiles(mime))
        return DragKind::Files;
    return DragKind::None;
}

void ItemGrid::enterCell(const std::optional<QString>& path, bool offersText)
{
    if (path == m_enteredCell || !m_group)
        return;
    m_enteredCell = path;
    if (path && CellDrop::accepts(m_store, {offersText}))
        Q_EMIT itemDragEntered(*path, *m_group, offersText);
}

void ItemGrid::autoScroll(const QPoint& viewportPos)
{
    constexpr int margin = 24;
    QScrollBar* bar = verticalScrollBar();
    if (viewportPos.y() < margin)
        bar->setValue(bar->value() - 8);
    else if (viewportPos.y() > viewport()->height() - margin)
        bar->setValue(bar->value() + 8);
}

void ItemGrid::dragEnterEvent(QDragEnterEvent* event)
{
    m_dragKind = dragKind(event->mimeData());
    if (m_dragKind == DragKind::None) {
        event->ignore();
        return;
    }
    if (m_dragKind == DragKind::Item) {
        event->setDropAction(Qt::MoveAction);
        event->accept();
        const int index = tileAt(event->position().toPoint());
        enterCell(index >= 0 ? std::optional(m_items[index]) : std::nullopt,
                  event->mimeData()->hasText());
    } else {
        event->acceptProposedAction();
    }
}

void ItemGrid::dragMoveEvent(QDragMoveEvent* event)
{
    if (m_dragKind == DragKind::None) {
        event->ignore();
        return;
    }
    const QPoint pos = event->position().toPoint();
    autoScroll(pos);
    if (m_dragKind == DragKind::Item) {
        const int index = tileAt(pos);
        enterCell(index >= 0 ? std::optional(m_items[index]) : std::nullopt,
                  event->mimeData()->hasText());
        event->setDropAction(Qt::MoveAction); // every cell proposes a move
        event->accept();
    } else {
        event->acceptProposedAction();
    }
}

void ItemGrid::dragLeaveEvent(QDragLeaveEvent* event)
{
    enterCell(std::nullopt, true);
    m_dragKind = DragKind::None;
    event->accept();
}

void ItemGrid::dropEvent(QDropEvent* event)
{
    const DragKind kind = m_dragKind;
    m_dragKind = DragKind::None;
    if (kind == DragKind::Item) {
        const std::optional<QString> cell = m_enteredCell;
        m_enteredCell.reset();
        if (cell && m_group)
            Q_EMIT itemDropped(*cell, *m_group, event->mimeData()->hasText());
        else
            Q_EMIT dragEnded(); // between tiles: the drag simply ends here
        event->setDropAction(Qt::MoveAction);
        event->accept();
    } else if (kind == DragKind::Files) {
        if (m_fileGroup) {
            Q_EMIT filesDropped(event->mimeData()->urls(), *m_fileGroup);
            event->acceptProposedAction();
        } else {
            event->ignore();
        }
    } else {
        event->ignore();
    }
}
