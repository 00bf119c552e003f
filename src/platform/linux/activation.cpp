#include "platform/linux/activation.h"

#include "platform/linux/startup_notification.h"
#include "platform/linux/x11_connection.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QSysInfo>
#include <QWindow>
#include <cstdlib>
#include <cstring>
#include <optional>

namespace {

// The server's time now: the time stamp of a property change on a window of our own.
std::optional<std::uint32_t> serverTime(xcb_connection_t* connection)
{
    const xcb_window_t root = X11::rootWindow(connection);
    if (root == XCB_WINDOW_NONE)
        return std::nullopt;
    const xcb_window_t window = xcb_generate_id(connection);
    const std::uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, root, -1, -1, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK,
                      &events);
    xcb_change_property(connection, XCB_PROP_MODE_APPEND, window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING,
                        8, 0, nullptr);
    xcb_flush(connection);
    std::optional<std::uint32_t> time;
    while (xcb_generic_event_t* event = xcb_wait_for_event(connection)) {
        const bool found = (event->response_type & 0x7f) == XCB_PROPERTY_NOTIFY;
        if (found)
            time = reinterpret_cast<xcb_property_notify_event_t*>(event)->time;
        std::free(event);
        if (found)
            break;
    }
    xcb_destroy_window(connection, window);
    return time;
}

QString madeStartupId()
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") ||
        qEnvironmentVariable("QT_QPA_PLATFORM").startsWith(QLatin1String("wayland")))
        return QString();
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    std::optional<std::uint32_t> time;
    if (!xcb_connection_has_error(connection))
        time = serverTime(connection);
    xcb_disconnect(connection);
    return time ? StartupNotification::makeId(QCoreApplication::applicationPid(),
                                              QSysInfo::machineHostName(), *time)
                : QString();
}

// Interned once, in one round trip: every opening of the panel sets or clears its startup id.
struct StartupIdAtoms {
    xcb_atom_t startupId, utf8String;
};

const StartupIdAtoms& startupIdAtoms(xcb_connection_t* connection)
{
    static const StartupIdAtoms atoms = [connection] {
        const std::vector<xcb_atom_t> found =
            X11::atoms(connection, {"_NET_STARTUP_ID", "UTF8_STRING"});
        return StartupIdAtoms{found[0], found[1]};
    }();
    return atoms;
}

xcb_window_t windowId(QWindow* window)
{
    return window ? xcb_window_t(window->winId()) : xcb_window_t(XCB_WINDOW_NONE);
}

} // namespace

QString Activation::startupToken()
{
    for (const char* variable : {"XDG_ACTIVATION_TOKEN", "DESKTOP_STARTUP_ID"}) {
        const QString token = qEnvironmentVariable(variable);
        if (!token.isEmpty())
            return token;
    }
    return madeStartupId();
}

void Activation::prepare(QWindow* window, const QString& token)
{
    // Native Wayland: Qt hands the token from the environment to the next activation.
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        if (!token.isEmpty())
            qputenv("XDG_ACTIVATION_TOKEN", token.toUtf8());
        return;
    }
    xcb_connection_t* connection = X11::connection();
    const xcb_window_t id = windowId(window);
    if (!connection || id == XCB_WINDOW_NONE)
        return;
    const StartupIdAtoms& atoms = startupIdAtoms(connection);
    const xcb_atom_t property = atoms.startupId;
    if (token.isEmpty()) {
        // A window manager reads an old id's time as an old request.
        xcb_delete_property(connection, id, property);
    } else {
        const QByteArray bytes = token.toUtf8();
        xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, property, atoms.utf8String, 8,
                            std::uint32_t(bytes.size()), bytes.constData());
    }
    xcb_flush(connection);
}

void Activation::complete(QWindow* window, const QString& token)
{
    xcb_connection_t* connection = X11::connection();
    const xcb_window_t id = windowId(window);
    if (token.isEmpty() || !connection || id == XCB_WINDOW_NONE)
        return;
    const xcb_window_t root = X11::rootWindow(connection);
    const xcb_atom_t begin = X11::atom(connection, "_NET_STARTUP_INFO_BEGIN");
    const xcb_atom_t more = X11::atom(connection, "_NET_STARTUP_INFO");
    bool first = true;
    for (const QByteArray& piece :
         StartupNotification::pieces(StartupNotification::removeMessage(token))) {
        xcb_client_message_event_t message;
        std::memset(&message, 0, sizeof message);
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 8;
        message.window = id;
        message.type = first ? begin : more;
        std::memcpy(message.data.data8, piece.constData(), 20);
        xcb_send_event(connection, 0, root, XCB_EVENT_MASK_PROPERTY_CHANGE,
                       reinterpret_cast<const char*>(&message));
        first = false;
    }
    xcb_flush(connection);
}
