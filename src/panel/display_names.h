#pragma once

#include "panel/panel_model.h"

#include <QString>

// displayName() and its search key, remembered per path for as long as the file's status
// (device, inode, size, modification and change times, or its absence) stays the same, so a
// keystroke over thousands of items needs one stat() per item instead of a desktop lookup.
namespace DisplayNames {

const PanelModel::SearchEntry& entry(const QString& path);
const QString& name(const QString& path);

} // namespace DisplayNames
