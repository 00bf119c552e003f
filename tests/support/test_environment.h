#pragma once

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// Every test process gets its own HOME and XDG folders before Qt starts, so no test ever
// reads or writes the user's real files.
class TestEnvironment {
public:
    TestEnvironment()
    {
        const QString root = m_root.path();
        const std::pair<const char*, const char*> folders[] = {
            {"HOME", "home"},
            {"XDG_DATA_HOME", "data"},
            {"XDG_CONFIG_HOME", "config"},
            {"XDG_CACHE_HOME", "cache"},
            {"XDG_STATE_HOME", "state"},
            {"XDG_RUNTIME_DIR", "runtime"},
        };
        for (const auto& [variable, name] : folders) {
            const QString path = root + QLatin1Char('/') + QLatin1String(name);
            QDir().mkpath(path);
            qputenv(variable, QFile::encodeName(path));
        }
        QFile::setPermissions(root + QStringLiteral("/runtime"),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        // Run inside a desktop session, the suite must not pick up its choices: the program
        // reads these to choose its dock, hot key, display server, update feed and login entry.
        // A test that wants one sets it itself.
        for (const char* variable : sessionVariables)
            qunsetenv(variable);
        // Nor reach the desktop's own session bus: outside the private bus a test asks for
        // (private_bus.h), D-Bus calls find nobody at once.
        if (qEnvironmentVariableIsEmpty("TRAYMATE_TEST_PRIVATE_BUS"))
            qputenv("DBUS_SESSION_BUS_ADDRESS",
                    "unix:path=" + QFile::encodeName(root) + "/no-session-bus");
        // GSettings never reaches the desktop's real settings (dconf, the GNOME dash's
        // favourites): they stay in memory, or in a key file under the private config folder
        // when a test asks for that.
        if (qgetenv("GSETTINGS_BACKEND") != "keyfile")
            qputenv("GSETTINGS_BACKEND", "memory");
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
    }

    QString root() const { return m_root.path(); }

    static constexpr const char* sessionVariables[] = {
        "XDG_CURRENT_DESKTOP",    "XDG_SESSION_DESKTOP",
        "DESKTOP_SESSION",        "XDG_SESSION_TYPE",
        "WAYLAND_DISPLAY",        "TRAYMATE_DOCK",
        "TRAYMATE_HOTKEY",        "TRAYMATE_UPDATE_FEED",
        "TRAYMATE_DOWNLOAD_PAGE", "APPIMAGE",
        "DESKTOP_AUTOSTART_ID",   "DESKTOP_STARTUP_ID",
        "XDG_ACTIVATION_TOKEN",   "GSETTINGS_SCHEMA_DIR",
    };

private:
    QTemporaryDir m_root;
};

#define TRAYMATE_TEST_MAIN(TestClass)                                                              \
    int main(int argc, char** argv)                                                                \
    {                                                                                              \
        TestEnvironment environment;                                                               \
        QApplication app(argc, argv);                                                              \
        TestClass test;                                                                            \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&test, argc, argv);                                                    \
    }
