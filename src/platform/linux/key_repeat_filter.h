#pragma once

#include <cstdint>

// Tells a physical key press of a grabbed key from the repeats of a held one. X repeats a held
// key either as more presses (detectable auto-repeat) or as a release followed by a press with
// the same time stamp. Times are the X server's milliseconds.
class KeyRepeatFilter {
public:
    // True for a new press; false for a repeat of the key already held.
    bool press(std::uint64_t time);
    void release(std::uint64_t time);

private:
    // A key seen held this long without a repeat lost its release (a grab broken by another
    // client): the next press is a new one.
    static constexpr std::uint64_t staleHoldMs = 2000;

    bool m_held = false;
    bool m_released = false;
    std::uint64_t m_lastPress = 0;
    std::uint64_t m_lastRelease = 0;
};
