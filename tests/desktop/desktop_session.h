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

// A private X desktop for tests and benchmarks: Xvfb with openbox as the window manager, trayer
// as an XEmbed tray at the bottom right and xcompmgr for translucency, plus the queries and
// input the tests need. Everything it starts ends with it.
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

    // Starts the desktop; false with the reason in `error` when a piece is missing or hangs.
    bool start(QString* error) { return start(error, Pieces()); }
    bool start(QString* error, Pieces pieces);
    QString display() const { return m_display; }
    xcb_connection_t* connection() const { return m_connection; }
    xcb_window_t root() const { return m_root; }

    // The test process's environment with DISPLAY set and Qt told to use it.
    QProcessEnvironment environment() const;
    // Runs xdotool with `arguments` and waits for it.
    bool xdotool(const QStringList& arguments) const;
    // Presses and releases `keys` ("ctrl+alt+space") through XTest, at once and in order.
    bool pressKeys(const QString& keys) const;

    // Windows whose title is `title`, anywhere in the tree.
    std::vector<xcb_window_t> windowsTitled(const QString& title) const;
    // The top-level client of this title that the window manager mapped, or none.
    xcb_window_t clientTitled(const QString& title) const;
    // A window of this title embedded in the tray, or none.
    xcb_window_t trayIconTitled(const QString& title) const;

    bool isViewable(xcb_window_t window) const;
    QRect rootGeometry(xcb_window_t window) const;
    int depth(xcb_window_t window) const;
    QByteArrayList atomsOf(xcb_window_t window, const char* property) const;
    std::optional<std::uint32_t> cardinalOf(xcb_window_t window, const char* property) const;
    QString titleOf(xcb_window_t window) const;
    QByteArrayList classOf(xcb_window_t window) const;
    xcb_window_t parentOf(xcb_window_t window) const;
    xcb_window_t trayOwner() const;
    xcb_window_t activeWindow() const;

    // A plain mapped window of ours to click on; closed with the session.
    xcb_window_t makeWindow(const QRect& geometry, const QString& title);

    // Polls `condition` until it holds or `timeoutMs` pass.
    static bool waitFor(const std::function<bool()>& condition, int timeoutMs);

private:
    xcb_atom_t atom(const char* name) const;
    bool startHelper(const QString& program, const QStringList& arguments, QString* error);

    QString m_display;
    xcb_connection_t* m_connection = nullptr;
    xcb_window_t m_root = 0;
    std::vector<std::unique_ptr<QProcess>> m_processes; // Xvfb first
};
