#pragma once

#include "panel/panel_model.h"

#include <QAbstractScrollArea>
#include <QHash>
#include <QPointF>
#include <QStringList>
#include <QUrl>
#include <QUuid>
#include <QVariantAnimation>
#include <optional>

class PanelDrag;
class QMimeData;
class Store;

// The scrolling grid of item tiles, painted in one widget: icon above name, 80 points wide.
// Cells launch on click, drag, take in-panel drops and offer their menu; result tiles only
// launch. Reordering is live and the tiles glide to their new places. The grid reads the
// store's drag state only; what the user does, it signals to its owner.
class ItemGrid : public QAbstractScrollArea {
    Q_OBJECT

public:
    enum class Role { Cells, Results };

    // `takesFiles`: files from outside may be dropped on it (full panel only).
    ItemGrid(const Store& store, bool takesFiles, QWidget* parent = nullptr);

    void setColumns(const GridColumns& columns);
    // `group` is the group the cells belong to; none for results.
    void setItems(const QStringList& paths, std::optional<QUuid> group, Role role);
    void setEmptyText(const QString& text, bool visible);
    // The group that files dropped from outside go to; none refuses them at the drop.
    void setFileGroup(std::optional<QUuid> group) { m_fileGroup = group; }

    const QStringList& items() const { return m_items; }
    Role role() const { return m_role; }
    bool emptyTextVisible() const { return m_emptyVisible && m_items.isEmpty(); }
    const QString& emptyText() const { return m_emptyText; }
    GridGeometry gridGeometry() const;
    int rowCount() const;
    // A tile's place in viewport coordinates, after any running animation; -1 for none.
    QRect tileRect(int index) const;
    int tileAt(const QPoint& viewportPos) const;
    int contentHeight() const;
    static int tileHeight(const QFont& font);
    // Loads the icons and names of the tiles in view, which the next paint then finds ready.
    void loadTilesInView() const;

    // The tile the keyboard works on, drawn with a ring while the grid has the focus; -1 for
    // none. Setting it scrolls the tile into view.
    int focusedTile() const { return m_focused; }
    // The window's keys come here. Not hasFocus(): on X11 a panel opened by a grabbed hot key
    // gets its keys before Qt counts the window as active.
    bool takesKeys() const { return window()->focusWidget() == this; }
    void setFocusedTile(int index);
    // Gives the grid the window's keys, or takes them back; the ring follows at once, as the
    // focus events do not come while the window is not counted as active.
    void takeKeys();
    void releaseKeys(QWidget* to);
    // What the keyboard and assistive tools do to a tile.
    void activateTile(int index);
    void showTileMenu(int index);
    bool offersMenus() const { return m_role == Role::Cells; }

Q_SIGNALS:
    void focusedTileChanged(int index);
    // A click, Return or an assistive tool opens the tile's item.
    void activated(const QString& path);
    void menuRequested(const QString& path, const QPoint& globalPos);
    void filesDropped(const QList<QUrl>& urls, const QUuid& group);
    // An in-panel drag of a tile begins: the owner records it in the store, and forgets it
    // at `drag`'s end, however the drag ended.
    void itemDragStarted(const QString& path, PanelDrag* drag);
    // Dropped between the tiles: the drag simply ends here.
    void dragEnded();
    // The dragged item came over the tile of `cell`: it takes that place at once.
    void itemDragEntered(const QString& cell, const QUuid& group, bool offersText);
    void itemDropped(const QString& cell, const QUuid& group, bool offersText);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    enum class DragKind { None, Item, Files };

    DragKind dragKind(const QMimeData* mime) const;
    QRect finalTileRect(int index) const;
    QPointF displayedTopLeft(int index) const;
    void updateScrollRange();
    void startDrag(int index);
    QPixmap tilePixmap(int index) const;
    // What a tile shows of its item: loading it is the slow part of a paint.
    struct TileContent {
        QPixmap icon;
        QFont captionFont;
        QString caption; // the name, cut to the tile
        int captionHeight = 0;
    };
    TileContent tileContent(const QString& path) const;
    void paintTile(QPainter& painter, const QRect& tile, const QString& path, bool hovered) const;
    void paintFocusRing(QPainter& painter, const QRect& tile) const;
    void enterCell(const std::optional<QString>& path, bool offersText);
    void autoScroll(const QPoint& viewportPos);
    void announceFocusedTile();

    const Store& m_store;
    bool m_takesFiles;
    std::optional<QUuid> m_fileGroup;
    GridColumns m_columns;
    QStringList m_items;
    std::optional<QUuid> m_group;
    Role m_role = Role::Cells;
    QString m_emptyText;
    bool m_emptyVisible = false;

    int m_hovered = -1;
    int m_focused = -1;
    int m_pressed = -1;
    QPoint m_pressPos;
    std::optional<QString> m_draggedPath; // the tile this grid is dragging, drawn faded
    DragKind m_dragKind = DragKind::None;
    std::optional<QString> m_enteredCell;

    // Where each tile started the running glide, in content coordinates.
    QHash<QString, QPointF> m_glideFrom;
    QVariantAnimation m_glide;
};
