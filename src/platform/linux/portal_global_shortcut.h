#pragma once

#include "platform/desktop.h"

#include <QDBusConnection>
#include <QHash>
#include <QObject>
#include <QString>

class QDBusMessage;
class QDBusPendingCallWatcher;

// The hot key through the desktop portal's GlobalShortcuts interface, for Wayland sessions
// where an X11 grab only fires while an XWayland window has the focus.
//
// Every portal call is asynchronous: grab() only starts the exchange (register the app id,
// create a session, list what an earlier run bound, bind when needed) and returns true while
// it is under way. A refusal or failure arriving later leaves no key and says nothing;
// isBound() tells the outcome once it is known.
class PortalGlobalShortcut final : public QObject, public GlobalShortcut {
    Q_OBJECT

public:
    explicit PortalGlobalShortcut(QDBusConnection connection = QDBusConnection::sessionBus());
    ~PortalGlobalShortcut() override;

    bool grab(std::uint32_t key, std::uint32_t mods) override;
    void release() override;

    // Whether the desktop has granted the key in the current session.
    bool isBound() const { return m_state == State::Bound; }

    // Whether the session bus has a portal that answers for global shortcuts (a blocking call).
    static bool isOffered(QDBusConnection connection = QDBusConnection::sessionBus());

private Q_SLOTS:
    void onResponse(const QDBusMessage& message);
    void onActivated(const QDBusMessage& message);

private:
    enum class State { Idle, Registering, CreatingSession, Listing, Binding, Bound, Refused };
    enum class Step { CreateSession, List, Bind };

    void start();
    void createSession();
    void listShortcuts();
    void bindShortcuts();
    void closeSession();
    void fail();
    // Calls `method` of the GlobalShortcuts interface, expecting its answer as a Response
    // signal on the request object named by the handle token it puts into `options`.
    void request(Step step, const QString& method, QList<QVariant> arguments, QVariantMap options);
    void subscribe(const QString& requestPath, Step step);
    void unsubscribe(const QString& requestPath);
    QString requestPath(const QString& token) const;
    QVariant shortcutList() const;

    QDBusConnection m_connection;
    State m_state = State::Idle;
    bool m_registered = false;
    bool m_mustBind = false; // the preset changed during this run: bind even if listed
    QString m_trigger;
    QString m_session;
    quint64 m_generation = 0;
    quint64 m_tokens = 0;
    struct Pending {
        Step step;
        quint64 generation;
    };
    QHash<QString, Pending> m_requests; // by request object path
};
