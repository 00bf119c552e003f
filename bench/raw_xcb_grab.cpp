// The baseline of the hot-key path for start_vs_bare: a raw X key grab of ctrl+alt+space that
// maps (and at the next press unmaps) one window. Prints "ready" once the grab holds.
// With --panel-like the window carries what the window manager reads from Traymate's panel when
// it maps it (32-bit visual, window type, states, decorations, transient leader, protocols,
// a 48 x 48 icon), so the two differ only in what the program does before its map request.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

namespace {

xcb_atom_t atom(xcb_connection_t* connection, const char* name)
{
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, std::uint16_t(std::strlen(name)), name),
        nullptr);
    const xcb_atom_t value = reply ? reply->atom : XCB_ATOM_NONE;
    std::free(reply);
    return value;
}

void setAtoms(xcb_connection_t* connection, xcb_window_t window, const char* property,
              std::vector<const char*> names)
{
    std::vector<xcb_atom_t> atoms;
    for (const char* name : names)
        atoms.push_back(atom(connection, name));
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, atom(connection, property),
                        XCB_ATOM_ATOM, 32, std::uint32_t(atoms.size()), atoms.data());
}

void setCardinals(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t property,
                  xcb_atom_t type, std::vector<std::uint32_t> values)
{
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, property, type, 32,
                        std::uint32_t(values.size()), values.data());
}

xcb_visualtype_t* argbVisual(xcb_screen_t* screen)
{
    for (auto depths = xcb_screen_allowed_depths_iterator(screen); depths.rem;
         xcb_depth_next(&depths)) {
        if (depths.data->depth != 32)
            continue;
        for (auto visuals = xcb_depth_visuals_iterator(depths.data); visuals.rem;
             xcb_visualtype_next(&visuals)) {
            if (visuals.data->_class == XCB_VISUAL_CLASS_TRUE_COLOR)
                return visuals.data;
        }
    }
    return nullptr;
}

// A window like the panel's, mapped by the same window manager paths.
xcb_window_t panelLikeWindow(xcb_connection_t* connection, xcb_screen_t* screen)
{
    const xcb_visualtype_t* visual = argbVisual(screen);
    if (!visual)
        return XCB_WINDOW_NONE;
    const xcb_colormap_t colormap = xcb_generate_id(connection);
    xcb_create_colormap(connection, XCB_COLORMAP_ALLOC_NONE, colormap, screen->root,
                        visual->visual_id);
    const xcb_window_t leader = xcb_generate_id(connection);
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, leader, screen->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
    const xcb_window_t window = xcb_generate_id(connection);
    const std::uint32_t values[] = {0, 0, colormap};
    xcb_create_window(connection, 32, window, screen->root, 520, 448, 400, 440, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, visual->visual_id,
                      XCB_CW_BACK_PIXEL | XCB_CW_BORDER_PIXEL | XCB_CW_COLORMAP, values);

    const xcb_atom_t cardinal = XCB_ATOM_CARDINAL;
    setAtoms(connection, window, "_NET_WM_WINDOW_TYPE",
             {"_NET_WM_WINDOW_TYPE_UTILITY", "_KDE_NET_WM_WINDOW_TYPE_OVERRIDE",
              "_NET_WM_WINDOW_TYPE_NORMAL"});
    setAtoms(connection, window, "_NET_WM_STATE",
             {"_NET_WM_STATE_ABOVE", "_NET_WM_STATE_STICKY", "_NET_WM_STATE_SKIP_TASKBAR",
              "_NET_WM_STATE_SKIP_PAGER"});
    setAtoms(connection, window, "WM_PROTOCOLS",
             {"WM_DELETE_WINDOW", "WM_TAKE_FOCUS", "_NET_WM_PING", "_NET_WM_SYNC_REQUEST"});
    setCardinals(connection, window, atom(connection, "_NET_WM_DESKTOP"), cardinal, {0xffffffff});
    const xcb_atom_t motif = atom(connection, "_MOTIF_WM_HINTS");
    setCardinals(connection, window, motif, motif, {2, 1, 0, 0, 0}); // no decorations
    setCardinals(connection, window, XCB_ATOM_WM_TRANSIENT_FOR, XCB_ATOM_WINDOW, {leader});
    setCardinals(connection, window, atom(connection, "WM_CLIENT_LEADER"), XCB_ATOM_WINDOW,
                 {leader});
    // Input, and the group leader.
    setCardinals(connection, window, XCB_ATOM_WM_HINTS, XCB_ATOM_WM_HINTS,
                 {1 | 64, 1, 0, 0, 0, 0, 0, 0, leader});
    // User-specified position and size, static gravity.
    setCardinals(connection, window, XCB_ATOM_WM_NORMAL_HINTS, XCB_ATOM_WM_SIZE_HINTS,
                 {1 | 2 | 512, 520, 448, 400, 440, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 10});
    const char wmClass[] = "raw_xcb_grab\0RawXcbGrab";
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_CLASS,
                        XCB_ATOM_STRING, 8, sizeof wmClass, wmClass);
    std::vector<std::uint32_t> icon = {48, 48};
    icon.resize(2 + 48 * 48, 0xff3070a0);
    setCardinals(connection, window, atom(connection, "_NET_WM_ICON"), cardinal, icon);
    return window;
}

} // namespace

int main(int argc, char** argv)
{
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection))
        return 1;
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;

    xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(connection);
    xcb_keycode_t* codes = xcb_key_symbols_get_keycode(symbols, 0x20 /* XK_space */);
    if (!codes || codes[0] == XCB_NO_SYMBOL)
        return 1;
    const xcb_keycode_t space = codes[0];
    std::free(codes);
    xcb_key_symbols_free(symbols);

    const std::uint16_t modifiers = XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1;
    xcb_generic_error_t* error = xcb_request_check(
        connection, xcb_grab_key_checked(connection, 1, screen->root, modifiers, space,
                                         XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    if (error) {
        std::free(error);
        return 1;
    }

    const bool panelLike = argc > 1 && std::strcmp(argv[1], "--panel-like") == 0;
    xcb_window_t window = XCB_WINDOW_NONE;
    if (panelLike) {
        window = panelLikeWindow(connection, screen);
        if (window == XCB_WINDOW_NONE)
            return 1;
    } else {
        window = xcb_generate_id(connection);
        const std::uint32_t values[] = {screen->white_pixel};
        xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 400, 440, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, XCB_CW_BACK_PIXEL,
                          values);
    }
    const char title[] = "RawGrabWindow";
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_NAME,
                        XCB_ATOM_STRING, 8, std::strlen(title), title);
    xcb_flush(connection);
    std::printf("ready\n");
    std::fflush(stdout);

    bool mapped = false;
    while (xcb_generic_event_t* event = xcb_wait_for_event(connection)) {
        if ((event->response_type & 0x7f) == XCB_KEY_PRESS) {
            mapped = !mapped;
            if (mapped)
                xcb_map_window(connection, window);
            else
                xcb_unmap_window(connection, window);
            xcb_flush(connection);
        }
        std::free(event);
    }
    xcb_disconnect(connection);
    return 0;
}
