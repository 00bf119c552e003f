#include "desktop_session.h"

#include "wayland_compositor.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QThread>
#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <sys/prctl.h>
#include <xcb/xcb_keysyms.h>
#include <xcb/xtest.h>

namespace {

template <typename Reply> struct Freed {
    Reply* reply;
    explicit Freed(Reply* r)
        : reply(r)
    {
    }
    ~Freed() { std::free(reply); }
    Reply* operator->() const { return reply; }
    explicit operator bool() const { return reply != nullptr; }
};

// X11 keysyms of the key names the tests use.
std::uint32_t keysymOf(const QString& name)
{
    static const QHash<QString, std::uint32_t> named = {
        {"ctrl", 0xffe3}, {"alt", 0xffe9},    {"shift", 0xffe1},  {"super", 0xffeb},
        {"space", 0x20},  {"Escape", 0xff1b}, {"Return", 0xff0d},
    };
    if (named.contains(name))
        return named.value(name);
    return name.size() == 1 ? name.at(0).unicode() : 0;
}

// The helpers end with the test process, also when it crashes or a time limit kills it.
void endWithParent(QProcess& process)
{
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
}

// The first MIT-MAGIC-COOKIE-1 of an X authority file, as libXau writes it: a family, then
// address, display number, name and data, each counted by a big-endian 16-bit length.
QByteArray magicCookie(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    int at = 0;
    auto counted = [&](QByteArray* field) {
        if (at + 2 > bytes.size())
            return false;
        const int length = (std::uint8_t(bytes[at]) << 8) | std::uint8_t(bytes[at + 1]);
        at += 2;
        if (at + length > bytes.size())
            return false;
        *field = bytes.mid(at, length);
        at += length;
        return true;
    };
    while (at + 2 <= bytes.size()) {
        at += 2; // family
        QByteArray address, number, name, data;
        if (!counted(&address) || !counted(&number) || !counted(&name) || !counted(&data))
            return {};
        if (name == "MIT-MAGIC-COOKIE-1")
            return data;
    }
    return {};
}

} // namespace

std::optional<DesktopSession::Kind> DesktopSession::kindNamed(const QString& name)
{
    for (const Kind kind : {Kind::Openbox, Kind::Mutter, Kind::KWin})
        if (name == nameOf(kind))
            return kind;
    return std::nullopt;
}

QString DesktopSession::nameOf(Kind kind)
{
    switch (kind) {
    case Kind::Openbox: return QStringLiteral("openbox");
    case Kind::Mutter: return QStringLiteral("mutter");
    case Kind::KWin: return QStringLiteral("kwin");
    }
    return {};
}

DesktopSession::DesktopSession() = default;

DesktopSession::~DesktopSession()
{
    if (m_connection)
        xcb_disconnect(m_connection);
    m_compositor.reset();
    // The helpers first, the server last.
    for (auto it = m_processes.rbegin(); it != m_processes.rend(); ++it) {
        QProcess& process = **it;
        process.terminate();
        if (!process.waitForFinished(2000)) {
            process.kill();
            process.waitForFinished(2000);
        }
    }
}

QProcessEnvironment DesktopSession::environment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (m_compositor) {
        environment.remove("QT_QPA_PLATFORM");
        m_compositor->addTo(environment);
        return environment;
    }
    environment.insert("DISPLAY", m_display);
    environment.insert("QT_QPA_PLATFORM", "xcb");
    environment.remove("WAYLAND_DISPLAY");
    return environment;
}

bool DesktopSession::startHelper(const QString& program, const QStringList& arguments,
                                 QString* error)
{
    if (QStandardPaths::findExecutable(program).isEmpty()) {
        *error = program + " is not installed (scripts/install-deps installs it)";
        return false;
    }
    auto process = std::make_unique<QProcess>();
    endWithParent(*process);
    process->setProcessEnvironment(environment());
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->setStandardOutputFile(QProcess::nullDevice());
    process->start(program, arguments);
    if (!process->waitForStarted(5000)) {
        *error = program + " did not start";
        return false;
    }
    m_processes.push_back(std::move(process));
    return true;
}

