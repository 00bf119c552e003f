#pragma once

#include "session_bus.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>
#include <memory>

// A desktop's own Wayland compositor run headless with XWayland, as GNOME (Mutter) and KDE
// (KWin) users have it, on a private session bus and in its own runtime folder. It tells the
// X display and authority its XWayland serves; everything it starts ends with it.
class WaylandCompositor {
public:
    enum class Kind { Mutter, KWin };

    struct Options {
        // The bus can start the desktop's D-Bus services (the portal, kglobalaccel); without
        // this it starts none, as on a desktop where no portal offers global shortcuts.
        bool sessionServices = false;
    };

    WaylandCompositor();
    ~WaylandCompositor();
    WaylandCompositor(const WaylandCompositor&) = delete;
    WaylandCompositor& operator=(const WaylandCompositor&) = delete;

    // Starts the bus and the compositor and waits for its XWayland; false with the reason in
    // `error` when a piece is missing, refuses to run or hangs.
    bool start(Kind kind, int width, int height, Options options, QString* error);

    QString display() const { return m_display; }
    QString xauthority() const { return m_xauthority; }
    QString busAddress() const { return m_busAddress; }
    // The compositor's socket as an absolute path, so clients need not share its runtime folder.
    QString waylandSocket() const;
    Kind kind() const { return m_kind; }

    // What a program started inside this session sees: its display, bus and desktop name.
    void addTo(QProcessEnvironment& environment) const;

private:
    QString findDisplay() const;

    Kind m_kind = Kind::Mutter;
    QTemporaryDir m_folder; // runtime folder, bus configuration, the compositor's copy
    QString m_socketName;
    QString m_display;
    QString m_xauthority;
    QString m_busAddress;
    std::unique_ptr<SessionBus> m_bus; // declared before the compositor: ends after it
    std::unique_ptr<QProcess> m_compositor;
};
