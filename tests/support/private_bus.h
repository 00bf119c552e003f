#pragma once

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QStringList>
#include <csignal>
#include <cstdio>
#include <sys/prctl.h>

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
