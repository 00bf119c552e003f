#include "platform/linux/x11_key_map.h"

#include <xcb/xproto.h>

namespace {
constexpr std::uint32_t commandKey = 0x100;
constexpr std::uint32_t shiftKey = 0x200;
constexpr std::uint32_t optionKey = 0x800;
constexpr std::uint32_t controlKey = 0x1000;

constexpr std::uint32_t keysymSpace = 0x20;
constexpr std::uint32_t keysymD = 0x64;
} // namespace

std::optional<std::uint32_t> X11KeyMap::keysym(std::uint32_t virtualKey)
{
    switch (virtualKey) {
    case 49: return keysymSpace;
    case 2: return keysymD;
    default: return std::nullopt;
    }
}

std::uint16_t X11KeyMap::modifiers(std::uint32_t mods)
{
    std::uint16_t mask = 0;
    if (mods & controlKey)
        mask |= XCB_MOD_MASK_CONTROL;
    if (mods & optionKey)
        mask |= XCB_MOD_MASK_1;
    if (mods & commandKey)
        mask |= XCB_MOD_MASK_4;
    if (mods & shiftKey)
        mask |= XCB_MOD_MASK_SHIFT;
    return mask;
}
