#pragma once

#include "model/app_group.h"
#include "panel/panel_model.h"

#include <QSize>
#include <QStringList>
#include <optional>

class Store;

// What the panel shows, read afresh from the store on every call.
namespace PanelContents {

std::optional<AppGroup> current(const Store& store);
bool searching(const Store& store);
QStringList results(const Store& store);
GridColumns compactColumns(const Store& store);
QSize panelSize(const Store& store);

} // namespace PanelContents
