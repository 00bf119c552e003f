#pragma once

#include "platform/desktop.h"
#include "platform/linux/key_repeat_filter.h"

#include <QAbstractNativeEventFilter>
#include <xcb/xcb.h>

// A passive key grab on the root window. The combination is grabbed once for every state of
// Caps Lock and Num Lock, and the press is caught in a native event filter that lets every
// other key event through.
class X11GlobalShortcut final : public GlobalShortcut, private QAbstractNativeEventFilter {
public:
    X11GlobalShortcut();
    ~X11GlobalShortcut() override;

    bool grab(std::uint32_t key, std::uint32_t mods) override;
    void release() override;

private:
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;
    std::uint16_t numLockMask(xcb_connection_t* connection, xcb_keycode_t numLockKey) const;

    xcb_keycode_t m_keycode = 0;
    std::uint16_t m_modifiers = 0;
    std::uint16_t m_numLock = 0;
    bool m_filterInstalled = false;
    KeyRepeatFilter m_repeats;
};
