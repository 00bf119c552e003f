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

namespace {

// Appends `path` to the group with id `to` unless it holds the path already.
bool appendTo(QList<AppGroup>& groups, const QString& path, const QUuid& to)
{
    for (AppGroup& group : groups) {
        if (group.id != to)
            continue;
        if (CanonicalText::contains(group.apps, path))
            return false;
        group.apps.append(path);
        return true;
    }
    return false;
}

qsizetype indexIn(const QList<AppGroup>& groups, const QUuid& id)
{
    for (qsizetype i = 0; i < groups.size(); ++i) {
        if (groups[i].id == id)
            return i;
    }
    return -1;
}

AppGroup* find(QList<AppGroup>& groups, const QUuid& id)
{
    for (AppGroup& group : groups) {
        if (group.id == id)
            return &group;
    }
    return nullptr;
}

} // namespace

// Every operation below reaches the disk as one save of its finished result, so a crash can
// never leave a moved item or group missing from the file.

void Store::append(const QString& path, const QUuid& to)
{
    update([&](QList<AppGroup>& groups) { return appendTo(groups, path, to); });
}

void Store::remove(const QString& path, const QUuid& from)
{
    update([&](QList<AppGroup>& groups) {
        AppGroup* group = find(groups, from);
        if (!group)
            return false;
        group->apps.removeIf([&](const QString& app) { return CanonicalText::equal(app, path); });
        return true;
    });
}

void Store::newGroup(const QString& name)
{
    AppGroup created;
    created.name = name;
    update([&](QList<AppGroup>& groups) {
        groups.append(created);
        return true;
    });
    setSelected(created.id);
}

void Store::deleteGroup(const QUuid& id)
{
    bool applied = false;
    QList<AppGroup> gone;
    update([&](QList<AppGroup>& groups) {
        if (groups.size() < 2)
            return false;
        gone.clear();
        groups.removeIf([&](const AppGroup& g) { return g.id == id && (gone.append(g), true); });
        applied = true;
        return true;
    });
    if (!applied)
        return;
    setSelected(m_groups.isEmpty() ? std::nullopt : std::optional(m_groups.first().id));
    for (const AppGroup& g : std::as_const(gone))
        deleteIconCopy(g.icon.value_or(QString()));
}

void Store::moveApp(const QString& app, const QString& before, const QUuid& in)
{
    update([&](QList<AppGroup>& groups) {
        AppGroup* group = find(groups, in);
        if (!group)
            return false;
        const qsizetype from = CanonicalText::indexOf(group->apps, app);
        const qsizetype to = CanonicalText::indexOf(group->apps, before);
        if (from < 0 || to < 0 || from == to)
            return false;
        group->apps.removeAt(from);
        group->apps.insert(to, app);
        return true;
    });
}

void Store::moveApp(const QString& app, const QUuid& toGroup)
{
    update([&](QList<AppGroup>& groups) {
        if (!m_selected || *m_selected == toGroup)
            return false;
        if (!find(groups, toGroup))
            return false; // nowhere to put it: taking it out of the source would lose it
        if (AppGroup* source = find(groups, *m_selected))
            source->apps.removeIf(
                [&](const QString& path) { return CanonicalText::equal(path, app); });
        // Without the existence test of add(): an item gone from disk (on an unmounted
        // volume, say) must not be lost on the way.
        appendTo(groups, app, toGroup);
        return true;
    });
}

void Store::moveGroup(const QUuid& group, const QUuid& before)
{
    update([&](QList<AppGroup>& groups) {
        const qsizetype from = indexIn(groups, group);
        const qsizetype to = indexIn(groups, before);
        if (from < 0 || to < 0 || from == to)
            return false;
        groups.move(from, to);
        return true;
    });
}
