#include "platform/linux/tray_readiness.h"

bool TrayReadiness::ready(const Trays& trays, bool atStart,
                          std::optional<std::chrono::milliseconds> xembedSeenFor)
{
    if (trays.hostRegistered)
        return true;
    if (!trays.xembedTray)
        return false;
    if (atStart && !trays.watcherRunning)
        return true;
    return xembedSeenFor && *xembedSeenFor >= xembedGrace;
}
