#include "session_bus.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

namespace {

// The session bus's rules, with the D-Bus services it may start from `serviceFolder` only.
QByteArray configuration(const QString& serviceFolder)
{
    return "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
           " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
           "<busconfig><type>session</type><keep_umask/><listen>unix:tmpdir=/tmp</listen>"
           "<auth>EXTERNAL</auth><servicedir>" +
           serviceFolder.toUtf8() +
           "</servicedir><policy context=\"default\"><allow send_destination=\"*\" "
           "eavesdrop=\"true\"/><allow eavesdrop=\"true\"/><allow own=\"*\"/></policy>"
           "</busconfig>\n";
}

} // namespace

SessionBus::SessionBus() = default;

SessionBus::~SessionBus()
{
    if (!m_daemon || m_daemon->state() != QProcess::Running)
        return;
    // What the bus started (the portal, kglobalaccel) outlives it unless told.
    const QString name = QStringLiteral("traymate-test-bus-cleanup");
    {
        QDBusConnection bus = QDBusConnection::connectToBus(m_address, name);
        if (bus.isConnected()) {
            const QStringList names = bus.interface()->registeredServiceNames().value();
            for (const QString& service : names) {
                if (!service.startsWith(QLatin1Char(':')) || service == bus.baseService())
                    continue;
                const uint pid = bus.interface()->servicePid(service).value();
                if (pid > 1 && pid != uint(::getpid()))
                    ::kill(pid_t(pid), SIGTERM);
            }
        }
    }
    QDBusConnection::disconnectFromBus(name);
    m_daemon->terminate();
    if (!m_daemon->waitForFinished(5000)) {
        m_daemon->kill();
        m_daemon->waitForFinished(2000);
    }
}

qint64 SessionBus::ownerOf(const QString& service) const
{
    const QString name = QStringLiteral("traymate-test-bus-owner");
    qint64 pid = 0;
    {
        QDBusConnection bus = QDBusConnection::connectToBus(m_address, name);
        if (bus.isConnected() && bus.interface()->isServiceRegistered(service).value())
            pid = bus.interface()->servicePid(service).value();
    }
    QDBusConnection::disconnectFromBus(name);
    return pid;
}

bool SessionBus::start(bool desktopServices, const QProcessEnvironment& environment,
                       const QString& log, QString* error)
{
    if (QStandardPaths::findExecutable(QStringLiteral("dbus-daemon")).isEmpty()) {
        *error = QStringLiteral("dbus-daemon is not installed (package dbus)");
        return false;
    }
    QStringList arguments{QStringLiteral("--nofork"), QStringLiteral("--print-address=1")};
    if (desktopServices) {
        arguments << QStringLiteral("--session");
    } else {
        const QString services = m_folder.path() + QStringLiteral("/services");
        const QString path = m_folder.path() + QStringLiteral("/bus.conf");
        QDir().mkpath(services);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(configuration(services)) < 0) {
            *error = QStringLiteral("cannot write ") + path;
            return false;
        }
        file.close();
        arguments << QStringLiteral("--config-file=") + path;
    }
    m_daemon = std::make_unique<QProcess>();
    m_daemon->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    QProcessEnvironment own = environment;
    own.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    m_daemon->setProcessEnvironment(own);
    m_daemon->setStandardErrorFile(log.isEmpty() ? QProcess::nullDevice() : log);
    m_daemon->start(QStringLiteral("dbus-daemon"), arguments);
    QElapsedTimer elapsed;
    elapsed.start();
    QByteArray address;
    while (!address.contains('\n') && elapsed.elapsed() < 10000 &&
           m_daemon->state() != QProcess::NotRunning) {
        m_daemon->waitForReadyRead(100);
        address += m_daemon->readAllStandardOutput();
    }
    if (!address.contains('\n')) {
        *error = QStringLiteral("dbus-daemon did not start");
        return false;
    }
    m_address = QString::fromUtf8(address.trimmed());
    return true;
}
