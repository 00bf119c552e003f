#include "app/url_opening.h"
#include "desktop_entry_checks.h"
#include "platform/desktop.h"
#include "platform/linux/url_scheme.h"
#include "test_environment.h"

#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <glib.h>
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
const QString id = QStringLiteral("0A1B2C3D-4E5F-6071-8293-A4B5C6D7E8F9");

QString readText(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QByteArray readBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString mimeappsPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           "/mimeapps.list";
}

// This thread's file access as an ordinary user while it lives, so that file modes bind even
// when the tests run as root: `folder` becomes writable and its parents searchable for that
// user, and everything goes back afterwards.
class AsOrdinaryUser {
public:
    explicit AsOrdinaryUser(const QString& folder)
    {
        if (::geteuid() != 0)
            return;
        for (QString path = folder; path != "/"; path = QFileInfo(path).path()) {
            struct stat info {};
            const QByteArray name = QFile::encodeName(path);
            if (::stat(name.constData(), &info) != 0)
                continue;
            const mode_t wanted = info.st_mode | S_IXOTH | (path == folder ? S_IWOTH : 0);
            if ((info.st_mode & 07777) == (wanted & 07777))
                continue;
            m_changed.append({name, info.st_mode & 07777});
            ::chmod(name.constData(), wanted & 07777);
        }
        ::setfsgid(65534);
        ::setfsuid(65534);
        m_dropped = true;
    }
    ~AsOrdinaryUser()
    {
        if (!m_dropped)
            return;
        ::setfsuid(0);
        ::setfsgid(0);
        for (const auto& [name, mode] : m_changed)
            ::chmod(name.constData(), mode);
    }

private:
    bool m_dropped = false;
    QList<std::pair<QByteArray, mode_t>> m_changed;
};
} // namespace

