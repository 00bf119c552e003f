#pragma once

// Where start-up time goes: with TRAYMATE_TIMELINE=1 in the environment, each mark prints the
// milliseconds since the first mark (taken first thing in main) to stderr. Off, a mark costs
// one branch.
namespace StartupTimeline {

void mark(const char* what);

} // namespace StartupTimeline
