// The store's operations that change which items and groups there are, and their order.
#include "model/canonical_text.h"
#include "model/store.h"

#include <QFileInfo>

namespace {

bool itemExists(const QString& path)
{
    return QFileInfo::exists(path);
}

} // namespace

void Store::add(const QString& path, const QUuid& to)
{
    if (itemExists(path))
        append(path, to);
}

void Store::append(const QString& path, const QUuid& to)
{
    const qsizetype index = indexOf(to);
    if (index < 0 || CanonicalText::contains(m_groups[index].apps, path))
        return;
    AppGroup changedGroup = m_groups[index];
    changedGroup.apps.append(path);
    setGroup(index, std::move(changedGroup));
}

void Store::remove(const QString& path, const QUuid& from)
{
    const qsizetype index = indexOf(from);
    if (index < 0)
        return;
    AppGroup changedGroup = m_groups[index];
    changedGroup.apps.removeIf([&](const QString& app) { return CanonicalText::equal(app, path); });
    setGroup(index, std::move(changedGroup));
}

void Store::newGroup(const QString& name)
{
    AppGroup created;
    created.name = name;
    QList<AppGroup> list = m_groups;
    list.append(created);
    setGroups(std::move(list));
    setSelected(created.id);
}

void Store::deleteGroup(const QUuid& id)
{
    if (m_groups.size() < 2)
        return;
    QList<AppGroup> list = m_groups;
    QList<AppGroup> gone;
    list.removeIf([&](const AppGroup& g) { return g.id == id && (gone.append(g), true); });
    setGroups(std::move(list));
    setSelected(m_groups.isEmpty() ? std::nullopt : std::optional(m_groups.first().id));
    for (const AppGroup& g : std::as_const(gone))
        deleteIconCopy(g.icon.value_or(QString()));
}

void Store::moveApp(const QString& app, const QString& before, const QUuid& in)
{
    const qsizetype index = indexOf(in);
    if (index < 0)
        return;
    const qsizetype from = CanonicalText::indexOf(m_groups[index].apps, app);
    const qsizetype to = CanonicalText::indexOf(m_groups[index].apps, before);
    if (from < 0 || to < 0 || from == to)
        return;
    AppGroup changedGroup = m_groups[index];
    changedGroup.apps.removeAt(from);
    setGroup(index, changedGroup);
    changedGroup.apps.insert(to, app);
    setGroup(index, std::move(changedGroup));
}

void Store::moveApp(const QString& app, const QUuid& toGroup)
{
    if (!m_selected || *m_selected == toGroup)
        return;
    if (indexOf(toGroup) < 0)
        return; // nowhere to put it: taking it out of the source would lose it
    remove(app, *m_selected);
    // Without the existence test of add(): an item gone from disk (on an unmounted volume,
    // say) must not be lost on the way.
    append(app, toGroup);
}

void Store::moveGroup(const QUuid& group, const QUuid& before)
{
    const qsizetype from = indexOf(group);
    const qsizetype to = indexOf(before);
    if (from < 0 || to < 0 || from == to)
        return;
    QList<AppGroup> list = m_groups;
    const AppGroup moved = list.takeAt(from);
    setGroups(list);
    list.insert(to, moved);
    setGroups(std::move(list));
}
