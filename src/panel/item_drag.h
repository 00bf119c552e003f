#pragma once

#include <QString>
#include <QUuid>

class QMimeData;
class Store;

// What a drag from the panel carries and records: the path or the group id as plain text, and
// the store's drag state, which the drop targets read.
QMimeData* beginItemDrag(Store& store, const QString& path);
QMimeData* beginGroupDrag(Store& store, const QUuid& group);
