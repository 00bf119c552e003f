#pragma once

#include "panel/panel_model.h"

#include <QString>

// displayName() and its search key, remembered per path, so that a keystroke over thousands of
// items costs a hash lookup per item instead of a desktop lookup. The name of a plain file or
// folder follows from its path alone. A desktop entry's name comes from its content, so its
// entry is checked again (device, inode, size and times) whenever its folder reports a change
// through inotify, and on every lookup where no watch can be set or the entry is a link.
namespace DisplayNames {

const PanelModel::SearchEntry& entry(const QString& path);
const QString& name(const QString& path);

// Takes in the changes the watched folders have reported so far; the panel calls it before a
// search and before drawing, so that a change made just before is never missed.
void sync();

} // namespace DisplayNames
