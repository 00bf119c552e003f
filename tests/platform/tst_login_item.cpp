#include "platform/linux/autostart_entry.h"
#include "platform/login_item.h"
#include "test_environment.h"
#include "test_files.h"

#include <QStandardPaths>
#include <gio/gdesktopappinfo.h>

namespace {

QString autostartFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/autostart");
}

QByteArray entryFor(const QString& program, const QByteArray& extra = {})
{
    return "[Desktop Entry]\nType=Application\nName=Traymate\nExec=" + QFile::encodeName(program) +
           "\n" + extra;
}

} // namespace

class LoginItemTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup()
    {
        QDir(autostartFolder()).removeRecursively();
        QFile::remove(autostartFolder());
        qunsetenv("APPIMAGE");
    }

    void registerWritesAnEntryThatStartsThisProgram()
    {
        QCOMPARE(LoginItem::entryPath(), autostartFolder() + QStringLiteral("/traymate.desktop"));
        QVERIFY(!LoginItem::isEnabled());
        QVERIFY(LoginItem::registerItem());
        QVERIFY(LoginItem::isEnabled());

        // Read back the way the desktop's session manager reads it.
        GDesktopAppInfo* info =
            g_desktop_app_info_new_from_filename(QFile::encodeName(LoginItem::entryPath()));
        QVERIFY(info);
        QCOMPARE(QString::fromUtf8(g_app_info_get_executable(G_APP_INFO(info))),
                 QCoreApplication::applicationFilePath());
        QCOMPARE(g_desktop_app_info_get_string(info, "X-KDE-autostart-after"), "panel");
        gchar* delay = g_desktop_app_info_get_string(info, "X-GNOME-Autostart-Delay");
        QVERIFY(QByteArray(delay).toInt() > 0);
        g_free(delay);
        QVERIFY(!g_desktop_app_info_get_is_hidden(info));
        g_object_unref(info);

        QVERIFY(LoginItem::unregisterItem());
        QVERIFY(!QFile::exists(LoginItem::entryPath()));
        QVERIFY(!LoginItem::isEnabled());
        QVERIFY(LoginItem::unregisterItem());
    }

    void registerReplacesADisabledEntry()
    {
        const QString program = QCoreApplication::applicationFilePath();
        QVERIFY(writeFile(LoginItem::entryPath(), entryFor(program, "Hidden=true\n")));
        QVERIFY(!LoginItem::isEnabled());
        QVERIFY(LoginItem::registerItem());
        QVERIFY(LoginItem::isEnabled());
        QVERIFY(!readFile(LoginItem::entryPath()).contains("Hidden"));
    }

    void statusIsOnOnlyForAnEnabledEntryOfThisProgram_data()
    {
        const QString program = QCoreApplication::applicationFilePath();
        const QString link = QDir::homePath() + QStringLiteral("/bin/traymate-link");
        QDir().mkpath(QFileInfo(link).path());
        QFile::link(program, link);

        QTest::addColumn<QByteArray>("entry");
        QTest::addColumn<bool>("on");
        QTest::newRow("plain") << entryFor(program) << true;
        QTest::newRow("with arguments") << entryFor(program + QStringLiteral(" --flag %U")) << true;
        QTest::newRow("through a link") << entryFor(link) << true;
        QTest::newRow("by name on the path") << entryFor(QStringLiteral("traymate-link")) << true;
        QTest::newRow("hidden") << entryFor(program, "Hidden=true\n") << false;
        QTest::newRow("gnome disabled")
            << entryFor(program, "X-GNOME-Autostart-enabled=false\n") << false;
        QTest::newRow("gnome enabled")
            << entryFor(program, "X-GNOME-Autostart-enabled=true\n") << true;
        QTest::newRow("another program") << entryFor(QStringLiteral("/usr/bin/true")) << false;
        QTest::newRow("a link entry")
            << QByteArray("[Desktop Entry]\nType=Link\nURL=file:///\nExec=" +
                          QFile::encodeName(program) + "\n")
            << false;
        QTest::newRow("no exec") << QByteArray("[Desktop Entry]\nType=Application\n") << false;
        QTest::newRow("unbalanced quote") << entryFor(QStringLiteral("\"") + program) << false;
        QTest::newRow("not a key file") << QByteArray("\x01\x02garbage") << false;
    }

    void statusIsOnOnlyForAnEnabledEntryOfThisProgram()
    {
        QFETCH(QByteArray, entry);
        QFETCH(bool, on);
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(QDir::homePath() + QStringLiteral("/bin:")) + path);
        QVERIFY(writeFile(LoginItem::entryPath(), entry));
        const bool enabled = LoginItem::isEnabled();
        qputenv("PATH", path);
        QCOMPARE(enabled, on);
    }

    // The session starts the entry through GIO here, so the Exec line must survive its
    // quoting, field codes and key-file escapes for any file name.
    void execLineStartsProgramsWithAwkwardNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("spaces") << QStringLiteral("My Apps/trAy mate");
        QTest::newRow("shell characters") << QStringLiteral("a \"b\" $HOME `c` \\d;e&f");
        QTest::newRow("newline and tab") << QStringLiteral("line\nbreak\tand tab");
        QTest::newRow("non ascii") << QStringLiteral("Ünïcødé/トレイ");
    }

    void execLineStartsProgramsWithAwkwardNames()
    {
        QFETCH(QString, name);
        const QString program = QDir::homePath() + QStringLiteral("/odd/") + name;
        const QString marker = QDir::homePath() + QStringLiteral("/started");
        QFile::remove(marker);
        QVERIFY(writeFile(program, "#!/bin/sh\necho \"$0\" > \"$HOME/started\"\n"));
        QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        QVERIFY(writeFile(LoginItem::entryPath(), AutostartEntry::text(program)));
        QVERIFY(AutostartEntry::starts(LoginItem::entryPath(), program));

        GDesktopAppInfo* info =
            g_desktop_app_info_new_from_filename(QFile::encodeName(LoginItem::entryPath()));
        QVERIFY(info);
        GError* error = nullptr;
        const bool launched = g_app_info_launch(G_APP_INFO(info), nullptr, nullptr, &error);
        g_object_unref(info);
        QVERIFY2(launched, error ? error->message : "");
        QTRY_VERIFY(QFileInfo(marker).size() > 0);
        QCOMPARE(QString::fromUtf8(readFile(marker)).chopped(1), program);
    }

    // Other readers of the entry are less forgiving than GLib: keep the escapes exact.
    void execLineKeepsTheEscapeRulesExactly()
    {
        const QByteArray simple = AutostartEntry::text(QStringLiteral("/opt/traymate/traymate"));
        QVERIFY(simple.contains("\nExec=/opt/traymate/traymate\n"));
        const QByteArray quoted = AutostartEntry::text(QStringLiteral("/a b/\"$`\\"));
        QVERIFY(quoted.contains("\nExec=\"/a b/\\\\\"\\\\$\\\\`\\\\\\\\\"\n"));

        const QString program = QDir::homePath() + QStringLiteral("/100%/%U %f");
        QVERIFY(writeFile(program, "x"));
        const QByteArray text = AutostartEntry::text(program);
        QVERIFY(text.contains("100%%/%%U %%f"));
        QVERIFY(writeFile(LoginItem::entryPath(), text));
        QVERIFY(AutostartEntry::starts(LoginItem::entryPath(), program));
    }

    void refusedWritesAndRemovalsFail()
    {
        // A plain file where the folder belongs: even root cannot write into it.
        QVERIFY(writeFile(autostartFolder(), "not a folder"));
        QVERIFY(!LoginItem::registerItem());
        QVERIFY(!LoginItem::isEnabled());
        cleanup();

        // A folder in place of the entry cannot be removed as a file.
        QVERIFY(writeFile(LoginItem::entryPath() + QStringLiteral("/keep"), "x"));
        QVERIFY(!LoginItem::unregisterItem());
        QVERIFY(!LoginItem::isEnabled());
    }

    void appImageIsStartedRatherThanItsMountedExecutable()
    {
        QCOMPARE(LoginItem::programPath(), QCoreApplication::applicationFilePath());
        const QString image = QDir::homePath() + QStringLiteral("/Traymate.AppImage");
        QVERIFY(writeFile(image, "image"));
        qputenv("APPIMAGE", QFile::encodeName(image));
        QCOMPARE(LoginItem::programPath(), image);
        qputenv("APPIMAGE", "relative.AppImage");
        QCOMPARE(LoginItem::programPath(), QCoreApplication::applicationFilePath());
    }
};

TRAYMATE_TEST_MAIN(LoginItemTest)
#include "tst_login_item.moc"
