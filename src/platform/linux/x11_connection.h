#pragma once

#include <initializer_list>
#include <vector>
#include <xcb/xcb.h>

class QWindow;

// Qt's own X11 connection, when the program really runs on the xcb platform. Under any other
// platform (offscreen, wayland) the X11 interface may exist with a null connection: every X11
// call goes through these checks first.
namespace X11 {

xcb_connection_t* connection();
xcb_window_t rootWindow(xcb_connection_t* connection);
xcb_atom_t atom(xcb_connection_t* connection, const char* name);
// The atoms of `names`, in their order, asked for in one round trip; XCB_ATOM_NONE for any
// the server did not answer.
std::vector<xcb_atom_t> atoms(xcb_connection_t* connection,
                              std::initializer_list<const char*> names);

} // namespace X11
