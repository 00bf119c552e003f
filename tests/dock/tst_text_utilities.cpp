#include "dock/xml_escape.h"
#include "dock/tool_runner.h"
#include "dock_fixture.h"
#include "platform/display_name.h"
#include "test_environment.h"

#include <QTemporaryDir>

class TextUtilitiesTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

    QString script(const QString& name, const QByteArray& body)
    {
        const QString path = dir.filePath(name);
        DockTest::writeFile(path, "#!/bin/sh\n" + body);
        QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner);
        return path;
    }

private Q_SLOTS:
    void runToolPassesArgumentsVerbatimAndReturnsStandardOutput()
    {
        const QString tool = script("echo-args", "for a; do printf '%s\\0' \"$a\"; done\n"
                                                 "echo ignored >&2\n");
        const QStringList arguments = {
            "two words", "\"quoted\" 'single'", "<a&b>", "line\nbreak", "$HOME", "*", ""};
        const QByteArray output = runTool(tool, arguments);
        QStringList seen = QString::fromUtf8(output).split(QChar(0));
        QCOMPARE(seen.takeLast(), QString());
        QCOMPARE(seen, arguments);
    }

    void runToolGivesNothingForToolsThatCannotStartOrPrintOnlyErrors()
    {
        QVERIFY(runTool(dir.filePath("missing"), {"x"}).isEmpty());
        QVERIFY(runTool(QString(), {}).isEmpty());
        const QString plain = dir.filePath("not-executable");
        DockTest::writeFile(plain, "#!/bin/sh\necho hi\n");
        QVERIFY(runTool(plain, {}).isEmpty());
        QVERIFY(runTool(script("errors", "echo oops >&2\nexit 3\n"), {}).isEmpty());
    }

    void runToolReadsMoreThanAPipeHoldsAndNeverWaitsForInput()
    {
        // 1 MiB is far beyond a pipe's buffer; `cat` would wait forever on an open input.
        const QString big = script("big", "head -c 1048576 /dev/zero | tr '\\0' x\n");
        const QByteArray output = runTool(big, {});
        QCOMPARE(output.size(), 1048576);
        QCOMPARE(output.count('x'), 1048576);
        QCOMPARE(runTool(script("reader", "cat; echo done\n"), {}), QByteArray("done\n"));
    }

    void runToolNeverSearchesThePath()
    {
        // A bare name is a file in the current folder, not a command found on PATH.
        QVERIFY(runTool(QStringLiteral("sh"), {"-c", "echo found"}).isEmpty());
    }

    void xmlEscapeReplacesTheThreeMarkupCharactersOnly()
    {
        QCOMPARE(xmlEscape("a & b < c > d \"e\" 'f'"),
                 QStringLiteral("a &amp; b &lt; c &gt; d \"e\" 'f'"));
        QCOMPARE(xmlEscape("&amp;"), QStringLiteral("&amp;amp;"));
        QCOMPARE(xmlEscape("<<>>"), QStringLiteral("&lt;&lt;&gt;&gt;"));
        QCOMPARE(xmlEscape("Café ☕"), QStringLiteral("Café ☕"));
    }

    void displayNameDropsAFinalDotAppOnly()
    {
        QDir().mkpath(dir.filePath("Safari.app"));
        QDir().mkpath(dir.filePath("Loud.APP"));
        DockTest::writeFile(dir.filePath("notes.txt"), "");
        QCOMPARE(displayName(dir.filePath("Safari.app")), QStringLiteral("Safari"));
        QCOMPARE(displayName(dir.filePath("Safari.app/")), QStringLiteral("Safari"));
        QCOMPARE(displayName(dir.filePath("Loud.APP")), QStringLiteral("Loud.APP"));
        QCOMPARE(displayName(dir.filePath("notes.txt")), QStringLiteral("notes.txt"));
        QCOMPARE(displayName("/nowhere/Gone.app"), QStringLiteral("Gone"));
        QCOMPARE(displayName("/nowhere/folder/"), QStringLiteral("folder"));
        QCOMPARE(displayName("/"), QStringLiteral("/"));
    }

    void displayNameOfADesktopEntryIsItsLocalisedName()
    {
        const QString entry = dir.filePath("org.example.Editor.desktop");
        DockTest::writeFile(entry, "[Desktop Entry]\nType=Application\nName=Editor\n"
                                   "Name[de]=Bearbeiter\nExec=true\n");
        QCOMPARE(displayName(entry), QStringLiteral("Editor"));

        const QByteArray oldLanguage = qgetenv("LANGUAGE");
        qputenv("LANGUAGE", "de");
        const QString german = displayName(entry);
        qputenv("LANGUAGE", oldLanguage);
        QCOMPARE(german, QStringLiteral("Bearbeiter"));

        const QString bundleLike = dir.filePath("Tool.app.desktop");
        DockTest::writeFile(bundleLike,
                            "[Desktop Entry]\nType=Application\nName=Tool.app\nExec=true\n");
        QCOMPARE(displayName(bundleLike), QStringLiteral("Tool"));

        // Not a readable entry: the file's own name.
        const QString broken = dir.filePath("broken.desktop");
        DockTest::writeFile(broken, "garbage");
        QCOMPARE(displayName(broken), QStringLiteral("broken.desktop"));
    }
};

TRAYMATE_TEST_MAIN(TextUtilitiesTest)
#include "tst_text_utilities.moc"
