#pragma once

#include "model/app_group.h"
#include "panel/tab_crossing.h"

#include <QHash>
#include <QList>
#include <QScrollArea>
#include <QVariantAnimation>

class GroupTab;
class PanelDrag;
class QHBoxLayout;
class QPainter;
class Store;

// The horizontally scrolling row of tabs, without scroll bars; the wheel scrolls it sideways
// and it keeps the current tab in view. Its tabs' signals come out of the strip.
class TabStrip : public QScrollArea {
    Q_OBJECT

public:
    TabStrip(const Store& store, QWidget* parent = nullptr);

    void setGroups(const QList<AppGroup>& groups, const QUuid& currentId);
    QList<GroupTab*> tabs() const { return m_tabs; }
    bool isGliding() const { return m_glide.state() == QAbstractAnimation::Running; }
    // Where a tab is drawn now: its place, or on its way there from its former one.
    int shownX(const GroupTab* tab) const;
    void paintGlide(QPainter& painter) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

Q_SIGNALS:
    void groupSelected(const QUuid& group);
    void menuRequested(const AppGroup& group, const QPoint& globalPos);
    void groupDragStarted(const QUuid& group, PanelDrag* drag);
    void dragEntered(const QUuid& group, bool offersText);
    void dropped(const QUuid& group, bool offersText);

protected:
    void wheelEvent(QWheelEvent* event) override;

private:
    const Store& m_store;
    QWidget* m_row;
    QHBoxLayout* m_layout;
    QList<GroupTab*> m_tabs;
    TabCrossing m_crossing;
    QUuid m_shownCurrent;
    // A moved group's tab slides from where it was shown, like the item tiles.
    QHash<QUuid, int> m_glideFrom;
    QVariantAnimation m_glide;
};
