// The baseline of the hot-key path for start_vs_bare: a raw X key grab of ctrl+alt+space that
// maps (and at the next press unmaps) one window. Prints "ready" once the grab holds.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

int main()
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

    const xcb_window_t window = xcb_generate_id(connection);
    const std::uint32_t values[] = {screen->white_pixel};
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 400, 440, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, XCB_CW_BACK_PIXEL,
                      values);
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
