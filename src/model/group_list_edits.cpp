#include "model/group_list_edits.h"

#include "model/canonical_text.h"

namespace {

AppGroup* find(QList<AppGroup>& groups, const QUuid& id)
{
    const qsizetype index = GroupListEdits::indexOf(groups, id);
    return index < 0 ? nullptr : &groups[index];
}

bool removeFrom(AppGroup& group, const QString& path)
{
    return group.apps.removeIf(
               [&](const QString& app) { return CanonicalText::equal(app, path); }) > 0;
}

} // namespace

namespace GroupListEdits {

qsizetype indexOf(const QList<AppGroup>& groups, const QUuid& id)
{
    for (qsizetype i = 0; i < groups.size(); ++i) {
        if (groups[i].id == id)
            return i;
    }
    return -1;
}

bool appendItem(QList<AppGroup>& groups, const QString& path, const QUuid& to)
{
    AppGroup* group = find(groups, to);
    if (!group || CanonicalText::contains(group->apps, path))
        return false;
    group->apps.append(path);
    return true;
}

bool removeItem(QList<AppGroup>& groups, const QString& path, const QUuid& from)
{
    AppGroup* group = find(groups, from);
    if (!group)
        return false;
    removeFrom(*group, path);
    return true;
}

bool removeGroup(QList<AppGroup>& groups, const QUuid& id, QList<AppGroup>& removed)
{
    removed.clear();
    if (groups.size() < 2)
        return false;
    groups.removeIf([&](const AppGroup& g) { return g.id == id && (removed.append(g), true); });
    return true;
}

bool moveItem(QList<AppGroup>& groups, const QString& item, const QString& before, const QUuid& in)
{
    AppGroup* group = find(groups, in);
    if (!group)
        return false;
    const qsizetype from = CanonicalText::indexOf(group->apps, item);
    const qsizetype to = CanonicalText::indexOf(group->apps, before);
    if (from < 0 || to < 0 || from == to)
        return false;
    group->apps.removeAt(from);
    group->apps.insert(to, item);
    return true;
}

bool moveItemToGroup(QList<AppGroup>& groups, const QString& item, const QUuid& from,
                     const QUuid& to)
{
    if (from == to || !find(groups, to))
        return false;
    if (AppGroup* source = find(groups, from))
        removeFrom(*source, item);
    // Without an existence test: an item gone from disk (on an unmounted volume, say) must
    // not be lost on the way.
    appendItem(groups, item, to);
    return true;
}

bool moveGroup(QList<AppGroup>& groups, const QUuid& group, const QUuid& before)
{
    const qsizetype from = indexOf(groups, group);
    const qsizetype to = indexOf(groups, before);
    if (from < 0 || to < 0 || from == to)
        return false;
    groups.move(from, to);
    return true;
}

} // namespace GroupListEdits
