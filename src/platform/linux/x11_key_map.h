#pragma once

#include <cstdint>
#include <optional>

// The original virtual key codes and modifier masks of the hot-key presets, in X11 terms.
namespace X11KeyMap {

// The keysym of a virtual key code; none for codes no preset uses.
std::optional<std::uint32_t> keysym(std::uint32_t virtualKey);

// The X11 modifier mask (Shift, Control, Mod1 for Alt, Mod4 for Super) of a modifier mask.
std::uint16_t modifiers(std::uint32_t mods);

} // namespace X11KeyMap
