#include "platform/linux/dock_choice.h"
#include "platform/pinned_entries.h"

std::unique_ptr<PinnedEntries> makeDesktopPinnedEntries()
{
    return makePinnedEntries(chooseDock(observeDockSurroundings()));
}
