#include "platform/linux/key_repeat_filter.h"

bool KeyRepeatFilter::press(std::uint64_t time)
{
    const bool stillHeld = m_held && time >= m_lastPress && time - m_lastPress < staleHoldMs;
    // A repeat's release comes some time after the press it repeats; a tap typed by a program
    // may press, release and press again within one millisecond.
    const bool releaseOfRepeat =
        !m_held && m_released && time == m_lastRelease && m_lastRelease != m_lastPress;
    m_held = true;
    m_lastPress = time;
    return !stillHeld && !releaseOfRepeat;
}

void KeyRepeatFilter::release(std::uint64_t time)
{
    m_held = false;
    m_released = true;
    m_lastRelease = time;
}
