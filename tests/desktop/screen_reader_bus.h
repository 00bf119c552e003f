#pragma once

#include "session_bus.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <memory>

// The accessibility bus a desktop session offers screen readers: at-spi-bus-launcher on a
// session bus, which starts the AT-SPI bus and its registry. Qt programs on that session bus
// then show their widgets there, and screen-reader scripts read them.
class ScreenReaderBus {
public:
    ScreenReaderBus();
    ~ScreenReaderBus();
    ScreenReaderBus(const ScreenReaderBus&) = delete;
    ScreenReaderBus& operator=(const ScreenReaderBus&) = delete;

    // Starts the launcher for the display of `environment` on a private session bus of its
    // own; false with the reason in `error` when a piece is missing or hangs.
    bool start(const QProcessEnvironment& environment, QString* error);
    // Starts it on the session bus `environment` names, a desktop's or a compositor's, which
    // has to outlive this.
    bool startOnSessionBus(const QProcessEnvironment& environment, QString* error);
    QString sessionAddress() const { return m_sessionAddress; }
    // Programs started with `environment` join the session bus and, Qt ones, show their
    // widgets on its accessibility bus, as if a screen reader had asked for them.
    void addTo(QProcessEnvironment& environment) const;

private:
    bool launcherAnswers() const;

    std::unique_ptr<SessionBus> m_ownBus; // declared before the launcher: ends after it
    QString m_sessionAddress;
    std::unique_ptr<QProcess> m_launcher;
};