bool DesktopSession::start(QString* error, Pieces pieces)
{
    if (QStandardPaths::findExecutable("Xvfb").isEmpty()) {
        *error = "Xvfb is not installed (scripts/install-deps installs it)";
        return false;
    }
    // The server picks a free display and tells us on its standard output.
    auto server = std::make_unique<QProcess>();
    endWithParent(*server);
    server->setProcessChannelMode(QProcess::SeparateChannels);
    server->setStandardErrorFile(QProcess::nullDevice());
    server->start("Xvfb", {"-displayfd", "1", "-screen", "0",
                           QStringLiteral("%1x%2x24").arg(width).arg(height), "-nolisten", "tcp",
                           "-noreset"});
    QElapsedTimer elapsed;
    elapsed.start();
    QByteArray number;
    while (!number.contains('\n') && elapsed.elapsed() < 10000) {
        server->waitForReadyRead(100);
        number += server->readAllStandardOutput();
        if (server->state() == QProcess::NotRunning)
            break;
    }
    if (!number.contains('\n')) {
        *error = "Xvfb did not start";
        return false;
    }
    m_display = ':' + QString::fromLatin1(number.trimmed());
    m_processes.push_back(std::move(server));
    if (!connectDisplay(QString(), error))
        return false;

    auto selectionOwned = [this](const char* name) {
        return [this, name] {
            Freed reply(xcb_get_selection_owner_reply(
                m_connection, xcb_get_selection_owner(m_connection, atom(name)), nullptr));
            return reply && reply->owner != XCB_WINDOW_NONE;
        };
    };
    if (!startHelper("openbox", {"--sm-disable"}, error))
        return false;
    if (!waitFor([this] { return cardinalOf(m_root, "_NET_SUPPORTING_WM_CHECK").has_value(); },
                 10000)) {
        *error = "openbox did not take the screen";
        return false;
    }
    if (pieces.tray && !startHelper("trayer",
                                    {"--edge", "bottom", "--align", "right", "--widthtype", "pixel",
                                     "--width", "120", "--heighttype", "pixel", "--height", "24",
                                     "--SetDockType", "true", "--SetPartialStrut", "true"},
                                    error))
        return false;
    if (pieces.tray && !waitFor(selectionOwned("_NET_SYSTEM_TRAY_S0"), 10000)) {
        *error = "trayer did not become the tray";
        return false;
    }
    m_hasTray = pieces.tray;
    if (pieces.compositor && !startHelper("xcompmgr", {}, error))
        return false;
    if (pieces.compositor && !waitFor(selectionOwned("_NET_WM_CM_S0"), 10000)) {
        *error = "xcompmgr did not start compositing";
        return false;
    }
    // The work area shrinks once openbox has seen the tray's strut.
    waitFor(
        [this] {
            const auto area = cardinalOf(m_root, "_NET_WORKAREA");
            return rootGeometry(m_root).isValid() && area;
        },
        2000);
    return true;
}

bool DesktopSession::connectDisplay(const QString& xauthority, QString* error)
{
    const QByteArray display = m_display.toLatin1();
    const QByteArray cookie = xauthority.isEmpty() ? QByteArray() : magicCookie(xauthority);
    if (!xauthority.isEmpty() && cookie.isEmpty()) {
        *error = "no cookie in " + xauthority;
        return false;
    }
    if (cookie.isEmpty()) {
        m_connection = xcb_connect(display.constData(), nullptr);
    } else {
        char method[] = "MIT-MAGIC-COOKIE-1";
        QByteArray data = cookie;
        xcb_auth_info_t authority{int(sizeof(method) - 1), method, int(data.size()), data.data()};
        m_connection =
            xcb_connect_to_display_with_auth_info(display.constData(), &authority, nullptr);
    }
    if (xcb_connection_has_error(m_connection)) {
        *error = "cannot connect to " + m_display;
        return false;
    }
    m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
    return true;
}

