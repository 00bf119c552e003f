#include "panel/panel_contents.h"

#include "model/store.h"
#include "panel/display_names.h"

std::optional<AppGroup> PanelContents::current(const Store& store)
{
    return PanelModel::current(store.groups(), store.selected());
}

bool PanelContents::searching(const Store& store)
{
    return PanelModel::searching(store.query());
}

QStringList PanelContents::results(const Store& store)
{
    return PanelModel::results(store.groups(), store.query(), DisplayNames::entry);
}

GridColumns PanelContents::compactColumns(const Store& store)
{
    const std::optional<AppGroup> group = current(store);
    return PanelModel::compactColumns(group ? group->apps.size() : 0);
}

QSize PanelContents::panelSize(const Store& store)
{
    const std::optional<AppGroup> group = current(store);
    return PanelModel::panelSize(store.compact(), group ? group->apps.size() : 0);
}
