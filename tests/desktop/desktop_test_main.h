#pragma once

#include "desktop_session.h"
#include "private_bus.h"
#include "test_environment.h"

#include <QCoreApplication>
#include <cstdio>

// For test programs whose own QApplication must live on a real X desktop: the program starts a
// DesktopSession, runs itself again inside it on the xcb platform, and passes on the result.
inline int runInsideDesktopSession(int argc, char** argv, DesktopSession::Pieces pieces = {})
{
    QCoreApplication app(argc, argv);
    DesktopSession desktop;
    QString error;
    if (!desktop.start(&error, pieces)) {
        std::fprintf(stderr, "FAIL!  : no X desktop: %s\n", qPrintable(error));
        return 1;
    }
    QProcessEnvironment environment = desktop.environment();
    environment.insert("TRAYMATE_INSIDE_DESKTOP", "1");
    QProcess inside;
    inside.setProcessEnvironment(environment);
    inside.setProcessChannelMode(QProcess::ForwardedChannels);
    QStringList arguments = QCoreApplication::arguments();
    inside.start(arguments.takeFirst(), arguments);
    if (!inside.waitForFinished(280000))
        return 1;
    return inside.exitStatus() == QProcess::NormalExit ? inside.exitCode() : 1;
}

// For tests of a desktop's own programs (its panel, its dock): the program runs itself again on
// a desktop without tray or compositor, inside a session bus of its own, so the programs it
// starts there meet only each other.
inline int runInsideDesktopOnPrivateBus(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    DesktopSession desktop;
    QString error;
    if (!desktop.start(&error, {.tray = false, .compositor = false})) {
        std::fprintf(stderr, "FAIL!  : no X desktop: %s\n", qPrintable(error));
        return 1;
    }
    QProcessEnvironment inner = desktop.environment();
    inner.insert("TRAYMATE_INSIDE_DESKTOP", "1");
    return rerunOnPrivateBus(inner);
}

// The test runs on its own desktop and bus, with the "NAME=value" settings given, and without
// the accessibility bridge, which would look for a bus of its own.
#define TRAYMATE_DESKTOP_BUS_TEST_MAIN(TestClass, ...)                                             \
    int main(int argc, char** argv)                                                                \
    {                                                                                              \
        TestEnvironment environment;                                                               \
        if (qEnvironmentVariableIsEmpty("TRAYMATE_INSIDE_DESKTOP"))                                \
            return runInsideDesktopOnPrivateBus(argc, argv);                                       \
        setInside({"NO_AT_BRIDGE=1", __VA_ARGS__});                                                \
        QApplication app(argc, argv);                                                              \
        TestClass test;                                                                            \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&test, argc, argv);                                                    \
    }

// The test runs on its own desktop with the pieces given (DesktopSession::Pieces).
#define TRAYMATE_DESKTOP_TEST_MAIN_WITH(TestClass, pieces)                                         \
    int main(int argc, char** argv)                                                                \
    {                                                                                              \
        TestEnvironment environment;                                                               \
        if (qEnvironmentVariableIsEmpty("TRAYMATE_INSIDE_DESKTOP"))                                \
            return runInsideDesktopSession(argc, argv, pieces);                                    \
        QApplication app(argc, argv);                                                              \
        TestClass test;                                                                            \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&test, argc, argv);                                                    \
    }

#define TRAYMATE_DESKTOP_TEST_MAIN(TestClass) TRAYMATE_DESKTOP_TEST_MAIN_WITH(TestClass, {})