bool DesktopSession::startWayland(QString* error, Kind kind, bool sessionServices)
{
    if (kind == Kind::Openbox) {
        *error = "openbox is no Wayland compositor";
        return false;
    }
    m_kind = kind;
    m_compositor = std::make_unique<WaylandCompositor>();
    WaylandCompositor::Options options;
    options.sessionServices = sessionServices;
    if (!m_compositor->start(kind == Kind::Mutter ? WaylandCompositor::Kind::Mutter
                                                  : WaylandCompositor::Kind::KWin,
                             width, height, options, error))
        return false;
    m_display = m_compositor->display();
    // XWayland may still be setting up its listening socket when its lock file appears.
    QString failure;
    if (!waitFor(
            [&] {
                if (m_connection) {
                    xcb_disconnect(m_connection);
                    m_connection = nullptr;
                }
                return connectDisplay(m_compositor->xauthority(), &failure);
            },
            10000)) {
        *error = failure;
        return false;
    }
    if (!waitFor([this] { return cardinalOf(m_root, "_NET_SUPPORTING_WM_CHECK").has_value(); },
                 20000)) {
        *error = nameOf(kind) + " did not manage its XWayland's windows";
        return false;
    }
    return true;
}

bool DesktopSession::screenshot(const QString& path) const
{
    QStringList arguments;
    std::vector<std::unique_ptr<QTemporaryFile>> pieces;
    if (!m_compositor) {
        arguments = {"-window", "root", path};
    } else {
        // Bottom to top, as the tree lists the root's children.
        arguments = {"-size", QStringLiteral("%1x%2").arg(width).arg(height), "xc:#3c4650"};
        Freed tree(
            xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, m_root), nullptr));
        if (!tree)
            return false;
        const xcb_window_t* children = xcb_query_tree_children(tree.reply);
        for (int i = 0; i < xcb_query_tree_children_length(tree.reply); ++i) {
            const QRect geometry = rootGeometry(children[i]);
            if (!isViewable(children[i]) || geometry.width() < 4 || geometry.height() < 4)
                continue;
            auto piece =
                std::make_unique<QTemporaryFile>(QDir::tempPath() + "/traymate-window-XXXXXX.png");
            if (!piece->open())
                return false;
            QProcess import;
            import.setProcessEnvironment(environment());
            import.start("import", {"-window", QString::number(children[i]), piece->fileName()});
            if (!import.waitForFinished(10000) || import.exitCode() != 0)
                continue; // unmapped meanwhile
            arguments << piece->fileName() << "-geometry"
                      << QStringLiteral("+%1+%2").arg(geometry.x()).arg(geometry.y())
                      << "-composite";
            pieces.push_back(std::move(piece));
        }
        arguments << path;
    }
    QProcess process;
    process.setProcessEnvironment(environment());
    process.start(m_compositor ? "convert" : "import", arguments);
    return process.waitForFinished(20000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

bool DesktopSession::xdotool(const QStringList& arguments) const
{
    QProcess process;
    process.setProcessEnvironment(environment());
    process.start("xdotool", arguments);
    return process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

bool DesktopSession::click(QPoint at, int button) const
{
    if (at.x() < 0 || at.y() < 0)
        return false;
    return xdotool({"mousemove", QString::number(at.x()), QString::number(at.y()), "click",
                    QString::number(button)});
}

bool DesktopSession::pressKeys(const QString& keys) const
{
    xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(m_connection);
    std::vector<xcb_keycode_t> codes;
    for (const QString& name : keys.split('+')) {
        xcb_keycode_t* found = xcb_key_symbols_get_keycode(symbols, keysymOf(name));
        if (found && found[0] != XCB_NO_SYMBOL)
            codes.push_back(found[0]);
        std::free(found);
    }
    xcb_key_symbols_free(symbols);
    if (codes.size() != std::size_t(keys.split('+').size()))
        return false;
    for (const xcb_keycode_t code : codes)
        xcb_test_fake_input(m_connection, XCB_KEY_PRESS, code, XCB_CURRENT_TIME, m_root, 0, 0, 0);
    for (auto it = codes.rbegin(); it != codes.rend(); ++it)
        xcb_test_fake_input(m_connection, XCB_KEY_RELEASE, *it, XCB_CURRENT_TIME, m_root, 0, 0, 0);
    xcb_flush(m_connection);
    return true;
}

xcb_atom_t DesktopSession::atom(const char* name) const
{
    Freed reply(xcb_intern_atom_reply(
        m_connection, xcb_intern_atom(m_connection, 0, std::uint16_t(std::strlen(name)), name),
        nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

QString DesktopSession::titleOf(xcb_window_t window) const
{
    Freed reply(
        xcb_get_property_reply(m_connection,
                               xcb_get_property(m_connection, 0, window, atom("_NET_WM_NAME"),
                                                XCB_GET_PROPERTY_TYPE_ANY, 0, 1024),
                               nullptr));
    if (reply && xcb_get_property_value_length(reply.reply) > 0)
        return QString::fromUtf8(static_cast<const char*>(xcb_get_property_value(reply.reply)),
                                 xcb_get_property_value_length(reply.reply));
    Freed plain(xcb_get_property_reply(m_connection,
                                       xcb_get_property(m_connection, 0, window, XCB_ATOM_WM_NAME,
                                                        XCB_GET_PROPERTY_TYPE_ANY, 0, 1024),
                                       nullptr));
    if (plain && xcb_get_property_value_length(plain.reply) > 0)
        return QString::fromLatin1(static_cast<const char*>(xcb_get_property_value(plain.reply)),
                                   xcb_get_property_value_length(plain.reply));
    return {};
}

QByteArrayList DesktopSession::classOf(xcb_window_t window) const
{
    Freed reply(xcb_get_property_reply(
        m_connection,
        xcb_get_property(m_connection, 0, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 0, 256),
        nullptr));
    if (!reply)
        return {};
    QByteArray value(static_cast<const char*>(xcb_get_property_value(reply.reply)),
                     xcb_get_property_value_length(reply.reply));
    if (value.endsWith('\0'))
        value.chop(1);
    return value.split('\0');
}

std::vector<xcb_window_t> DesktopSession::windowsTitled(const QString& title) const
{
    std::vector<xcb_window_t> found;
    std::vector<xcb_window_t> pending{m_root};
    while (!pending.empty()) {
        const xcb_window_t window = pending.back();
        pending.pop_back();
        Freed tree(
            xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, window), nullptr));
        if (!tree)
            continue;
        const xcb_window_t* children = xcb_query_tree_children(tree.reply);
        for (int i = 0; i < xcb_query_tree_children_length(tree.reply); ++i) {
            pending.push_back(children[i]);
            if (titleOf(children[i]) == title)
                found.push_back(children[i]);
        }
    }
    return found;
}

xcb_window_t DesktopSession::parentOf(xcb_window_t window) const
{
    Freed tree(xcb_query_tree_reply(m_connection, xcb_query_tree(m_connection, window), nullptr));
    return tree ? tree->parent : xcb_window_t(XCB_WINDOW_NONE);
}

xcb_window_t DesktopSession::trayOwner() const
{
    Freed reply(xcb_get_selection_owner_reply(
        m_connection, xcb_get_selection_owner(m_connection, atom("_NET_SYSTEM_TRAY_S0")), nullptr));
    return reply ? reply->owner : xcb_window_t(XCB_WINDOW_NONE);
}

xcb_window_t DesktopSession::trayIconTitled(const QString& title) const
{
    for (const xcb_window_t window : windowsTitled(title)) {
        // Embedded: somewhere below one of trayer's windows.
        for (xcb_window_t up = parentOf(window); up != XCB_WINDOW_NONE && up != m_root;
             up = parentOf(up)) {
            if (classOf(up).contains("trayer"))
                return window;
        }
    }
    return XCB_WINDOW_NONE;
}

xcb_window_t DesktopSession::topLevelOf(xcb_window_t window) const
{
    for (xcb_window_t parent = parentOf(window); parent != XCB_WINDOW_NONE && parent != m_root;
         parent = parentOf(window))
        window = parent;
    return window;
}

bool DesktopSession::isManaged(xcb_window_t window) const
{
    // Listed by the window manager: Mutter frames no undecorated window, KWin frames twice, and
    // an embedded tray icon is reparented by the tray, so the tree tells nothing alike.
    Freed reply(
        xcb_get_property_reply(m_connection,
                               xcb_get_property(m_connection, 0, m_root, atom("_NET_CLIENT_LIST"),
                                                XCB_ATOM_WINDOW, 0, 1024),
                               nullptr));
    if (!reply)
        return false;
    const auto* clients = static_cast<const xcb_window_t*>(xcb_get_property_value(reply.reply));
    const int count = xcb_get_property_value_length(reply.reply) / 4;
    return std::find(clients, clients + count, window) != clients + count;
}

xcb_window_t DesktopSession::clientTitled(const QString& title) const
{
    for (const xcb_window_t window : windowsTitled(title))
        if (isManaged(window))
            return window;
    return XCB_WINDOW_NONE;
}

xcb_window_t DesktopSession::mainWindowTitled(const QString& title) const
{
    for (const xcb_window_t window : windowsTitled(title))
        if (isManaged(window) &&
            !atomsOf(window, "_NET_WM_WINDOW_TYPE").contains("_NET_WM_WINDOW_TYPE_DIALOG"))
            return window;
    return XCB_WINDOW_NONE;
}

bool DesktopSession::isViewable(xcb_window_t window) const
{
    if (window == XCB_NONE)
        return false; // a window looked for and not found
    Freed reply(xcb_get_window_attributes_reply(
        m_connection, xcb_get_window_attributes(m_connection, window), nullptr));
    return reply && reply->map_state == XCB_MAP_STATE_VIEWABLE;
}

QRect DesktopSession::rootGeometry(xcb_window_t window) const
{
    Freed geometry(
        xcb_get_geometry_reply(m_connection, xcb_get_geometry(m_connection, window), nullptr));
    if (!geometry)
        return {};
    Freed translated(xcb_translate_coordinates_reply(
        m_connection, xcb_translate_coordinates(m_connection, window, m_root, 0, 0), nullptr));
    if (!translated)
        return {};
    return {translated->dst_x, translated->dst_y, geometry->width, geometry->height};
}

int DesktopSession::depth(xcb_window_t window) const
{
    Freed geometry(
        xcb_get_geometry_reply(m_connection, xcb_get_geometry(m_connection, window), nullptr));
    return geometry ? geometry->depth : 0;
}

QByteArrayList DesktopSession::atomsOf(xcb_window_t window, const char* property) const
{
    QByteArrayList names;
    Freed reply(xcb_get_property_reply(
        m_connection,
        xcb_get_property(m_connection, 0, window, atom(property), XCB_ATOM_ATOM, 0, 64), nullptr));
    if (!reply)
        return names;
    const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.reply));
    for (int i = 0; i < xcb_get_property_value_length(reply.reply) / 4; ++i) {
        Freed name(xcb_get_atom_name_reply(m_connection, xcb_get_atom_name(m_connection, atoms[i]),
                                           nullptr));
        if (name)
            names << QByteArray(xcb_get_atom_name_name(name.reply),
                                xcb_get_atom_name_name_length(name.reply));
    }
    return names;
}

std::optional<std::uint32_t> DesktopSession::cardinalOf(xcb_window_t window,
                                                        const char* property) const
{
    Freed reply(xcb_get_property_reply(
        m_connection,
        xcb_get_property(m_connection, 0, window, atom(property), XCB_GET_PROPERTY_TYPE_ANY, 0, 1),
        nullptr));
    if (!reply || reply->format != 32 || xcb_get_property_value_length(reply.reply) < 4)
        return std::nullopt;
    return *static_cast<const std::uint32_t*>(xcb_get_property_value(reply.reply));
}

xcb_window_t DesktopSession::activeWindow() const
{
    return cardinalOf(m_root, "_NET_ACTIVE_WINDOW").value_or(XCB_WINDOW_NONE);
}

xcb_window_t DesktopSession::makeWindow(const QRect& geometry, const QString& title)
{
    const xcb_window_t window = xcb_generate_id(m_connection);
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data;
    const std::uint32_t values[] = {screen->white_pixel};
    xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, window, m_root,
                      std::int16_t(geometry.x()), std::int16_t(geometry.y()),
                      std::uint16_t(geometry.width()), std::uint16_t(geometry.height()), 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, XCB_CW_BACK_PIXEL,
                      values);
    const QByteArray name = title.toUtf8();
    xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_NAME,
                        XCB_ATOM_STRING, 8, std::uint32_t(name.size()), name.constData());
    xcb_map_window(m_connection, window);
    xcb_flush(m_connection);
    return window;
}

bool DesktopSession::waitFor(const std::function<bool()>& condition, int timeoutMs)
{
    QElapsedTimer elapsed;
    elapsed.start();
    while (!condition()) {
        if (elapsed.elapsed() > timeoutMs)
            return false;
        QThread::msleep(5);
    }
    return true;
}
