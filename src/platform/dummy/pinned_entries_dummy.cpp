#include "platform/pinned_entries.h"

// No panel to pin to: the program keeps its own list.
std::unique_ptr<PinnedEntries> makeDesktopPinnedEntries()
{
    return nullptr;
}
