#pragma once

#include "model/app_group.h"

#include <QByteArray>
#include <QList>
#include <optional>

// The groups file's JSON form: a compact array of {"id","name","apps","icon"} objects.
namespace GroupsFile {

// Writes the exact stored form: members in order, upper-case ids, "\/" for every slash,
// non-ASCII as plain UTF-8, "icon" only when present, no trailing newline.
QByteArray encode(const QList<AppGroup>& groups);

// Reads any standard JSON holding such an array, all or nothing. A group whose id an earlier
// group already has gets a fresh one.
std::optional<QList<AppGroup>> decode(const QByteArray& bytes);

} // namespace GroupsFile
