// Stand-ins for the desktops whose panels are not built yet: the choice falls back to the
// stand-in file for them. Each goes as its real factory comes in.
#include "platform/linux/desktop_docks.h"

std::unique_ptr<PinnedEntries> makeMatePinnedEntries()
{
    return nullptr;
}

std::unique_ptr<PinnedEntries> makePlasmaPinnedEntries()
{
    return nullptr;
}

std::unique_ptr<PinnedEntries> makeCinnamonPinnedEntries()
{
    return nullptr;
}
