#pragma once

#include "model/app_group.h"
#include "panel/tab_crossing.h"

#include <QWidget>

class PanelDrag;
class QPainter;
class Store;

// One capsule tab: the group's picture and name, accent-filled when current. A click selects
// the group; it drags, takes drops and offers the group's menu, all signalled to its owner.
class GroupTab : public QWidget {
    Q_OBJECT

public:
    GroupTab(const Store& store, TabCrossing& crossing, QWidget* parent = nullptr);

    void setGroup(const AppGroup& group, bool isCurrent);
    const AppGroup& group() const { return m_group; }
    bool isCurrent() const { return m_current; }
    // What a click and a right click do, for keyboard and assistive tools.
    void select();
    void showMenu();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

    // Draws the tab into `box` of `painter`; the strip uses it while the tabs glide.
    void paintTab(QPainter& painter, const QRect& box) const;
    // While the strip glides, it draws this tab itself at its moving place.
    void setGliding(bool gliding);

Q_SIGNALS:
    void selected(const QUuid& group);
    void menuRequested(const AppGroup& group, const QPoint& globalPos);
    // A drag of this tab's group begins: the owner records it in the store, and forgets it at
    // `drag`'s end, however the drag ended.
    void groupDragStarted(const QUuid& group, PanelDrag* drag);
    // The dragged group came over the tab of `group`: it takes that place at once.
    void dragEntered(const QUuid& group, bool offersText);
    void dropped(const QUuid& group, bool offersText);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void startDrag();

    const Store& m_store;
    TabCrossing& m_crossing;
    AppGroup m_group;
    bool m_hasIcon = false; // drawn at the ratio of whatever it is painted on
    bool m_current = false;
    bool m_pressed = false;
    bool m_dragging = false;
    bool m_gliding = false;
    QPoint m_pressPos;
};
