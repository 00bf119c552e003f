#include "wayland_compositor.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>
#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

namespace {

void endWithParent(QProcess& process)
{
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
}

void stop(QProcess& process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(2000);
    }
}

QString tail(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray text = file.readAll();
    return QString::fromUtf8(text.right(600)).trimmed();
}

} // namespace

WaylandCompositor::WaylandCompositor() = default;

WaylandCompositor::~WaylandCompositor()
{
    if (m_compositor)
        stop(*m_compositor); // its XWayland ends with it; the bus after it
}

QString WaylandCompositor::waylandSocket() const
{
    return m_folder.path() + QStringLiteral("/runtime/") + m_socketName;
}

void WaylandCompositor::addTo(QProcessEnvironment& environment) const
{
    environment.insert(QStringLiteral("DISPLAY"), m_display);
    if (m_xauthority.isEmpty())
        environment.remove(QStringLiteral("XAUTHORITY"));
    else
        environment.insert(QStringLiteral("XAUTHORITY"), m_xauthority);
    environment.insert(QStringLiteral("WAYLAND_DISPLAY"), waylandSocket());
    environment.insert(QStringLiteral("XDG_SESSION_TYPE"), QStringLiteral("wayland"));
    environment.insert(QStringLiteral("XDG_CURRENT_DESKTOP"),
                       m_kind == Kind::Mutter ? QStringLiteral("GNOME") : QStringLiteral("KDE"));
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_busAddress);
}

QString WaylandCompositor::findDisplay() const
{
    // XWayland's display is the one whose lock file names the compositor, which opens the
    // sockets itself; Mutter holds a second, private one with a higher number.
    const QString pid = QString::number(m_compositor->processId());
    const QRegularExpression lockName(QStringLiteral("^\\.X(\\d+)-lock$"));
    int lowest = -1;
    for (const QString& name :
         QDir(QStringLiteral("/tmp"))
             .entryList({QStringLiteral(".X*-lock")}, QDir::Files | QDir::Hidden)) {
        const QRegularExpressionMatch match = lockName.match(name);
        if (!match.hasMatch())
            continue;
        QFile lock(QStringLiteral("/tmp/") + name);
        if (!lock.open(QIODevice::ReadOnly) || QString::fromLatin1(lock.readAll()).trimmed() != pid)
            continue;
        const int number = match.captured(1).toInt();
        if (lowest < 0 || number < lowest)
            lowest = number;
    }
    return lowest < 0 ? QString() : QStringLiteral(":%1").arg(lowest);
}

bool WaylandCompositor::start(Kind kind, int width, int height, Options options, QString* error)
{
    m_kind = kind;
    const QString name =
        kind == Kind::Mutter ? QStringLiteral("mutter") : QStringLiteral("kwin_wayland");
    const QString installed = QStandardPaths::findExecutable(name);
    if (installed.isEmpty()) {
        *error = name + QStringLiteral(" is not installed (scripts/install-deps installs it)");
        return false;
    }
    if (!m_folder.isValid()) {
        *error = QStringLiteral("no temporary folder");
        return false;
    }
    const QString runtime = m_folder.path() + QStringLiteral("/runtime");
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    m_bus = std::make_unique<SessionBus>();
    if (!m_bus->start(options.sessionServices, QProcessEnvironment::systemEnvironment(), QString(),
                      error))
        return false;
    m_busAddress = m_bus->address();

    QString program = installed;
    QStringList arguments;
    m_socketName = QStringLiteral("wayland-traymate-%1").arg(::getpid());
    if (kind == Kind::Mutter) {
        arguments = {
            QStringLiteral("--wayland"),         QStringLiteral("--headless"),
            QStringLiteral("--virtual-monitor"), QStringLiteral("%1x%2").arg(width).arg(height),
            QStringLiteral("--wayland-display"), m_socketName};
    } else {
        // The packaged binary carries a file capability (cap_sys_resource) that a container
        // refuses to execute; a plain copy has none and runs the same.
        program = m_folder.path() + QStringLiteral("/kwin_wayland");
        if (!QFile::copy(installed, program) ||
            !QFile::setPermissions(program, QFile::ReadOwner | QFile::ExeOwner)) {
            *error = QStringLiteral("cannot copy ") + installed;
            return false;
        }
        arguments = {QStringLiteral("--virtual"), QStringLiteral("--xwayland"),
                     QStringLiteral("--width"),   QString::number(width),
                     QStringLiteral("--height"),  QString::number(height),
                     QStringLiteral("--socket"),  m_socketName};
    }

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "XAUTHORITY", "QT_QPA_PLATFORM",
                                 "WAYLAND_SOCKET", "XDG_SESSION_TYPE"})
        environment.remove(QString::fromLatin1(variable));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime);
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_busAddress);
    const QString log = m_folder.path() + QStringLiteral("/compositor.log");
    m_compositor = std::make_unique<QProcess>();
    endWithParent(*m_compositor);
    m_compositor->setProcessEnvironment(environment);
    m_compositor->setStandardOutputFile(log);
    m_compositor->setStandardErrorFile(log, QIODevice::Append);
    m_compositor->start(program, arguments);
    if (!m_compositor->waitForStarted(5000)) {
        *error = program + QStringLiteral(" did not start: ") + m_compositor->errorString();
        return false;
    }

    QElapsedTimer elapsed;
    elapsed.start();
    while (elapsed.elapsed() < 30000) {
        if (m_compositor->state() == QProcess::NotRunning) {
            *error = name + QStringLiteral(" ended: ") + tail(log);
            return false;
        }
        if (m_display.isEmpty())
            m_display = findDisplay();
        if (kind == Kind::Mutter && m_xauthority.isEmpty()) {
            const QStringList found = QDir(runtime).entryList(
                {QStringLiteral(".mutter-Xwaylandauth.*")}, QDir::Files | QDir::Hidden);
            if (!found.isEmpty())
                m_xauthority = runtime + QLatin1Char('/') + found.first();
        }
        const bool authorityKnown = kind == Kind::KWin || !m_xauthority.isEmpty();
        if (!m_display.isEmpty() && authorityKnown && QFile::exists(waylandSocket()))
            return true;
        QThread::msleep(20);
    }
    *error = name + QStringLiteral(" started no XWayland within 30 s: ") + tail(log);
    return false;
}
