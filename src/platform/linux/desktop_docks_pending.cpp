// Stand-ins for KDE Plasma and Cinnamon until their panels come in: the choice falls back to
// the stand-in file for them. This file goes when plasma_*.cpp and cinnamon_*.cpp define them.
#include "platform/linux/desktop_docks.h"

std::unique_ptr<PinnedEntries> makePlasmaPinnedEntries()
{
    return nullptr;
}

std::unique_ptr<PinnedEntries> makeCinnamonPinnedEntries()
{
    return nullptr;
}
