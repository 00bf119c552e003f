#include "panel/panel_accessibility.h"

#include "model/store.h"
#include "panel/display_names.h"
#include "panel/group_tab.h"
#include "panel/item_grid.h"
#include "panel/tab_strip.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>
#include <QTimer>

namespace {

// One tile of a grid. It names its item by path, so that it follows the item when tiles move
// and reports itself invalid once the item has left the grid.
class TileAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    TileAccessible(ItemGrid* grid, QString path)
        : m_grid(grid)
        , m_path(std::move(path))
    {
    }

    int index() const { return m_grid ? int(m_grid->items().indexOf(m_path)) : -1; }

    bool isValid() const override { return index() >= 0; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return m_grid ? m_grid->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override
    {
        return m_grid ? QAccessible::queryAccessibleInterface(m_grid.data()) : nullptr;
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }

    QAccessible::Role role() const override { return QAccessible::Button; }
    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name && isValid())
            return DisplayNames::name(m_path);
        return {};
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override
    {
        const int at = index();
        if (at < 0)
            return {};
        const QRect tile = m_grid->tileRect(at);
        return QRect(m_grid->viewport()->mapToGlobal(tile.topLeft()), tile.size());
    }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        const int at = index();
        if (at < 0) {
            state.invalid = true;
            return state;
        }
        state.focusable = true;
        state.focused = m_grid->takesKeys() && m_grid->focusedTile() == at;
        state.offscreen = !m_grid->viewport()->rect().intersects(m_grid->tileRect(at));
        state.invisible = !m_grid->isVisible();
        state.hasPopup = m_grid->offersMenus();
        return state;
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ActionInterface)
            return static_cast<QAccessibleActionInterface*>(this);
        return nullptr;
    }

    QStringList actionNames() const override
    {
        QStringList names{pressAction()};
        if (m_grid && m_grid->offersMenus())
            names << showMenuAction();
        return names;
    }
    void doAction(const QString& name) override
    {
        // Later, not inside the assistive tool's call: a launch hides the panel and a menu
        // runs its own event loop.
        QTimer::singleShot(0, m_grid, [grid = m_grid, path = m_path, name] {
            const int at = grid ? int(grid->items().indexOf(path)) : -1;
            if (name == pressAction())
                grid->activateTile(at);
            else if (name == showMenuAction())
                grid->showTileMenu(at);
        });
    }
    QStringList keyBindingsForAction(const QString& name) const override
    {
        if (name == pressAction())
            return {QStringLiteral("Return")};
        if (name == showMenuAction())
            return {QStringLiteral("Shift+F10")};
        return {};
    }

private:
    QPointer<ItemGrid> m_grid;
    QString m_path;
};

// The grid as a list of its tiles rather than a scroll area.
class ItemGridAccessible : public QAccessibleWidget {
public:
    explicit ItemGridAccessible(ItemGrid* grid)
        : QAccessibleWidget(grid, QAccessible::List)
    {
    }
    ~ItemGridAccessible() override
    {
        for (const QAccessible::Id id : std::as_const(m_tiles))
            QAccessible::deleteAccessibleInterface(id);
    }

    ItemGrid* grid() const { return static_cast<ItemGrid*>(widget()); }

    int childCount() const override { return int(grid()->items().size()); }
    QAccessibleInterface* child(int index) const override
    {
        const QStringList& items = grid()->items();
        if (index < 0 || index >= items.size())
            return nullptr;
        forgetGoneTiles();
        const QString& path = items[index];
        const auto known = m_tiles.constFind(path);
        if (known != m_tiles.constEnd())
            return QAccessible::accessibleInterface(*known);
        auto* tile = new TileAccessible(grid(), path);
        m_tiles.insert(path, QAccessible::registerAccessibleInterface(tile));
        return tile;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        if (!child || child->parent() != this)
            return -1;
        return static_cast<const TileAccessible*>(child)->index();
    }
    QAccessibleInterface* childAt(int x, int y) const override
    {
        const QPoint inViewport = grid()->viewport()->mapFromGlobal(QPoint(x, y));
        return child(grid()->tileAt(inViewport));
    }
    QAccessibleInterface* focusChild() const override
    {
        return grid()->takesKeys() ? child(grid()->focusedTile()) : nullptr;
    }
    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name && grid()->accessibleName().isEmpty() &&
            grid()->emptyTextVisible())
            return grid()->emptyText();
        return QAccessibleWidget::text(kind);
    }

private:
    void forgetGoneTiles() const
    {
        if (m_tiles.size() <= grid()->items().size())
            return;
        for (auto it = m_tiles.begin(); it != m_tiles.end();) {
            if (!grid()->items().contains(it.key())) {
                QAccessible::deleteAccessibleInterface(it.value());
                it = m_tiles.erase(it);
            } else {
                ++it;
            }
        }
    }

    mutable QHash<QString, QAccessible::Id> m_tiles;
};

// A group tab: its name, the selected state, and a press that selects it.
class GroupTabAccessible : public QAccessibleWidget {
public:
    explicit GroupTabAccessible(GroupTab* tab)
        : QAccessibleWidget(tab, QAccessible::PageTab)
    {
    }

    GroupTab* tab() const { return static_cast<GroupTab*>(widget()); }

    QString text(QAccessible::Text kind) const override
    {
        if (kind == QAccessible::Name)
            return tab()->group().name;
        return QAccessibleWidget::text(kind);
    }
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.selectable = true;
        state.selected = tab()->isCurrent();
        state.hasPopup = true;
        return state;
    }
    QStringList actionNames() const override { return {pressAction(), showMenuAction()}; }
    void doAction(const QString& name) override
    {
        QTimer::singleShot(0, tab(), [tab = QPointer<GroupTab>(tab()), name] {
            if (!tab)
                return;
            if (name == pressAction())
                tab->select();
            else if (name == showMenuAction())
                tab->showMenu();
        });
    }
};

QAccessibleInterface* panelAccessible(const QString& className, QObject* object)
{
    if (className == QLatin1String("ItemGrid"))
        return new ItemGridAccessible(static_cast<ItemGrid*>(object));
    if (className == QLatin1String("GroupTab"))
        return new GroupTabAccessible(static_cast<GroupTab*>(object));
    if (className == QLatin1String("TabStrip"))
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::PageTabList);
    return nullptr;
}

} // namespace

void installPanelAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(panelAccessible);
        return true;
    }();
    Q_UNUSED(installed);
}
