#pragma once

#include "platform/linux/tray_readiness.h"

#include <QObject>
#include <QTimer>
#include <chrono>
#include <functional>
#include <optional>

// Looks at the session bus and the X server until a tray icon may be made (see TrayReadiness),
// then calls `ready` once.
class TrayHostWatch : public QObject {
    Q_OBJECT

public:
    explicit TrayHostWatch(std::function<void()> ready);

    // What the desktop offers now.
    static TrayReadiness::Trays look();

private Q_SLOTS:
    void check();

private:
    using Clock = std::chrono::steady_clock;

    std::function<void()> m_ready;
    QTimer m_poll;
    std::optional<Clock::time_point> m_xembedSince;
    int m_polls = 0;
    bool m_done = false;
};
