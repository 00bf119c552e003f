#include "fake_portal.h"

#include "platform/linux/portal_shortcut_entry.h"

#include <QDBusArgument>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>

namespace {

const QString objectPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString shortcutsInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");

QList<PortalShortcutEntry> shortcutsOf(const QVariant& value)
{
    if (!value.canConvert<QDBusArgument>())
        return {};
    return qdbus_cast<QList<PortalShortcutEntry>>(value.value<QDBusArgument>());
}

QString senderPart(const QDBusMessage& message)
{
    return message.service().mid(1).replace(QLatin1Char('.'), QLatin1Char('_'));
}

} // namespace

FakePortal::FakePortal()
    : m_connection(
          QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("fake-portal")))
{
    PortalShortcutEntry::registerTypes();
}

FakePortal::~FakePortal()
{
    m_connection.unregisterObject(objectPath, QDBusConnection::UnregisterTree);
    m_connection.unregisterService(QStringLiteral("org.freedesktop.portal.Desktop"));
    m_thread.quit();
    m_thread.wait();
    QDBusConnection::disconnectFromBus(QStringLiteral("fake-portal"));
}

bool FakePortal::start()
{
    if (!m_connection.registerVirtualObject(objectPath, this, QDBusConnection::SubPath))
        return false;
    m_thread.start();
    moveToThread(&m_thread);
    return m_connection.registerService(QStringLiteral("org.freedesktop.portal.Desktop"));
}

void FakePortal::reset(Options options)
{
    const QMutexLocker lock(&m_mutex);
    m_options = options;
    m_calls.clear();
    m_optionTrigger.clear();
}

void FakePortal::forgetBound()
{
    const QMutexLocker lock(&m_mutex);
    m_bound.clear();
}

QStringList FakePortal::calls() const
{
    const QMutexLocker lock(&m_mutex);
    return m_calls;
}

QString FakePortal::sessionOptionTrigger() const
{
    const QMutexLocker lock(&m_mutex);
    return m_optionTrigger;
}

QString FakePortal::currentSession() const
{
    const QMutexLocker lock(&m_mutex);
    return m_session;
}

void FakePortal::activate(const QString& session, const QString& id, quint64 time)
{
    QDBusMessage signal =
        QDBusMessage::createSignal(objectPath, shortcutsInterface, QStringLiteral("Activated"));
    signal.setArguments({QVariant::fromValue(QDBusObjectPath(session)), id,
                         QVariant::fromValue(time), QVariantMap()});
    m_connection.send(signal);
}

void FakePortal::deactivate(const QString& session, const QString& id, quint64 time)
{
    QDBusMessage signal =
        QDBusMessage::createSignal(objectPath, shortcutsInterface, QStringLiteral("Deactivated"));
    signal.setArguments({QVariant::fromValue(QDBusObjectPath(session)), id,
                         QVariant::fromValue(time), QVariantMap()});
    m_connection.send(signal);
}

QString FakePortal::introspect(const QString&) const
{
    return {};
}

void FakePortal::record(const QString& call)
{
    const QMutexLocker lock(&m_mutex);
    m_calls.append(call);
}

void FakePortal::respond(const QDBusMessage& call, const QString& token, uint code,
                         const QVariantMap& results)
{
    const QString request =
        objectPath + QStringLiteral("/request/") + senderPart(call) + QLatin1Char('/') + token;
    m_connection.send(call.createReply(QVariant::fromValue(QDBusObjectPath(request))));
    QDBusMessage response = QDBusMessage::createSignal(
        request, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"));
    response.setArguments({code, results});
    m_connection.send(response);
}

bool FakePortal::handleMessage(const QDBusMessage& message, const QDBusConnection&)
{
    const QString member = message.member();
    const QList<QVariant> arguments = message.arguments();
    const auto options = [&arguments] { return qdbus_cast<QVariantMap>(arguments.constLast()); };
    Options settings;
    {
        const QMutexLocker lock(&m_mutex);
        settings = m_options;
    }

    if (message.interface() == QLatin1String("org.freedesktop.DBus.Properties") &&
        member == QLatin1String("Get") && arguments.value(0) == shortcutsInterface) {
        m_connection.send(message.createReply(QVariant::fromValue(QDBusVariant(1u))));
    } else if (member == QLatin1String("Register")) {
        if (!settings.hasRegistry) {
            m_connection.send(message.createErrorReply(QDBusError::UnknownMethod,
                                                       QStringLiteral("No such method")));
            return true;
        }
        record(QStringLiteral("Register ") + arguments.value(0).toString());
        m_connection.send(message.createReply());
    } else if (member == QLatin1String("CreateSession")) {
        const QVariantMap given = options();
        const QString session = objectPath + QStringLiteral("/session/") + senderPart(message) +
                                QLatin1Char('/') +
                                given.value(QStringLiteral("session_handle_token")).toString();
        {
            const QMutexLocker lock(&m_mutex);
            m_calls.append(QStringLiteral("CreateSession"));
            m_session = session;
            const auto listed = shortcutsOf(given.value(QStringLiteral("shortcuts")));
            if (!listed.isEmpty())
                m_optionTrigger = listed.constFirst()
                                      .properties.value(QStringLiteral("preferred_trigger"))
                                      .toString();
        }
        respond(message, given.value(QStringLiteral("handle_token")).toString(), 0,
                {{QStringLiteral("session_handle"), session}});
    } else if (member == QLatin1String("ListShortcuts")) {
        record(QStringLiteral("ListShortcuts"));
        QList<PortalShortcutEntry> listed;
        {
            const QMutexLocker lock(&m_mutex);
            for (const QString& id : std::as_const(m_bound))
                listed.append(
                    {id,
                     {{QStringLiteral("trigger_description"), QStringLiteral("Ctrl+Alt+Space")}}});
        }
        respond(message, options().value(QStringLiteral("handle_token")).toString(), 0,
                {{QStringLiteral("shortcuts"), QVariant::fromValue(listed)}});
    } else if (member == QLatin1String("BindShortcuts")) {
        const auto asked = shortcutsOf(arguments.value(1));
        QStringList triggers;
        for (const PortalShortcutEntry& shortcut : asked)
            triggers.append(
                shortcut.properties.value(QStringLiteral("preferred_trigger")).toString());
        record(QStringLiteral("BindShortcuts ") + triggers.join(QLatin1Char(',')));
        QList<PortalShortcutEntry> granted;
        if (settings.bindCode == 0) {
            const QMutexLocker lock(&m_mutex);
            for (const PortalShortcutEntry& shortcut : asked) {
                granted.append(shortcut);
                if (!m_bound.contains(shortcut.id))
                    m_bound.append(shortcut.id);
            }
        }
        respond(message, options().value(QStringLiteral("handle_token")).toString(),
                settings.bindCode, {{QStringLiteral("shortcuts"), QVariant::fromValue(granted)}});
    } else if (member == QLatin1String("Close") &&
               message.interface() == QLatin1String("org.freedesktop.portal.Session")) {
        {
            const QMutexLocker lock(&m_mutex);
            m_calls.append(QStringLiteral("Close"));
        }
        m_connection.send(message.createReply());
    } else {
        m_connection.send(message.createErrorReply(QDBusError::UnknownMethod, member));
    }
    return true;
}
