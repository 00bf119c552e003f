#pragma once

#include <QString>

// Kills a program that moves, renames and imports at random moments, again and again, and
// counts what a kill lost. Used by the soak benchmark (many kills) and by a short test.
namespace Soak {

struct Figures {
    int kills = 0;
    int firstStarts = 0;
    int lostGroups = 0;  // groups on disk after an earlier kill, missing after a later one
    int lostItems = 0;   // Dock applications no group holds after the first import
    int undecodable = 0; // kills after which the groups file could not be read
    int leftovers = 0;   // files beside the groups file after the next start
};

// Runs `kills` kills of `worker` (tests/model/soak_worker.cpp) over folders under `root`,
// starting afresh every `killsPerStart` kills so that first starts are cut short too.
Figures run(const QString& worker, const QString& root, int kills, int killsPerStart, quint32 seed);

} // namespace Soak
