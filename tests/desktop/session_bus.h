#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>
#include <memory>

// A private session bus of its own dbus-daemon, for desktops and their D-Bus services. The
// services it starts get its environment; on the way out they end before the bus does.
class SessionBus {
public:
    SessionBus();
    ~SessionBus();
    SessionBus(const SessionBus&) = delete;
    SessionBus& operator=(const SessionBus&) = delete;

    // With `desktopServices`, the bus starts the installed D-Bus services (the portal,
    // kglobalaccel) on demand; without, none. What they print goes to `log` when given.
    bool start(bool desktopServices, const QProcessEnvironment& environment, const QString& log,
               QString* error);
    QString address() const { return m_address; }
    // The process that owns `name` on the bus, or 0.
    qint64 ownerOf(const QString& name) const;

private:
    QTemporaryDir m_folder;
    QString m_address;
    std::unique_ptr<QProcess> m_daemon;
};
