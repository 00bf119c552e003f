#include "platform/linux/portal_global_shortcut.h"

#include "platform/linux/portal_shortcut_entry.h"
#include "platform/linux/portal_trigger.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <algorithm>

namespace {

using ShortcutEntries = QList<PortalShortcutEntry>;

const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString shortcutsInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString requestInterface = QStringLiteral("org.freedesktop.portal.Request");
const QString sessionInterface = QStringLiteral("org.freedesktop.portal.Session");
const QString registryInterface = QStringLiteral("org.freedesktop.host.portal.Registry");
const QString shortcutId = QStringLiteral("toggle-panel");
// The id of our installed desktop entry, traymate.desktop.
const QString appId = QStringLiteral("traymate");
// Fixed, because KDE keeps the saved shortcuts under the app id and this token.
const QString sessionToken = QStringLiteral("traymate");

bool holdsToggle(const QVariant& shortcuts)
{
    if (!shortcuts.canConvert<QDBusArgument>())
        return false;
    const auto entries = qdbus_cast<ShortcutEntries>(shortcuts.value<QDBusArgument>());
    return std::any_of(entries.begin(), entries.end(),
                       [](const PortalShortcutEntry& entry) { return entry.id == shortcutId; });
}

QString pathText(const QVariant& value)
{
    if (value.canConvert<QDBusObjectPath>() && value.userType() == qMetaTypeId<QDBusObjectPath>())
        return value.value<QDBusObjectPath>().path();
    return value.toString();
}

} // namespace

PortalGlobalShortcut::PortalGlobalShortcut(QDBusConnection connection)
    : m_connection(std::move(connection))
{
    PortalShortcutEntry::registerTypes();
    m_connection.connect(portalService, portalPath, shortcutsInterface, QStringLiteral("Activated"),
                         this, SLOT(onActivated(QDBusMessage)));

    // A restarted portal has forgotten our app id and our session: start over.
    auto* watcher = new QDBusServiceWatcher(portalService, m_connection,
                                            QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(watcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString&, const QString& oldOwner, const QString&) {
                if (oldOwner.isEmpty())
                    return;
                const bool wanted = m_state != State::Idle && m_state != State::Refused;
                m_registered = false;
                m_session.clear();
                closeSession();
                if (wanted)
                    start();
            });
}

PortalGlobalShortcut::~PortalGlobalShortcut()
{
    closeSession();
}

bool PortalGlobalShortcut::grab(std::uint32_t key, std::uint32_t mods)
{
    const QString trigger = PortalTrigger::text(key, mods);
    if (trigger.isEmpty()) {
        release();
        return false;
    }
    if (trigger == m_trigger && m_state != State::Idle && m_state != State::Refused)
        return true;
    // There is no unbind: a new combination takes a new session, bound even when an earlier
    // one already lists our id.
    m_mustBind = m_mustBind || (!m_trigger.isEmpty() && trigger != m_trigger);
    closeSession();
    m_trigger = trigger;
    start();
    return true;
}

void PortalGlobalShortcut::release()
{
    closeSession();
}

bool PortalGlobalShortcut::isOffered(QDBusConnection connection)
{
    if (!connection.isConnected())
        return false;
    QDBusMessage get = QDBusMessage::createMethodCall(
        portalService, portalPath, QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Get"));
    get.setArguments({shortcutsInterface, QStringLiteral("version")});
    const QDBusMessage reply = connection.call(get, QDBus::Block, 3000);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return false;
    return reply.arguments().constFirst().value<QDBusVariant>().variant().toUInt() >= 1;
}

void PortalGlobalShortcut::start()
{
    if (m_registered) {
        createSession();
        return;
    }
    // Newer portals want the app id before any other call; older ones lack the method, and any
    // real problem shows in CreateSession's answer.
    m_state = State::Registering;
    QDBusMessage call = QDBusMessage::createMethodCall(portalService, portalPath, registryInterface,
                                                       QStringLiteral("Register"));
    call.setArguments({appId, QVariantMap()});
    auto* watcher = new QDBusPendingCallWatcher(m_connection.asyncCall(call), this);
    const quint64 generation = m_generation;
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, generation](QDBusPendingCallWatcher* finished) {
                finished->deleteLater();
                if (generation != m_generation)
                    return;
                m_registered = true;
                createSession();
            });
}

void PortalGlobalShortcut::createSession()
{
    m_state = State::CreatingSession;
    QVariantMap options{{QStringLiteral("session_handle_token"), sessionToken}};
    // Workaround: KDE Plasma 5.27 registers only a list passed here, not through BindShortcuts.
    options.insert(QStringLiteral("shortcuts"), shortcutList());
    request(Step::CreateSession, QStringLiteral("CreateSession"), {}, options);
}

void PortalGlobalShortcut::listShortcuts()
{
    m_state = State::Listing;
    request(Step::List, QStringLiteral("ListShortcuts"),
            {QVariant::fromValue(QDBusObjectPath(m_session))}, {});
}

void PortalGlobalShortcut::bindShortcuts()
{
    m_state = State::Binding;
    request(Step::Bind, QStringLiteral("BindShortcuts"),
            {QVariant::fromValue(QDBusObjectPath(m_session)), shortcutList(), QString()}, {});
}

