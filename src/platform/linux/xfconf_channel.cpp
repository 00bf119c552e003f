#include "platform/linux/xfconf_channel.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusVariant>

namespace {

const QString kService = QStringLiteral("org.xfce.Xfconf");
const QString kPath = QStringLiteral("/org/xfce/Xfconf");
const QString kInterface = QStringLiteral("org.xfce.Xfconf");
// xfconfd may have to be started by the bus first.
constexpr int kTimeoutMs = 10000;

QDBusMessage call(const QString& method, const QVariantList& arguments)
{
    QDBusMessage message = QDBusMessage::createMethodCall(kService, kPath, kInterface, method);
    message.setArguments(arguments);
    return QDBusConnection::sessionBus().call(message, QDBus::Block, kTimeoutMs);
}

// Arrays come as "av"; everything else as the plain value.
QVariant plain(const QVariant& value)
{
    if (value.userType() == qMetaTypeId<QDBusVariant>())
        return plain(value.value<QDBusVariant>().variant());
    if (value.userType() != qMetaTypeId<QDBusArgument>())
        return value;
    const QDBusArgument argument = value.value<QDBusArgument>();
    if (argument.currentType() != QDBusArgument::ArrayType)
        return value;
    QVariantList items;
    argument.beginArray();
    while (!argument.atEnd()) {
        QDBusVariant item;
        argument >> item;
        items.append(plain(item.variant()));
    }
    argument.endArray();
    return items;
}

QDBusVariant wire(const QVariant& value)
{
    if (value.userType() != QMetaType::QVariantList)
        return QDBusVariant(value);
    QDBusArgument array;
    array.beginArray(qMetaTypeId<QDBusVariant>());
    for (const QVariant& item : value.toList())
        array << QDBusVariant(item);
    array.endArray();
    return QDBusVariant(QVariant::fromValue(array));
}

} // namespace

XfconfChannel::XfconfChannel(QString channel)
    : m_channel(std::move(channel))
{
}

std::optional<QVariantMap> XfconfChannel::properties(const QString& base) const
{
    const QDBusMessage reply = call(QStringLiteral("GetAllProperties"), {m_channel, base});
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 1) {
        // A channel with nothing under the base is an error to xfconfd, yet an answer.
        if (reply.type() == QDBusMessage::ErrorMessage &&
            reply.errorName() == QLatin1String("org.xfce.Xfconf.Error.PropertyNotFound"))
            return QVariantMap();
        return std::nullopt;
    }
    const QVariant answer = reply.arguments().constFirst();
    QVariantMap map;
    if (answer.userType() == QMetaType::QVariantMap) {
        const QVariantMap given = answer.toMap();
        for (auto it = given.cbegin(); it != given.cend(); ++it)
            map.insert(it.key(), plain(it.value()));
        return map;
    }
    const QDBusArgument argument = answer.value<QDBusArgument>();
    argument.beginMap();
    while (!argument.atEnd()) {
        QString key;
        QDBusVariant value;
        argument.beginMapEntry();
        argument >> key >> value;
        argument.endMapEntry();
        map.insert(key, plain(value.variant()));
    }
    argument.endMap();
    return map;
}

bool XfconfChannel::set(const QString& property, const QVariant& value) const
{
    return call(QStringLiteral("SetProperty"),
                {m_channel, property, QVariant::fromValue(wire(value))})
               .type() == QDBusMessage::ReplyMessage;
}

bool XfconfChannel::reset(const QString& property, bool recursive) const
{
    return call(QStringLiteral("ResetProperty"), {m_channel, property, recursive}).type() ==
           QDBusMessage::ReplyMessage;
}

bool XfconfChannel::isLocked(const QString& property) const
{
    const QDBusMessage reply = call(QStringLiteral("IsPropertyLocked"), {m_channel, property});
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 1)
        return true;
    return reply.arguments().constFirst().toBool();
}
