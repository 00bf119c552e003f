#include "model/safe_file.h"
#include "platform/desktop.h"
#include "platform/linux/activation.h"
#include "platform/linux/portal_global_shortcut.h"
#include "platform/linux/shortcut_choice.h"
#include "platform/linux/tray_host_watch.h"
#include "platform/linux/url_scheme.h"
#include "platform/linux/x11_connection.h"
#include "platform/linux/x11_global_shortcut.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QWindow>
#include <cstdlib>
#include <fontconfig/fontconfig.h>
#include <vector>

namespace {

// Used where no global key can be grabbed; `traymate --toggle` is the way in there.
class NoGlobalShortcut final : public GlobalShortcut {
public:
    bool grab(std::uint32_t, std::uint32_t) override { return false; }
    void release() override {}
};

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Writes only what differs, so a start with everything in place touches no file.
void writeIfChanged(const QString& path, const QByteArray& bytes)
{
    if (QFile::exists(path) && readFile(path) == bytes)
        return;
    QDir().mkpath(QFileInfo(path).absolutePath());
    writeFileAtomically(path, bytes);
}

// Decided once: asking the portal costs a D-Bus round trip, and the session does not change.
const ShortcutChoice::Choice& shortcutChoice()
{
    static const ShortcutChoice::Choice choice = ShortcutChoice::choose(
        ShortcutChoice::currentSession(), [] { return PortalGlobalShortcut::isOffered(); });
    return choice;
}

// What every showing of the panel tells the server or asks it, interned once and in one round
// trip: an atom names the same thing for as long as the server runs, and the panel opens often.
struct PanelAtoms {
    xcb_atom_t state, above, sticky, skipTaskbar, skipPager, desktop, compositor;
};

const PanelAtoms& panelAtoms(xcb_connection_t* connection)
{
    static const PanelAtoms atoms = [connection] {
        const std::vector<xcb_atom_t> found =
            X11::atoms(connection, {"_NET_WM_STATE", "_NET_WM_STATE_ABOVE", "_NET_WM_STATE_STICKY",
                                    "_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER",
                                    "_NET_WM_DESKTOP", "_NET_WM_CM_S0"});
        return PanelAtoms{found[0], found[1], found[2], found[3], found[4], found[5], found[6]};
    }();
    return atoms;
}

} // namespace

void Desktop::chooseDisplayServer()
{
    // Placing our own windows and grabbing a key both need X11: on a Wayland session run
    // through XWayland unless the user chose a platform.
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || qEnvironmentVariableIsEmpty("DISPLAY"))
        return;
    const bool wayland = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
                         qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland");
    if (wayland)
        qputenv("QT_QPA_PLATFORM", "xcb");
}

std::unique_ptr<GlobalShortcut> Desktop::makeGlobalShortcut()
{
    switch (shortcutChoice().service) {
    case ShortcutChoice::Service::Portal: return std::make_unique<PortalGlobalShortcut>();
    case ShortcutChoice::Service::X11: return std::make_unique<X11GlobalShortcut>();
    case ShortcutChoice::Service::None: break;
    }
    return std::make_unique<NoGlobalShortcut>();
}

bool Desktop::canRegisterGlobalShortcut()
{
    return shortcutChoice().desktopWide;
}

void Desktop::preparePanelWindow(QWindow* window)
{
    xcb_connection_t* connection = X11::connection();
    if (!connection || !window)
        return;
    const auto id = xcb_window_t(window->winId());

    // Set before every mapping: the window manager drops _NET_WM_STATE when a window is
    // withdrawn, and Qt merges its own states into what it finds there.
    const PanelAtoms& atoms = panelAtoms(connection);
    const std::vector<xcb_atom_t> states = {atoms.above, atoms.sticky, atoms.skipTaskbar,
                                            atoms.skipPager};
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, atoms.state, XCB_ATOM_ATOM, 32,
                        std::uint32_t(states.size()), states.data());
    const std::uint32_t allDesktops = 0xffffffff;
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, atoms.desktop, XCB_ATOM_CARDINAL, 32,
                        1, &allDesktops);
    xcb_flush(connection);
}

Desktop::CompositorQuestion::CompositorQuestion()
{
    // Without X there is nothing to ask: Wayland compositors always blend, and offscreen has
    // nothing to show.
    if (xcb_connection_t* connection = X11::connection())
        m_request = xcb_get_selection_owner(connection, panelAtoms(connection).compositor).sequence;
}

Desktop::CompositorQuestion::~CompositorQuestion()
{
    if (xcb_connection_t* connection = X11::connection(); connection && m_request)
        xcb_discard_reply(connection, m_request);
}

bool Desktop::CompositorQuestion::answer()
{
    xcb_connection_t* connection = X11::connection();
    if (!connection || !m_request)
        return m_answer;
    xcb_get_selection_owner_reply_t* reply = xcb_get_selection_owner_reply(
        connection, xcb_get_selection_owner_cookie_t{m_request}, nullptr);
    m_request = 0;
    m_answer = reply && reply->owner != XCB_WINDOW_NONE;
    std::free(reply);
    return m_answer;
}

std::jthread Desktop::loadFontsAhead()
{
    // Qt's font database reads the configuration fontconfig builds at its first use, parsing
    // the XML configuration and mapping the caches: milliseconds of the first panel otherwise.
    // fontconfig makes the configuration current atomically, so Qt asking for it meanwhile is
    // safe (it builds one of its own and one of the two is dropped).
    return std::jthread([] { FcInit(); });
}

void Desktop::registerUrlScheme(const QString& program)
{
    const QString applications =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
        QStringLiteral("/applications");
    writeIfChanged(applications + QLatin1Char('/') + UrlScheme::entryName,
                   UrlScheme::desktopEntry(program).toUtf8());

    const QString mimeapps =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
        QStringLiteral("/mimeapps.list");
    // The file holds every other program's associations too: one that is there but cannot be
    // read is left as it is rather than replaced by our line alone.
    const QFileInfo info(mimeapps);
    QByteArray current;
    if (info.exists() || info.isSymLink()) {
        QFile file(mimeapps);
        if (!info.isFile() || !file.open(QIODevice::ReadOnly))
            return;
        current = file.readAll();
        if (file.error() != QFileDevice::NoError)
            return;
    }
    writeIfChanged(mimeapps, UrlScheme::withDefaultHandler(current));
}

std::unique_ptr<QObject> Desktop::whenTrayReady(std::function<void()> ready)
{
    return std::make_unique<TrayHostWatch>(std::move(ready));
}

QString Desktop::startupToken()
{
    return Activation::startupToken();
}

void Desktop::prepareActivation(QWindow* window, const QString& token)
{
    Activation::prepare(window, token);
}

void Desktop::completeActivation(QWindow* window, const QString& token)
{
    Activation::complete(window, token);
}
