#pragma once

#include <QString>
#include <QVariant>
#include <QVariantMap>
#include <optional>

// One channel of Xfce's settings daemon, reached on the session bus (which starts xfconfd when
// it is installed). Array values are QVariantLists of their items.
class XfconfChannel {
public:
    explicit XfconfChannel(QString channel);

    // Every property under `base` ("/" for all) with its value; nothing when the daemon cannot
    // be reached.
    std::optional<QVariantMap> properties(const QString& base = QStringLiteral("/")) const;
    bool set(const QString& property, const QVariant& value) const;
    // Removes the property, and with `recursive` everything under it.
    bool reset(const QString& property, bool recursive) const;
    // Whether the administrator locked the property (a kiosk setting); true when unknown.
    bool isLocked(const QString& property) const;

private:
    QString m_channel;
};
