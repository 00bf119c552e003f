#pragma once

#include <QString>
#include <functional>

// Which service registers the global hot key in this session.
namespace ShortcutChoice {

enum class Service { X11, Portal, None };

struct Session {
    QString override;     // TRAYMATE_HOTKEY: "portal", "x11" or empty
    bool wayland = false; // WAYLAND_DISPLAY set or XDG_SESSION_TYPE=wayland
    bool x11 = false;     // an X11 connection exists (also XWayland)
};

struct Choice {
    Service service = Service::None;
    // Whether the key works whatever window has the focus. An X11 grab on Wayland only fires
    // while an XWayland window is focused, so there the user is told about `traymate --toggle`.
    bool desktopWide = false;
};

// The portal on Wayland when it offers global shortcuts, else the X11 grab; the override
// decides when set. `portalOffers` is asked only when the answer matters: it costs a D-Bus call.
Choice choose(const Session& session, const std::function<bool()>& portalOffers);

// The session as the environment and the X11 connection describe it.
Session currentSession();

} // namespace ShortcutChoice
