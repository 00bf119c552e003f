#include "named_controls.h"

#include "desktop_session.h"

#include <QDebug>
#include <algorithm>

namespace {

// Less room than this below the tiles could be a tile's own margin.
constexpr int leastRoom = 20;

} // namespace

NamedControls::NamedControls(const DesktopSession& desktop, QProcessEnvironment environment,
                             int timeoutMs)
    : m_desktop(desktop)
    , m_tree(std::move(environment), QStringLiteral("traymate"))
    , m_timeoutMs(timeoutMs)
{
}

QRect NamedControls::placeOf(const QString& role, const QString& name) const
{
    QString error;
    const std::optional<AccessibleObject> found = m_tree.find(role, name, m_timeoutMs, &error);
    if (!found)
        qWarning("%s", qPrintable(error));
    return found ? found->place : QRect();
}

bool NamedControls::click(const QRect& place, int mouseButton) const
{
    return place.isValid() && m_desktop.click(place.center(), mouseButton);
}

bool NamedControls::clickTile(const QString& name, int mouseButton) const
{
    return click(tile(name), mouseButton);
}

bool NamedControls::clickButton(const QString& name, int mouseButton) const
{
    return click(button(name), mouseButton);
}

bool NamedControls::clickTab(const QString& name, int mouseButton) const
{
    return click(tab(name), mouseButton);
}

bool NamedControls::clickToggle(const QString& name, int mouseButton) const
{
    return click(toggle(name), mouseButton);
}

QPoint NamedControls::besideTheTiles() const
{
    QString error;
    const QList<AccessibleObject> shown = m_tree.shown(&error);
    QList<qsizetype> grids;
    for (qsizetype i = 0; i < shown.size(); ++i)
        if (shown[i].role == AccessibleRole::list)
            grids << i;
    if (grids.size() != 1) {
        qWarning("%lld grids on the screen %s", qlonglong(grids.size()), qPrintable(error));
        return {-1, -1};
    }
    const QRect grid = shown[grids.first()].place;
    int top = grid.top();
    for (const AccessibleObject& tile : AccessibleTree::childrenOf(shown, grids.first()))
        top = std::max(top, tile.place.bottom() + 1);
    if (grid.bottom() - top < leastRoom) {
        qWarning("no room below the tiles of the grid at %d,%d %dx%d", grid.x(), grid.y(),
                 grid.width(), grid.height());
        return {-1, -1};
    }
    return QPoint(grid.center().x(), (top + grid.bottom()) / 2);
}
