#pragma once

#include "platform/pinned_entries.h"

#include <memory>

// One factory per Linux desktop's panel or dock; each reads the user's default locations
// (its settings, the session bus). Null when that kind of panel is not available at all in
// this build; a panel that exists but refuses an edit says so through PinnedEntries instead.
std::unique_ptr<PinnedEntries> makeGnomeDashPinnedEntries();
std::unique_ptr<PinnedEntries> makePlankPinnedEntries();
std::unique_ptr<PinnedEntries> makeXfcePinnedEntries();
std::unique_ptr<PinnedEntries> makeMatePinnedEntries();
// KDE Plasma's task managers and Cinnamon's window list and panel launchers.
std::unique_ptr<PinnedEntries> makePlasmaPinnedEntries();
std::unique_ptr<PinnedEntries> makeCinnamonPinnedEntries();
