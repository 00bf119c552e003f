#pragma once

#include <chrono>
#include <optional>

// When the tray icon may be made. Qt chooses between StatusNotifierItem and XEmbed once per
// process, at the first icon, so an icon made before a StatusNotifierItem host registers stays
// an XEmbed icon for good: unseen on GNOME, a proxy on Plasma.
namespace TrayReadiness {

// How long an XEmbed tray may stand alone before the icon settles for it: a panel that is both
// (Xfce) may take the XEmbed selection a moment before its host registers.
constexpr std::chrono::milliseconds xembedGrace{3000};

struct Trays {
    bool hostRegistered = false; // a StatusNotifierItem host, through the watcher
    bool watcherRunning = false; // org.kde.StatusNotifierWatcher is on the session bus
    bool xembedTray = false;     // someone owns the XEmbed tray selection
};

// `xembedSeenFor`: how long the XEmbed tray has been seen, nothing when it is not there.
// `atStart`: the first look, when a desktop with only an XEmbed tray needs no waiting.
bool ready(const Trays& trays, bool atStart,
           std::optional<std::chrono::milliseconds> xembedSeenFor);

} // namespace TrayReadiness
