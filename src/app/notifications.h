#pragma once

#include <QObject>
#include <QString>

// Name of the notification a hot-key press posts; the delegate answers it by toggling the panel.
inline const QString dockHotKey = QStringLiteral("traymate.hotkey");

// The default notification centre: named notifications without payload, delivered
// synchronously on the thread that posts them (always the main thread here).
class NotificationCenter : public QObject {
    Q_OBJECT

public:
    static NotificationCenter& instance();

    void post(const QString& name) { Q_EMIT posted(name); }

Q_SIGNALS:
    void posted(const QString& name);
};
