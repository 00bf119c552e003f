#pragma once

#include <chrono>

// Process-wide state of the one panel window.
namespace PanelState {

using Clock = std::chrono::steady_clock;

// True while a modal prompt or chooser started from the panel runs: the panel then neither
// hides on losing focus nor auto-hides.
inline bool keepOpen = false;

// When the panel was last hidden; the distant past until then.
inline Clock::time_point lastHidden = Clock::time_point::min();

// Sets keepOpen for as long as it lives, and clears it on every way out.
class KeepOpen {
public:
    KeepOpen() { keepOpen = true; }
    ~KeepOpen() { keepOpen = false; }
    KeepOpen(const KeepOpen&) = delete;
    KeepOpen& operator=(const KeepOpen&) = delete;
};

} // namespace PanelState
