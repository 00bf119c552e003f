#include "platform/linux/desktop_docks.h"

#include "platform/linux/cinnamon_pinned_entries.h"
#include "platform/linux/gnome_dash_entries.h"
#include "platform/linux/mate_panel_entries.h"
#include "platform/linux/plank_entries.h"
#include "platform/linux/plasma_pinned_entries.h"
#include "platform/linux/xfce_panel_entries.h"

std::unique_ptr<PinnedEntries> makeGnomeDashPinnedEntries()
{
    return std::make_unique<GnomeDashEntries>();
}

std::unique_ptr<PinnedEntries> makePlankPinnedEntries()
{
    return std::make_unique<PlankEntries>();
}

std::unique_ptr<PinnedEntries> makeXfcePinnedEntries()
{
    return std::make_unique<XfcePanelEntries>();
}

std::unique_ptr<PinnedEntries> makeMatePinnedEntries()
{
    return std::make_unique<MatePanelEntries>();
}

std::unique_ptr<PinnedEntries> makePlasmaPinnedEntries()
{
    return std::make_unique<PlasmaPinnedEntries>();
}

std::unique_ptr<PinnedEntries> makeCinnamonPinnedEntries()
{
    return std::make_unique<CinnamonPinnedEntries>();
}