void PortalGlobalShortcut::closeSession()
{
    ++m_generation;
    const QStringList paths = m_requests.keys();
    for (const QString& path : paths)
        unsubscribe(path);
    if (!m_session.isEmpty()) {
        const QDBusMessage close = QDBusMessage::createMethodCall(
            portalService, m_session, sessionInterface, QStringLiteral("Close"));
        m_connection.asyncCall(close);
        m_session.clear();
    }
    m_state = State::Idle;
}

void PortalGlobalShortcut::fail()
{
    closeSession();
    m_state = State::Refused;
}

void PortalGlobalShortcut::request(Step step, const QString& method, QList<QVariant> arguments,
                                   QVariantMap options)
{
    const QString token = QStringLiteral("traymate%1").arg(++m_tokens);
    options.insert(QStringLiteral("handle_token"), token);
    const QString expected = requestPath(token);
    // The answer may come at once: listen before asking.
    subscribe(expected, step);

    QDBusMessage call =
        QDBusMessage::createMethodCall(portalService, portalPath, shortcutsInterface, method);
    arguments.append(options);
    call.setArguments(arguments);
    auto* watcher = new QDBusPendingCallWatcher(m_connection.asyncCall(call), this);
    const quint64 generation = m_generation;
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, generation, expected, step](QDBusPendingCallWatcher* finished) {
                finished->deleteLater();
                if (generation != m_generation)
                    return;
                const QDBusPendingReply<QDBusObjectPath> reply = *finished;
                if (reply.isError()) {
                    fail();
                    return;
                }
                // Portals before 0.9 named the request object themselves.
                const QString actual = reply.value().path();
                if (actual != expected && m_requests.contains(expected)) {
                    unsubscribe(expected);
                    subscribe(actual, step);
                }
            });
}

void PortalGlobalShortcut::subscribe(const QString& requestPath, Step step)
{
    m_connection.connect(portalService, requestPath, requestInterface, QStringLiteral("Response"),
                         this, SLOT(onResponse(QDBusMessage)));
    m_requests.insert(requestPath, {step, m_generation});
}

void PortalGlobalShortcut::unsubscribe(const QString& requestPath)
{
    m_connection.disconnect(portalService, requestPath, requestInterface,
                            QStringLiteral("Response"), this, SLOT(onResponse(QDBusMessage)));
    m_requests.remove(requestPath);
}

QString PortalGlobalShortcut::requestPath(const QString& token) const
{
    QString sender = m_connection.baseService();
    sender.remove(0, sender.startsWith(QLatin1Char(':')) ? 1 : 0)
        .replace(QLatin1Char('.'), QLatin1Char('_'));
    return portalPath + QStringLiteral("/request/") + sender + QLatin1Char('/') + token;
}

QVariant PortalGlobalShortcut::shortcutList() const
{
    const ShortcutEntries entries{
        {shortcutId,
         {{QStringLiteral("description"), tr("Show or hide the Traymate panel")},
          {QStringLiteral("preferred_trigger"), m_trigger}}}};
    return QVariant::fromValue(entries);
}

void PortalGlobalShortcut::onResponse(const QDBusMessage& message)
{
    const auto found = m_requests.constFind(message.path());
    if (found == m_requests.constEnd())
        return;
    const Pending pending = *found;
    unsubscribe(message.path());
    if (pending.generation != m_generation)
        return;
    const QList<QVariant> arguments = message.arguments();
    if (arguments.size() < 2) {
        fail();
        return;
    }
    // 0 granted, 1 refused by the user, 2 ended otherwise.
    const bool granted = arguments.at(0).toUInt() == 0;
    const auto results = qdbus_cast<QVariantMap>(arguments.at(1));

    switch (pending.step) {
    case Step::CreateSession:
        m_session = granted ? pathText(results.value(QStringLiteral("session_handle"))) : QString();
        if (m_session.isEmpty()) {
            fail();
            return;
        }
        listShortcuts();
        return;
    case Step::List:
        // Workaround: KDE Plasma 6.1 to 6.3 open System Settings at every bind, so a key an
        // earlier run bound is not bound again.
        if (granted && !m_mustBind && holdsToggle(results.value(QStringLiteral("shortcuts")))) {
            m_state = State::Bound;
            return;
        }
        bindShortcuts();
        return;
    case Step::Bind:
        // The user may refuse, or grant only part of what was asked, here nothing.
        if (!granted || !holdsToggle(results.value(QStringLiteral("shortcuts")))) {
            fail();
            return;
        }
        m_mustBind = false;
        m_state = State::Bound;
        return;
    }
}

void PortalGlobalShortcut::onActivated(const QDBusMessage& message)
{
    const QList<QVariant> arguments = message.arguments();
    if (arguments.size() < 2 || m_session.isEmpty())
        return;
    // Keys saved by an earlier run may fire while this session is still listing them.
    if (pathText(arguments.at(0)) != m_session || arguments.at(1).toString() != shortcutId)
        return;
    // Every Activated is a press: KDE's portal gives a release the time of its press and
    // sometimes sends none, so its times and releases cannot tell a held key's repeats.
    if (pressed)
        pressed();
}
