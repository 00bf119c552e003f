#pragma once

#include "desktop_session.h"
#include "test_environment.h"

#include <QCoreApplication>
#include <cstdio>

// For test programs whose own QApplication must live on a real X desktop: the program starts a
// DesktopSession, runs itself again inside it on the xcb platform, and passes on the result.
inline int runInsideDesktopSession(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    DesktopSession desktop;
    QString error;
    if (!desktop.start(&error)) {
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

#define TRAYMATE_DESKTOP_TEST_MAIN(TestClass)                                                      \
    int main(int argc, char** argv)                                                                \
    {                                                                                              \
        TestEnvironment environment;                                                               \
        if (qEnvironmentVariableIsEmpty("TRAYMATE_INSIDE_DESKTOP"))                                \
            return runInsideDesktopSession(argc, argv);                                            \
        QApplication app(argc, argv);                                                              \
        TestClass test;                                                                            \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
