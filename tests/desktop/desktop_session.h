#pragma once

#include <QByteArrayList>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRect>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <vector>
#include <xcb/xcb.h>

class WaylandCompositor;

// A private X desktop for tests and benchmarks: Xvfb with openbox as the window manager, trayer
// as an XEmbed tray at the bottom right and xcompmgr for translucency; or the XWayland of a
// desktop's own Wayland compositor (Mutter, KWin), which has no tray. Plus the queries and input
// the tests need. Everything it starts ends with it.
class DesktopSession {
public:
    static constexpr int width = 1440;
    static constexpr int height = 900;

    DesktopSession();
    ~DesktopSession();
    DesktopSession(const DesktopSession&) = delete;
    DesktopSession& operator=(const DesktopSession&) = delete;

    struct Pieces {
        bool tray = true;
        bool compositor = true;
    };

    enum class Kind { Openbox, Mutter, KWin };
    // "openbox", "mutter" or "kwin"; none for another name.
    static std::optional<Kind> kindNamed(const QString& name);
    static QString nameOf(Kind kind);

    // Starts the desktop; false with the reason in `error` when a piece is missing or hangs.
    bool start(QString* error) { return start(error, Pieces()); }
    bool start(QString* error, Pieces pieces);
    // Starts a Wayland compositor headless and joins its XWayland; `sessionServices` lets its
    // private bus start the desktop's D-Bus services (the portal).
    bool startWayland(QString* error, Kind kind, bool sessionServices = false);
    bool start(QString* error, Kind kind)
    {
        return kind == Kind::Openbox ? start(error) : startWayland(error, kind);
    }
    Kind kind() const { return m_kind; }
    bool isWayland() const { return m_kind != Kind::Openbox; }
    bool hasTray() const { return m_hasTray; }
    QString display() const { return m_display; }
    xcb_connection_t* connection() const { return m_connection; }
    xcb_window_t root() const { return m_root; }

    // The test process's environment with DISPLAY set and Qt told to use it; inside a Wayland
    // compositor, its display, authority, bus and desktop name, and Qt left to choose.
    QProcessEnvironment environment() const;
    // The whole screen as a PNG. XWayland cannot read its root window, so there it is the
    // screen's X windows drawn in their places over a plain background.
    bool screenshot(const QString& path) const;
    // Runs xdotool with `arguments` and waits for it.
    bool xdotool(const QStringList& arguments) const;
    // Moves the pointer to `at` on the screen and clicks `button` there; false for no place.
    bool click(QPoint at, int button = 1) const;
    // Presses and releases `keys` ("ctrl+alt+space") through XTest, at once and in order.
    bool pressKeys(const QString& keys) const;

    // Windows whose title is `title`, anywhere in the tree.
    std::vector<xcb_window_t> windowsTitled(const QString& title) const;
    // The top-level client of this title that the window manager mapped, or none.
    xcb_window_t clientTitled(const QString& title) const;
    // The first managed window of that title that is no dialog: a program's main window.
    xcb_window_t mainWindowTitled(const QString& title) const;
    // A window of this title embedded in the tray, or none.
    xcb_window_t trayIconTitled(const QString& title) const;

    // Mapped and shown; false for no window at all.
    bool isViewable(xcb_window_t window) const;
    QRect rootGeometry(xcb_window_t window) const;
    int depth(xcb_window_t window) const;
    QByteArrayList atomsOf(xcb_window_t window, const char* property) const;
    std::optional<std::uint32_t> cardinalOf(xcb_window_t window, const char* property) const;
    QString titleOf(xcb_window_t window) const;
    QByteArrayList classOf(xcb_window_t window) const;
    xcb_window_t parentOf(xcb_window_t window) const;
    // The window's ancestor just below the root: the window manager's frame for a managed one.
    xcb_window_t topLevelOf(xcb_window_t window) const;
    // Managed by the window manager, which lists it among its clients.
    bool isManaged(xcb_window_t window) const;
    xcb_window_t trayOwner() const;
    xcb_window_t activeWindow() const;

    // A plain mapped window of ours to click on; closed with the session.
    xcb_window_t makeWindow(const QRect& geometry, const QString& title);

    // Polls `condition` until it holds or `timeoutMs` pass.
    static bool waitFor(const std::function<bool()>& condition, int timeoutMs);

private:
    xcb_atom_t atom(const char* name) const;
    bool startHelper(const QString& program, const QStringList& arguments, QString* error);
    bool connectDisplay(const QString& xauthority, QString* error);

    QString m_display;
    xcb_connection_t* m_connection = nullptr;
    xcb_window_t m_root = 0;
    std::vector<std::unique_ptr<QProcess>> m_processes; // Xvfb first
    std::unique_ptr<WaylandCompositor> m_compositor;
    Kind m_kind = Kind::Openbox;
    bool m_hasTray = false;
};
