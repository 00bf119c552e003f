#pragma once

#include <QSystemTrayIcon>
#include <chrono>
#include <optional>

// Which activations of the tray icon toggle the panel. An XEmbed tray sends Trigger at the
// first press of a double click and DoubleClick at the second; a host that sends only
// DoubleClick must not lose it, and a double click must not toggle twice.
class TrayClicks {
public:
    using Clock = std::chrono::steady_clock;

    explicit TrayClicks(std::chrono::milliseconds doubleClickInterval);

    bool toggles(QSystemTrayIcon::ActivationReason reason, Clock::time_point now);

private:
    std::chrono::milliseconds m_interval;
    std::optional<Clock::time_point> m_lastTrigger;
};
