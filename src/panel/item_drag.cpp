#include "panel/item_drag.h"

#include "model/app_group.h"
#include "model/store.h"

#include <QMimeData>

QMimeData* beginItemDrag(Store& store, const QString& path)
{
    store.dragApp = path;
    store.dragGroup.reset();
    auto* mime = new QMimeData;
    mime->setText(path);
    return mime;
}

QMimeData* beginGroupDrag(Store& store, const QUuid& group)
{
    store.dragGroup = group;
    store.dragApp.reset();
    auto* mime = new QMimeData;
    mime->setText(groupIdText(group));
    return mime;
}
