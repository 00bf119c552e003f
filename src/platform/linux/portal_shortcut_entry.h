#pragma once

#include <QDBusArgument>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QVariantMap>

// One entry of the portal's shortcut lists: an id and its properties (description,
// preferred_trigger, trigger_description), a(sa{sv}) on the bus.
struct PortalShortcutEntry {
    QString id;
    QVariantMap properties;

    // Registers the entry and its list with QtDBus; cheap to call again.
    static void registerTypes();
};
Q_DECLARE_METATYPE(PortalShortcutEntry)

QDBusArgument& operator<<(QDBusArgument& argument, const PortalShortcutEntry& entry);
const QDBusArgument& operator>>(const QDBusArgument& argument, PortalShortcutEntry& entry);
