#include "platform/linux/shortcut_choice.h"

#include "platform/linux/x11_connection.h"

ShortcutChoice::Choice ShortcutChoice::choose(const Session& session,
                                              const std::function<bool()>& portalOffers)
{
    const auto x11Choice = [&session]() -> Choice {
        if (!session.x11)
            return {};
        return {Service::X11, !session.wayland};
    };
    if (session.override == QLatin1String("x11"))
        return x11Choice();
    const bool wantPortal = session.override == QLatin1String("portal") || session.wayland;
    if (wantPortal && portalOffers())
        return {Service::Portal, true};
    if (session.override == QLatin1String("portal"))
        return {};
    return x11Choice();
}

ShortcutChoice::Session ShortcutChoice::currentSession()
{
    Session session;
    session.override = qEnvironmentVariable("TRAYMATE_HOTKEY").trimmed().toLower();
    session.wayland = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
                      qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland");
    session.x11 = X11::connection() != nullptr;
    return session;
}
