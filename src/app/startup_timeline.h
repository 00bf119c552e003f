#pragma once

class QWidget;

// Where start-up time goes: with TRAYMATE_TIMELINE=1 in the environment, each mark prints the
// milliseconds since the first mark (taken first thing in main) to stderr. Off, a mark costs
// one branch.
namespace StartupTimeline {

void mark(const char* what);
// Marks `what` once `window` has next been painted on screen: what the user sees, which comes
// after the display server has mapped the window and asked for its content.
void markAfterNextPaint(QWidget* window, const char* what);

} // namespace StartupTimeline
