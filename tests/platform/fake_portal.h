#pragma once

#include <QDBusConnection>
#include <QDBusVirtualObject>
#include <QMutex>
#include <QStringList>
#include <QThread>
#include <QVariantMap>

// A stand-in for xdg-desktop-portal's GlobalShortcuts on the test's private session bus. It
// runs in a thread of its own, so the code under test may also make blocking calls to it.
// Like the real portal it remembers what was bound across sessions of the same client.
class FakePortal : public QDBusVirtualObject {
    Q_OBJECT

public:
    struct Options {
        bool hasRegistry = true; // false: a portal older than the app-id registry
        uint bindCode = 0;       // the Response code of BindShortcuts: 1 the user refused
    };

    FakePortal();
    ~FakePortal() override;

    // Takes the portal's name on the bus; false when it could not.
    bool start();
    // Forgets the calls seen so far, not what was bound.
    void reset(Options options);
    // As for an app that never bound anything.
    void forgetBound();

    // What the client asked, in order: "Register traymate", "CreateSession", "ListShortcuts",
    // "BindShortcuts <trigger>", "Close".
    QStringList calls() const;
    // The preferred trigger sent in CreateSession's options.
    QString sessionOptionTrigger() const;
    // The session the last CreateSession made, also once it is closed.
    QString currentSession() const;
    // Presses the shortcut `id` in the session `session`, at `time` (ms), and releases it.
    void activate(const QString& session, const QString& id, quint64 time = 1234);
    void deactivate(const QString& session, const QString& id, quint64 time);

    QString introspect(const QString& path) const override;
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;

private:
    void record(const QString& call);
    void respond(const QDBusMessage& call, const QString& token, uint code,
                 const QVariantMap& results);

    QThread m_thread;
    QDBusConnection m_connection;
    mutable QMutex m_mutex;
    Options m_options;
    QStringList m_calls;
    QStringList m_bound;
    QString m_optionTrigger;
    QString m_session;
};
