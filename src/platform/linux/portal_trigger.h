#pragma once

#include <QString>
#include <cstdint>

// The hot-key presets in the shortcut syntax the desktop portal takes as a preferred trigger.
namespace PortalTrigger {

// Modifiers joined by "+" with the xkb key name, for example "CTRL+ALT+space"; empty for a
// virtual key code no preset uses.
QString text(std::uint32_t virtualKey, std::uint32_t mods);

} // namespace PortalTrigger
