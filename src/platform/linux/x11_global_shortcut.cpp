#include "platform/linux/x11_global_shortcut.h"

#include "platform/linux/x11_connection.h"
#include "platform/linux/x11_key_map.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <cstdlib>
#include <vector>
#include <xcb/xcb_keysyms.h>

namespace {
constexpr std::uint32_t keysymNumLock = 0xff7f;
constexpr std::uint16_t relevantModifiers = XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL |
                                            XCB_MOD_MASK_1 | XCB_MOD_MASK_2 | XCB_MOD_MASK_3 |
                                            XCB_MOD_MASK_4 | XCB_MOD_MASK_5;

xcb_keycode_t firstKeycode(xcb_key_symbols_t* symbols, std::uint32_t keysym)
{
    xcb_keycode_t* codes = xcb_key_symbols_get_keycode(symbols, keysym);
    if (!codes)
        return 0;
    const xcb_keycode_t code = codes[0] == XCB_NO_SYMBOL ? 0 : codes[0];
    std::free(codes);
    return code;
}
} // namespace

X11GlobalShortcut::X11GlobalShortcut() = default;

X11GlobalShortcut::~X11GlobalShortcut()
{
    release();
    if (m_filterInstalled && QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
}

std::uint16_t X11GlobalShortcut::numLockMask(xcb_connection_t* connection,
                                             xcb_keycode_t numLockKey) const
{
    if (numLockKey == 0)
        return 0;
    xcb_get_modifier_mapping_reply_t* mapping =
        xcb_get_modifier_mapping_reply(connection, xcb_get_modifier_mapping(connection), nullptr);
    if (!mapping)
        return 0;
    std::uint16_t mask = 0;
    const xcb_keycode_t* codes = xcb_get_modifier_mapping_keycodes(mapping);
    const int perModifier = mapping->keycodes_per_modifier;
    for (int modifier = 0; modifier < 8 && mask == 0; ++modifier) {
        for (int i = 0; i < perModifier; ++i) {
            if (codes[modifier * perModifier + i] == numLockKey) {
                mask = std::uint16_t(1u << modifier);
                break;
            }
        }
    }
    std::free(mapping);
    return mask;
}

bool X11GlobalShortcut::grab(std::uint32_t key, std::uint32_t mods)
{
    release();
    xcb_connection_t* connection = X11::connection();
    const std::optional<std::uint32_t> keysym = X11KeyMap::keysym(key);
    if (!connection || !keysym)
        return false;
    const xcb_window_t root = X11::rootWindow(connection);

    xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(connection);
    if (!symbols)
        return false;
    const xcb_keycode_t keycode = firstKeycode(symbols, *keysym);
    const xcb_keycode_t numLockKey = firstKeycode(symbols, keysymNumLock);
    xcb_key_symbols_free(symbols);
    if (keycode == 0)
        return false;

    const std::uint16_t modifiers = X11KeyMap::modifiers(mods);
    const std::uint16_t numLock = numLockMask(connection, numLockKey);
    const std::uint16_t locks[] = {0, XCB_MOD_MASK_LOCK, numLock,
                                   std::uint16_t(numLock | XCB_MOD_MASK_LOCK)};
    std::vector<xcb_void_cookie_t> cookies;
    for (const std::uint16_t lock : locks) {
        if (lock == numLock && numLock == 0 && !cookies.empty())
            break; // no Num Lock modifier: the first two grabs cover everything
        cookies.push_back(xcb_grab_key_checked(connection, 1, root, modifiers | lock, keycode,
                                               XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    }
    bool refused = false;
    for (const xcb_void_cookie_t cookie : cookies) {
        if (xcb_generic_error_t* error = xcb_request_check(connection, cookie)) {
            refused = true; // BadAccess: another client holds the combination
            std::free(error);
        }
    }

    m_keycode = keycode;
    m_modifiers = modifiers;
    m_numLock = numLock;
    m_repeats = KeyRepeatFilter(); // a new key starts released
    if (refused) {
        release();
        return false;
    }
    if (!m_filterInstalled) {
        QCoreApplication::instance()->installNativeEventFilter(this);
        m_filterInstalled = true;
    }
    return true;
}

void X11GlobalShortcut::release()
{
    if (m_keycode == 0)
        return;
    if (xcb_connection_t* connection = X11::connection()) {
        const xcb_window_t root = X11::rootWindow(connection);
        const std::uint16_t locks[] = {0, XCB_MOD_MASK_LOCK, m_numLock,
                                       std::uint16_t(m_numLock | XCB_MOD_MASK_LOCK)};
        for (const std::uint16_t lock : locks)
            xcb_ungrab_key(connection, m_keycode, root, m_modifiers | lock);
        xcb_flush(connection);
    }
    m_keycode = 0;
    m_modifiers = 0;
}

bool X11GlobalShortcut::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (m_keycode == 0 || eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    const int type = event->response_type & ~0x80;
    if (type == XCB_KEY_RELEASE) {
        const auto* release = static_cast<const xcb_key_release_event_t*>(message);
        if (release->detail == m_keycode)
            m_repeats.release(release->time);
        return false;
    }
    if (type != XCB_KEY_PRESS)
        return false;
    const auto* press = static_cast<const xcb_key_press_event_t*>(message);
    const std::uint16_t state = press->state & relevantModifiers & ~m_numLock;
    if (press->detail != m_keycode || state != m_modifiers)
        return false;
    // A held key repeats: one toggle per physical press.
    if (!m_repeats.press(press->time))
        return true;
    // Deliver after the filter returns, so the handler may show windows freely.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [this] {
            if (pressed)
                pressed();
        },
        Qt::QueuedConnection);
    return true;
}
