#pragma once

#include <QString>
#include <QUuid>

class QMimeData;
class Store;

// What a drag from the panel carries and records: the path or the group id as plain text, and
// the store's drag state, which the drop targets read.
QMimeData* beginItemDrag(Store& store, const QString& path);
QMimeData* beginGroupDrag(Store& store, const QUuid& group);

// The store's drag state alone, for the owner of widgets that signal their drags.
void recordItemDrag(Store& store, const QString& path);
void recordGroupDrag(Store& store, const QUuid& group);

// What the drags carry, for widgets that leave the store's drag state to their owner.
QMimeData* itemDragData(const QString& path);
QMimeData* groupDragData(const QUuid& group);
