#include "platform/linux/tray_host_watch.h"

#include "platform/linux/x11_connection.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVariant>
#include <cstdlib>

namespace {

const QString watcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString watcherPath = QStringLiteral("/StatusNotifierWatcher");
constexpr int busTimeoutMs = 1000;
// Quick while a panel is likely still starting (at login), then seldom: a desktop without a
// tray (plain GNOME) should not wake the program twice a second for good.
constexpr int quickPollMs = 500;
constexpr int slowPollMs = 5000;
constexpr int quickPolls = 120;

bool hostRegistered(const QDBusConnection& bus)
{
    QDBusMessage get = QDBusMessage::createMethodCall(
        watcherService, watcherPath, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Get"));
    get << watcherService << QStringLiteral("IsStatusNotifierHostRegistered");
    const QDBusMessage reply = bus.call(get, QDBus::Block, busTimeoutMs);
    return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty() &&
           qvariant_cast<QDBusVariant>(reply.arguments().constFirst()).variant().toBool();
}

bool xembedTray()
{
    xcb_connection_t* connection = X11::connection();
    if (!connection)
        return false;
    // Screen 0: Qt's XEmbed icon uses the default screen, which is 0 on every usual display.
    const xcb_atom_t selection = X11::atom(connection, "_NET_SYSTEM_TRAY_S0");
    xcb_get_selection_owner_reply_t* reply = xcb_get_selection_owner_reply(
        connection, xcb_get_selection_owner(connection, selection), nullptr);
    const bool owned = reply && reply->owner != XCB_NONE;
    std::free(reply);
    return owned;
}

} // namespace

TrayReadiness::Trays TrayHostWatch::look()
{
    TrayReadiness::Trays trays;
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected() && bus.interface()) {
        trays.watcherRunning = bus.interface()->isServiceRegistered(watcherService);
        trays.hostRegistered = trays.watcherRunning && hostRegistered(bus);
    }
    trays.xembedTray = xembedTray();
    return trays;
}

TrayHostWatch::TrayHostWatch(std::function<void()> ready)
    : m_ready(std::move(ready))
{
    const TrayReadiness::Trays trays = look();
    if (TrayReadiness::ready(trays, true, std::nullopt)) {
        // Called after the caller has stored the watch, like every later call.
        QTimer::singleShot(0, this, [this] {
            m_done = true;
            m_ready();
        });
        return;
    }
    if (trays.xembedTray)
        m_xembedSince = Clock::now();
    // A host announces itself; the poll also catches a watcher that comes later and an
    // XEmbed tray, which announces itself only to windows that listen on the root.
    QDBusConnection::sessionBus().connect(QString(), watcherPath, watcherService,
                                          QStringLiteral("StatusNotifierHostRegistered"), this,
                                          SLOT(check()));
    connect(&m_poll, &QTimer::timeout, this, &TrayHostWatch::check);
    m_poll.start(quickPollMs);
}

void TrayHostWatch::check()
{
    if (m_done)
        return;
    if (++m_polls == quickPolls)
        m_poll.setInterval(slowPollMs);
    const TrayReadiness::Trays trays = look();
    if (!trays.xembedTray)
        m_xembedSince.reset();
    else if (!m_xembedSince)
        m_xembedSince = Clock::now();
    const std::optional<std::chrono::milliseconds> seenFor =
        m_xembedSince ? std::optional(std::chrono::duration_cast<std::chrono::milliseconds>(
                            Clock::now() - *m_xembedSince))
                      : std::nullopt;
    if (!TrayReadiness::ready(trays, false, seenFor))
        return;
    m_done = true;
    m_poll.stop();
    QDBusConnection::sessionBus().disconnect(QString(), watcherPath, watcherService,
                                             QStringLiteral("StatusNotifierHostRegistered"), this,
                                             SLOT(check()));
    m_ready();
}
