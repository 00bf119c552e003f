#pragma once

#include "model/app_group.h"

#include <QList>
#include <QScrollArea>
#include <QWidget>

class PanelView;
class QHBoxLayout;

// One capsule tab: the group's picture and name, accent-filled when current. A click selects
// the group; it drags, takes drops and offers the group's menu.
class GroupTab : public QWidget {
    Q_OBJECT

public:
    GroupTab(PanelView& view, QWidget* parent = nullptr);

    void setGroup(const AppGroup& group, bool isCurrent);
    const AppGroup& group() const { return m_group; }
    bool isCurrent() const { return m_current; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

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

    PanelView& m_view;
    AppGroup m_group;
    QPixmap m_icon;
    bool m_current = false;
    bool m_pressed = false;
    bool m_dragging = false;
    QPoint m_pressPos;
};

// The horizontally scrolling row of tabs, without scroll bars; the wheel scrolls it sideways
// and it keeps the current tab in view.
class TabStrip : public QScrollArea {
    Q_OBJECT

public:
    TabStrip(PanelView& view, QWidget* parent = nullptr);

    void setGroups(const QList<AppGroup>& groups, const QUuid& currentId);
    QList<GroupTab*> tabs() const { return m_tabs; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void wheelEvent(QWheelEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;

private:
    PanelView& m_view;
    QWidget* m_row;
    QHBoxLayout* m_layout;
    QList<GroupTab*> m_tabs;
    QUuid m_shownCurrent;
};
