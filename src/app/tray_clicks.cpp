#include "app/tray_clicks.h"

TrayClicks::TrayClicks(std::chrono::milliseconds doubleClickInterval)
    : m_interval(doubleClickInterval)
{
}

bool TrayClicks::toggles(QSystemTrayIcon::ActivationReason reason, Clock::time_point now)
{
    switch (reason) {
    case QSystemTrayIcon::Trigger: m_lastTrigger = now; return true;
    case QSystemTrayIcon::DoubleClick:
        // The second half of a double click whose first half already toggled.
        return !m_lastTrigger || now - *m_lastTrigger > m_interval;
    default: return false;
    }
}