// The traymate:// URL rules, and the desktop entry and mimeapps.list that route the scheme.
class UrlRulesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void groupIdOfUrl_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<bool>("opens");
        QTest::newRow("launcher form") << "traymate://group/" + id << true;
        QTest::newRow("lower-case id") << "traymate://group/" + id.toLower() << true;
        QTest::newRow("other host") << "traymate://elsewhere/" + id << true;
        QTest::newRow("no host, deeper path") << "traymate:///a/b/" + id << true;
        QTest::newRow("trailing slash") << "traymate://group/" + id + "/" << true;
        QTest::newRow("upper-case scheme") << "TRAYMATE://group/" + id << false;
        QTest::newRow("mixed-case scheme") << "Traymate://group/" + id << false;
        QTest::newRow("other scheme") << "file:///group/" + id << false;
        QTest::newRow("no scheme") << "/group/" + id << false;
        QTest::newRow("id as host") << "traymate://" + id << false;
        QTest::newRow("id not last") << "traymate://group/" + id + "/x" << false;
        QTest::newRow("braced id") << "traymate://group/{" + id + "}" << false;
        QTest::newRow("short id") << QStringLiteral("traymate://group/0A1B2C3D") << false;
        QTest::newRow("empty") << QString() << false;
    }
    void groupIdOfUrl()
    {
        QFETCH(QString, url);
        QFETCH(bool, opens);
        const std::optional<QUuid> parsed = ::groupIdOfUrl(url);
        QCOMPARE(parsed.has_value(), opens);
        if (opens)
            QCOMPARE(*parsed, QUuid::fromString(id));
    }

    void execArgumentIsQuotedWhereNeeded()
    {
        QCOMPARE(UrlScheme::execArgument("/usr/bin/traymate"), QStringLiteral("/usr/bin/traymate"));
        QCOMPARE(UrlScheme::execArgument("/opt/My Apps/traymate"),
                 QStringLiteral("\"/opt/My Apps/traymate\""));
        // Inside quotes $ and " are escaped with a backslash, which the entry then doubles.
        QCOMPARE(UrlScheme::execArgument("/a$b/\"x\"/t"),
                 QStringLiteral("\"/a\\\\$b/\\\\\"x\\\\\"/t\""));
        QCOMPARE(UrlScheme::execArgument("/100%/traymate"),
                 QStringLiteral("/usr/bin/env /100%%/traymate"));
        const QString entry = UrlScheme::desktopEntry("/opt/tm/traymate");
        QVERIFY(entry.contains("\nExec=/opt/tm/traymate %u\n"));
        QVERIFY(entry.contains("\nMimeType=x-scheme-handler/traymate;\n"));
    }

    void defaultHandlerKeepsEveryOtherLine()
    {
        QCOMPARE(
            UrlScheme::withDefaultHandler(QByteArray()),
            QByteArray("[Default Applications]\nx-scheme-handler/traymate=traymate.desktop\n"));

        const QByteArray before = QByteArray("# mine\n"
                                             "[Added Associations]\n"
                                             "x-scheme-handler/traymate=other.desktop;\n"
                                             "\n"
                                             "[Default Applications]\n"
                                             "text/plain=gedit.desktop\n"
                                             "x-scheme-handler/traymate = old.desktop\n"
                                             "image/png=eog.desktop\n"
                                             "x-scheme-handler/traymate=older.desktop\n"
                                             "[Removed Associations]\n"
                                             "x-scheme-handler/traymate=x.desktop\n");
        const QByteArray after = QByteArray("# mine\n"
                                            "[Added Associations]\n"
                                            "x-scheme-handler/traymate=other.desktop;\n"
                                            "\n"
                                            "[Default Applications]\n"
                                            "text/plain=gedit.desktop\n"
                                            "x-scheme-handler/traymate=traymate.desktop\n"
                                            "image/png=eog.desktop\n"
                                            "[Removed Associations]\n"
                                            "x-scheme-handler/traymate=x.desktop\n");
        QCOMPARE(UrlScheme::withDefaultHandler(before), after);
        QCOMPARE(UrlScheme::withDefaultHandler(after), after);

        const QByteArray noSection = QByteArray("[Added Associations]\ntext/plain=a.desktop");
        QCOMPARE(UrlScheme::withDefaultHandler(noSection),
                 QByteArray("[Added Associations]\ntext/plain=a.desktop\n\n[Default "
                            "Applications]\nx-scheme-handler/traymate=traymate.desktop\n"));
    }

    void registrationWritesOnlyWhatChanged()
    {
        const QString entry =
            QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
            "/applications/traymate.desktop";
        const QString mimeapps =
            QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
            "/mimeapps.list";
        QVERIFY(entry.startsWith(qEnvironmentVariable("XDG_DATA_HOME")));
        {
            QFile file(mimeapps);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("[Default Applications]\ntext/plain=gedit.desktop\n");
        }

        Desktop::registerUrlScheme("/opt/tm/traymate");
        QCOMPARE(readText(entry), UrlScheme::desktopEntry("/opt/tm/traymate"));
        QCOMPARE(readText(mimeapps), QStringLiteral("[Default Applications]\n"
                                                    "x-scheme-handler/traymate=traymate.desktop\n"
                                                    "text/plain=gedit.desktop\n"));

        const QDateTime written = QFileInfo(entry).lastModified();
        QThread::msleep(20);
        Desktop::registerUrlScheme("/opt/tm/traymate");
        QCOMPARE(QFileInfo(entry).lastModified(), written);

        // A program that moved is registered at its new place.
        Desktop::registerUrlScheme("/usr/local/bin/traymate");
        QVERIFY(readText(entry).contains("Exec=/usr/local/bin/traymate %u"));
    }

    // Other programs' associations live in the same file: one that cannot be read is never
    // replaced by a file holding only ours.
    void anUnreadableMimeappsIsLeftAlone()
    {
        const QString mimeapps = mimeappsPath();
        const QByteArray theirs = "[Default Applications]\ntext/plain=gedit.desktop\n";
        {
            QFile file(mimeapps);
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(theirs);
        }
        QVERIFY(QFile::setPermissions(mimeapps, {}));
        {
            const AsOrdinaryUser user(QFileInfo(mimeapps).path());
            QVERIFY(!QFile(mimeapps).open(QIODevice::ReadOnly));
            Desktop::registerUrlScheme("/opt/tm/traymate");
        }
        QVERIFY(QFile::setPermissions(mimeapps, QFile::ReadOwner | QFile::WriteOwner));
        QCOMPARE(readBytes(mimeapps), theirs);
    }

    void bytesThatAreNotUtf8StayAsTheyWere()
    {
        const QString mimeapps = mimeappsPath();
        const QByteArray before = "# caf\xe9 \xff\xfe\r\n"
                                  "[Default Applications]\r\n"
                                  "text/x-l\xe4tin=\xc3(.desktop\r\n";
        {
            QFile file(mimeapps);
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(before);
        }
        Desktop::registerUrlScheme("/opt/tm/traymate");
        QCOMPARE(readBytes(mimeapps), QByteArray("# caf\xe9 \xff\xfe\r\n"
                                                 "[Default Applications]\r\n"
                                                 "x-scheme-handler/traymate=traymate.desktop\n"
                                                 "text/x-l\xe4tin=\xc3(.desktop\r\n"));
    }

    void theHandlerEntryStartsTheProgramWhereverItIs_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::newRow("plain") << QStringLiteral("bin");
        QTest::newRow("percent") << QStringLiteral("100% sure %u");
        QTest::newRow("quotes and dollar") << QStringLiteral("it's \"$HOME\" `x`");
        QTest::newRow("backslash") << QStringLiteral("back\\slash");
        QTest::newRow("line break") << QStringLiteral("two\nlines\ttab");
    }
    void theHandlerEntryStartsTheProgramWhereverItIs()
    {
        QFETCH(QString, folder);
        const QTemporaryDir base;
        const QString program = base.filePath(folder + "/traymate");
        QDir().mkpath(QFileInfo(program).path());
        {
            QFile file(program);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("#!/bin/sh\n");
        }
        QVERIFY(
            QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        Desktop::registerUrlScheme(program);
        const QString entry =
            QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
            "/applications/traymate.desktop";
        QCOMPARE(DesktopEntryChecks::validatorComplaints(entry), QString());
        QVERIFY(DesktopEntryChecks::gioAccepts(entry));

        GKeyFile* file = g_key_file_new();
        QVERIFY(g_key_file_load_from_file(file, QFile::encodeName(entry).constData(),
                                          G_KEY_FILE_NONE, nullptr));
        gchar* exec = g_key_file_get_string(file, "Desktop Entry", "Exec", nullptr);
        g_key_file_free(file);
        gchar** argv = nullptr;
        QVERIFY(g_shell_parse_argv(exec, nullptr, &argv, nullptr));
        g_free(exec);
        QStringList arguments;
        for (gchar** a = argv; *a; ++a)
            arguments.append(QString::fromUtf8(*a).replace("%%", "%"));
        g_strfreev(argv);
        QCOMPARE(arguments.takeLast(), QStringLiteral("%u"));
        QCOMPARE(arguments.last(), program);
        QVERIFY(QFileInfo(arguments.first()).isExecutable());
    }
};

TRAYMATE_TEST_MAIN(UrlRulesTest)
#include "tst_url_rules.moc"
