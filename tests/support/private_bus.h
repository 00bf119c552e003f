#pragma once

#include "test_environment.h"

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QStringList>
#include <csignal>
#include <cstdio>
#include <initializer_list>
#include <sys/prctl.h>

// True in the run inside the private bus.
inline bool onPrivateBus()
{
    return !qEnvironmentVariableIsEmpty("TRAYMATE_TEST_PRIVATE_BUS");
}

// Runs this test program again inside `dbus-run-session`, with `environment` less the outer
// session bus, so its D-Bus services and clients never meet the desktop's own bus. The inner
// run dies with this process; its exit code is the result. Fails when dbus-run-session is missing.
inline int rerunOnPrivateBus(QProcessEnvironment environment)
{
    if (QStandardPaths::findExecutable(QStringLiteral("dbus-run-session")).isEmpty()) {
        std::fprintf(stderr, "FAIL!  : dbus-run-session is not installed (package dbus)\n");
        return 1;
    }
    environment.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    environment.insert(QStringLiteral("TRAYMATE_TEST_PRIVATE_BUS"), QStringLiteral("1"));
    QProcess inside;
    inside.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    inside.setProcessEnvironment(environment);
    inside.setProcessChannelMode(QProcess::ForwardedChannels);
    QStringList arguments = QCoreApplication::arguments();
    const QString self = arguments.takeFirst();
    inside.start(QStringLiteral("dbus-run-session"),
                 QStringList{QStringLiteral("--"), self} + arguments);
    if (!inside.waitForFinished(280000)) {
        inside.kill();
        inside.waitForFinished(2000);
        return 1;
    }
    return inside.exitStatus() == QProcess::NormalExit ? inside.exitCode() : 1;
}

// Sets "NAME=value" settings for the run inside, after the test environment has cleared the
// session's own.
inline void setInside(std::initializer_list<const char*> settings)
{
    for (const char* setting : settings) {
        const QByteArray pair(setting);
        const qsizetype equals = pair.indexOf('=');
        qputenv(pair.left(equals).constData(), pair.mid(equals + 1));
    }
}

// The test runs inside a session bus of its own, where the services and stand-ins it starts
// take their names without touching the user's session, under an `Application` (QApplication
// for widgets, else QCoreApplication) and with the "NAME=value" settings given.
#define TRAYMATE_PRIVATE_BUS_TEST_MAIN(TestClass, Application, ...)                                \
    int main(int argc, char** argv)                                                                \
    {                                                                                              \
        TestEnvironment environment;                                                               \
        if (!onPrivateBus()) {                                                                     \
            QCoreApplication app(argc, argv);                                                      \
            return rerunOnPrivateBus(QProcessEnvironment::systemEnvironment());                    \
        }                                                                                          \
        setInside({__VA_ARGS__});                                                                  \
        Application app(argc, argv);                                                               \
        TestClass test;                                                                            \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
