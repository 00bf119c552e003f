#pragma once

#include "model/app_group.h"

#include <QList>
#include <QString>
#include <QUuid>

// The edits of the group list behind the store's operations, as plain functions: each changes
// `groups` in place and returns whether the store has a result to save. Items are compared as
// canonical text, as everywhere in the program.
namespace GroupListEdits {

// Index of the first group with this id, or -1.
qsizetype indexOf(const QList<AppGroup>& groups, const QUuid& id);

// Appends `path` to the group `to` unless it holds the path already.
bool appendItem(QList<AppGroup>& groups, const QString& path, const QUuid& to);
// Removes every spelling of `path` from the group `from`. True whenever that group exists, so a
// removal always reaches the file.
bool removeItem(QList<AppGroup>& groups, const QString& path, const QUuid& from);
// Removes the group with this id; `removed` receives what went. The last group is never
// removed: false while the list holds fewer than two.
bool removeGroup(QList<AppGroup>& groups, const QUuid& id, QList<AppGroup>& removed);
// Puts `item` where `before` stands in the group `in`.
bool moveItem(QList<AppGroup>& groups, const QString& item, const QString& before, const QUuid& in);
// Takes `item` out of the group `from` and appends it to the group `to`. Nothing happens
// when `to` does not exist: taking it out of the source would lose it.
bool moveItemToGroup(QList<AppGroup>& groups, const QString& item, const QUuid& from,
                     const QUuid& to);
// Puts the group `group` where the group `before` stands.
bool moveGroup(QList<AppGroup>& groups, const QUuid& group, const QUuid& before);

} // namespace GroupListEdits
