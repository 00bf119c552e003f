#pragma once

#include "model/app_group.h"
#include "panel/tab_crossing.h"

#include <QHash>
#include <QList>
#include <QScrollArea>
#include <QVariantAnimation>
#include <QWidget>

class PanelView;
class QHBoxLayout;
class QPainter;

// One capsule tab: the group's picture and name, accent-filled when current. A click selects
// the group; it drags, takes drops and offers the group's menu.
class GroupTab : public QWidget {
    Q_OBJECT

public:
    GroupTab(PanelView& view, TabCrossing& crossing, QWidget* parent = nullptr);

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
    TabCrossing& m_crossing;
    AppGroup m_group;
    bool m_hasIcon = false; // drawn at the ratio of whatever it is painted on
    bool m_current = false;
    bool m_pressed = false;
    bool m_dragging = false;
    bool m_gliding = false;
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
    bool isGliding() const { return m_glide.state() == QAbstractAnimation::Running; }
    // Where a tab is drawn now: its place, or on its way there from its former one.
    int shownX(const GroupTab* tab) const;
    void paintGlide(QPainter& painter) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void wheelEvent(QWheelEvent* event) override;

private:
    PanelView& m_view;
    QWidget* m_row;
    QHBoxLayout* m_layout;
    QList<GroupTab*> m_tabs;
    TabCrossing m_crossing;
    QUuid m_shownCurrent;
    // A moved group's tab slides from where it was shown, like the item tiles.
    QHash<QUuid, int> m_glideFrom;
    QVariantAnimation m_glide;
};
