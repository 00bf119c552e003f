#include "panel/tab_strip.h"

#include "panel/group_tab.h"
#include "panel/panel_drag.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

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
constexpr int kTabSpacing = 6;

} // namespace

TabStrip::TabStrip(const Store& store, QWidget* parent)
    : QScrollArea(parent)
    , m_store(store)
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
        auto* tab = new GroupTab(m_store, m_crossing, m_row);
        connect(tab, &GroupTab::selected, this, &TabStrip::groupSelected);
        connect(tab, &GroupTab::menuRequested, this, &TabStrip::menuRequested);
        connect(tab, &GroupTab::groupDragStarted, this, &TabStrip::groupDragStarted);
        connect(tab, &GroupTab::dragEntered, this, &TabStrip::dragEntered);
        connect(tab, &GroupTab::dropped, this, &TabStrip::dropped);
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
    GroupTab probe(m_store, unused);
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
