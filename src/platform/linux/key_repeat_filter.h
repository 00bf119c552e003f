#pragma once

#include <cstdint>

// Tells a physical key press from the repeats of a held key. X repeats a held key either as
// more presses (detectable auto-repeat, which Qt turns on) or as a release followed by a press
// with the same time stamp; a portal may send Activated again while the key is down. Times
// are the desktop's milliseconds.
class KeyRepeatFilter {
public:
    // `releasesReported`: every release is reported (an X grab). Otherwise a held key counts as
    // held only once a first release has come, so a source that never reports releases still
    // toggles at every press.
    explicit KeyRepeatFilter(bool releasesReported)
        : m_releasesReported(releasesReported)
    {
    }

    // True for a new press; false for a repeat of the key already held.
    bool press(std::uint64_t time);
    void release(std::uint64_t time);

private:
    // A key seen held this long without a repeat lost its release (a grab broken by another
    // client): the next press is a new one.
    static constexpr std::uint64_t staleHoldMs = 2000;

    bool m_releasesReported;
    bool m_held = false;
    bool m_released = false;
    std::uint64_t m_lastPress = 0;
    std::uint64_t m_lastRelease = 0;
};
