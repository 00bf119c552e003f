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
        // GSettings never reaches the desktop's real settings (dconf, the GNOME dash's
        // favourites): they stay in memory, or in a key file under the private config folder
        // when a test asks for that.
        if (qgetenv("GSETTINGS_BACKEND") != "keyfile")
            qputenv("GSETTINGS_BACKEND", "memory");
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
    }

    QString root() const { return m_root.path(); }

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
