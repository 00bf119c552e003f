#pragma once

#include "platform/pinned_entries.h"

#include <memory>

// The pinned launchers of each Linux desktop's panel, on the session bus and in the user's
// folders.
std::unique_ptr<PinnedEntries> makePlasmaPinnedEntries();
std::unique_ptr<PinnedEntries> makeCinnamonPinnedEntries();
