#include "app/startup_timeline.h"

#include <QElapsedTimer>
#include <cstdio>
#include <cstdlib>

namespace {

struct Timeline {
    bool enabled = std::getenv("TRAYMATE_TIMELINE") != nullptr;
    QElapsedTimer clock;

    Timeline() { clock.start(); }
};

} // namespace

void StartupTimeline::mark(const char* what)
{
    // Read-only after its first use; the clock starts at the first mark.
    static const Timeline timeline;
    if (timeline.enabled)
        std::fprintf(stderr, "traymate timeline %8.2f ms  %s\n",
                     double(timeline.clock.nsecsElapsed()) / 1e6, what);
}
