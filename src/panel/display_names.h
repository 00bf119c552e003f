#pragma once

#include "panel/panel_model.h"

#include <QString>

// displayName() and its search key, remembered per path, so that a keystroke over thousands of
// items costs a hash lookup per item instead of a desktop lookup. The name of a plain file or
// folder follows from its path alone. A desktop entry's name comes from its content: an
// installed entry is read again when the desktop reports a change of the installed entries,
// any other entry is checked (device, inode, size and times) on every lookup, as is a link.
namespace DisplayNames {

const PanelModel::SearchEntry& entry(const QString& path);
const QString& name(const QString& path);

} // namespace DisplayNames
