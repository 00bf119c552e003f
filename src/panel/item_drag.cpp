#include "panel/item_drag.h"

#include "model/app_group.h"
#include "model/store.h"

#include <QMimeData>

QMimeData* beginItemDrag(Store& store, const QString& path)
{
    recordItemDrag(store, path);
    return itemDragData(path);
}

QMimeData* beginGroupDrag(Store& store, const QUuid& group)
{
    recordGroupDrag(store, group);
    return groupDragData(group);
}

void recordItemDrag(Store& store, const QString& path)
{
    store.dragApp = path;
    store.dragGroup.reset();
}

void recordGroupDrag(Store& store, const QUuid& group)
{
    store.dragGroup = group;
    store.dragApp.reset();
}

QMimeData* itemDragData(const QString& path)
{
    auto* mime = new QMimeData;
    mime->setText(path);
    return mime;
}

QMimeData* groupDragData(const QUuid& group)
{
    auto* mime = new QMimeData;
    mime->setText(groupIdText(group));
    return mime;
}
