#pragma once

#include <QDBusConnection>
#include <QDBusVirtualObject>
#include <QHash>
#include <QJsonObject>
#include <QMutex>
#include <QStringList>
#include <QThread>

// A stand-in for Cinnamon's org.Cinnamon on the test's private session bus, with the applets
// that pin applications loaded from their settings files as Cinnamon 5.6 to 6.x has them:
// updateSetting(uuid, instance, key, json) makes the instance read its file again (the JSON
// argument is not used, as in Cinnamon); the panel launchers applet shows its new list at once,
// while the grouped window list only takes pinned-apps in when ReloadXlet(uuid, "APPLET")
// reloads it. An unknown instance is an error, an unknown uuid only a warning. Runs in a thread
// of its own, so the code under test may make blocking calls.
class FakeCinnamon : public QDBusVirtualObject {
    Q_OBJECT

public:
    FakeCinnamon();
    ~FakeCinnamon() override;

    // An applet instance running with the settings in `file`, as Cinnamon loads it at start.
    void loadApplet(const QString& uuid, const QString& instance, const QString& file);
    bool start();

    // The calls received, "updateSetting uuid instance key json", "ReloadXlet uuid type".
    QStringList calls() const;
    // The applications the applet shows pinned now.
    QStringList shown(const QString& uuid, const QString& instance) const;

    QString introspect(const QString& path) const override;
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;

private:
    struct Applet {
        QString file;
        QJsonObject settings;
        QStringList shown;
    };
    static QString keyOf(const QString& uuid);
    void showFromSettings(const QString& uuid, Applet& applet);

    QThread m_thread;
    QDBusConnection m_connection;
    mutable QMutex m_mutex;
    QHash<QString, QHash<QString, Applet>> m_applets;
    QStringList m_calls;
};
