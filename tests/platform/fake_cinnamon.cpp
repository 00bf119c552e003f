#include "fake_cinnamon.h"

#include <QDBusMessage>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

namespace {

const QString kWindowList = QStringLiteral("grouped-window-list@cinnamon.org");

std::optional<QJsonObject> settingsIn(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    return document.object();
}

} // namespace

FakeCinnamon::FakeCinnamon()
    : m_connection(QDBusConnection::connectToBus(QDBusConnection::SessionBus,
                                                 QStringLiteral("fake-cinnamon")))
{
}

FakeCinnamon::~FakeCinnamon()
{
    m_connection.unregisterObject(QStringLiteral("/org/Cinnamon"));
    m_connection.unregisterService(QStringLiteral("org.Cinnamon"));
    m_thread.quit();
    m_thread.wait();
    QDBusConnection::disconnectFromBus(QStringLiteral("fake-cinnamon"));
}

QString FakeCinnamon::keyOf(const QString& uuid)
{
    return uuid == kWindowList ? QStringLiteral("pinned-apps") : QStringLiteral("launcherList");
}

void FakeCinnamon::showFromSettings(const QString& uuid, Applet& applet)
{
    applet.shown.clear();
    for (const QJsonValue& id :
         applet.settings.value(keyOf(uuid)).toObject().value(QLatin1String("value")).toArray())
        applet.shown.append(id.toString());
}

void FakeCinnamon::loadApplet(const QString& uuid, const QString& instance, const QString& file)
{
    const QMutexLocker lock(&m_mutex);
    Applet& applet = m_applets[uuid][instance];
    applet.file = file;
    applet.settings = settingsIn(file).value_or(QJsonObject());
    showFromSettings(uuid, applet);
}

bool FakeCinnamon::start()
{
    if (!m_connection.registerVirtualObject(QStringLiteral("/org/Cinnamon"), this))
        return false;
    m_thread.start();
    moveToThread(&m_thread);
    return m_connection.registerService(QStringLiteral("org.Cinnamon"));
}

QStringList FakeCinnamon::calls() const
{
    const QMutexLocker lock(&m_mutex);
    return m_calls;
}

QStringList FakeCinnamon::shown(const QString& uuid, const QString& instance) const
{
    const QMutexLocker lock(&m_mutex);
    return m_applets.value(uuid).value(instance).shown;
}

QString FakeCinnamon::introspect(const QString&) const
{
    return QStringLiteral(
        "<interface name=\"org.Cinnamon\">"
        "<method name=\"updateSetting\"><arg type=\"s\" direction=\"in\"/>"
        "<arg type=\"s\" direction=\"in\"/><arg type=\"s\" direction=\"in\"/>"
        "<arg type=\"s\" direction=\"in\"/></method>"
        "<method name=\"ReloadXlet\"><arg type=\"s\" direction=\"in\" name=\"uuid\"/>"
        "<arg type=\"s\" direction=\"in\" name=\"type\"/></method></interface>");
}

bool FakeCinnamon::handleMessage(const QDBusMessage& message, const QDBusConnection&)
{
    const QMutexLocker lock(&m_mutex);
    const QList<QVariant> arguments = message.arguments();
    const QString member = message.member();
    if (message.interface() != QLatin1String("org.Cinnamon") ||
        !((member == QLatin1String("updateSetting") && message.signature() == "ssss") ||
          (member == QLatin1String("ReloadXlet") && message.signature() == "ss"))) {
        m_connection.send(
            message.createErrorReply(QDBusError::UnknownMethod, QStringLiteral("No such method")));
        return true;
    }
    QStringList words{member};
    for (const QVariant& argument : arguments)
        words.append(argument.toString());
    m_calls.append(words.join(QLatin1Char(' ')));

    const QString uuid = arguments.at(0).toString();
    if (member == QLatin1String("updateSetting")) {
        if (m_applets.contains(uuid)) {
            auto instance = m_applets[uuid].find(arguments.at(1).toString());
            if (instance == m_applets[uuid].end()) {
                m_connection.send(message.createErrorReply(
                    QStringLiteral("org.gnome.gjs.JSError.TypeError"),
                    QStringLiteral("Main.settingsManager.uuids[uuid][instance_id] is undefined")));
                return true;
            }
            // A file caught half written is skipped; the file monitor comes back to it.
            if (std::optional<QJsonObject> settings = settingsIn(instance->file)) {
                instance->settings = *settings;
                if (uuid != kWindowList)
                    showFromSettings(uuid, *instance);
            }
        }
    } else if (arguments.at(1).toString() == QLatin1String("APPLET")) {
        // A reloaded applet reads its settings file afresh.
        for (auto instance = m_applets[uuid].begin(); instance != m_applets[uuid].end();
             ++instance) {
            instance->settings = settingsIn(instance->file).value_or(instance->settings);
            showFromSettings(uuid, *instance);
        }
    }
    m_connection.send(message.createReply());
    return true;
}
