#include "screen_reader_bus.h"

#include "desktop_session.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QFile>
#include <csignal>
#include <sys/prctl.h>

namespace {

const QString launcherProgram = QStringLiteral("/usr/libexec/at-spi-bus-launcher");
const QString busVariable = QStringLiteral("DBUS_SESSION_BUS_ADDRESS");

} // namespace

ScreenReaderBus::ScreenReaderBus() = default;

ScreenReaderBus::~ScreenReaderBus()
{
    if (!m_launcher || m_launcher->state() == QProcess::NotRunning)
        return;
    m_launcher->terminate();
    if (!m_launcher->waitForFinished(5000)) {
        m_launcher->kill();
        m_launcher->waitForFinished(2000);
    }
}

bool ScreenReaderBus::start(const QProcessEnvironment& environment, QString* error)
{
    m_ownBus = std::make_unique<SessionBus>();
    if (!m_ownBus->start(false, environment, QString(), error))
        return false;
    QProcessEnvironment onOwnBus = environment;
    onOwnBus.insert(busVariable, m_ownBus->address());
    return startOnSessionBus(onOwnBus, error);
}

bool ScreenReaderBus::startOnSessionBus(const QProcessEnvironment& environment, QString* error)
{
    if (!QFile::exists(launcherProgram)) {
        *error = QStringLiteral("at-spi-bus-launcher is not installed (package at-spi2-core)");
        return false;
    }
    m_sessionAddress = environment.value(busVariable);
    QProcessEnvironment own = environment;
    own.remove(QStringLiteral("AT_SPI_BUS_ADDRESS"));
    m_launcher = std::make_unique<QProcess>();
    m_launcher->setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    m_launcher->setProcessEnvironment(own);
    m_launcher->start(launcherProgram, {QStringLiteral("--launch-immediately")});
    if (!m_launcher->waitForStarted()) {
        *error = QStringLiteral("at-spi-bus-launcher did not start");
        return false;
    }
    if (!DesktopSession::waitFor([&] { return launcherAnswers(); }, 10000)) {
        *error = QStringLiteral("the AT-SPI bus launcher never told its bus's address on ") +
                 m_sessionAddress;
        return false;
    }
    return true;
}

bool ScreenReaderBus::launcherAnswers() const
{
    const QString name = QStringLiteral("traymate-test-screen-reader-bus");
    bool answers = false;
    {
        QDBusConnection bus = QDBusConnection::connectToBus(m_sessionAddress, name);
        QDBusMessage ask = QDBusMessage::createMethodCall(
            QStringLiteral("org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
            QStringLiteral("org.a11y.Bus"), QStringLiteral("GetAddress"));
        // A bus with the desktop's services would start a launcher of its own.
        ask.setAutoStartService(false);
        const QDBusMessage reply = bus.call(ask, QDBus::Block, 2000);
        answers = reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty() &&
                  !reply.arguments().constFirst().toString().isEmpty();
    }
    QDBusConnection::disconnectFromBus(name);
    return answers;
}

void ScreenReaderBus::addTo(QProcessEnvironment& environment) const
{
    environment.insert(busVariable, m_sessionAddress);
    environment.remove(QStringLiteral("AT_SPI_BUS_ADDRESS"));
    environment.insert(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"), QStringLiteral("1"));
}
