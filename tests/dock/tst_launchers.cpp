#include "desktop_entry_checks.h"
#include "dock/dock_import.h"
#include "dock/launcher_files.h"
#include "dock/launchers.h"
#include "dock/pinned_entries_dock.h"
#include "dock_fixture.h"
#include "model/store.h"
#include "test_environment.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <csignal>
#include <glib.h>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace DockTest;

namespace {

AppGroup group(const QString& name, QStringList apps = {})
{
    AppGroup g;
    g.id = QUuid::fromString(QStringLiteral("{0a1b2c3d-4e5f-4a6b-8c7d-9e0f1a2b3c4d}"));
    g.name = name;
    g.apps = std::move(apps);
    return g;
}

AppGroup another(const QString& name)
{
    AppGroup g;
    g.name = name;
    return g;
}

// The launcher bundles on disk, by file name.
QStringList bundleNames()
{
    return QDir(Launchers::root())
        .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                   QDir::Name);
}

bool scriptOpens(const QString& bundle, const AppGroup& g)
{
    return readAll(Launchers::scriptPath(bundle)) == Launchers::launchScript(g);
}

// While it lives no file can grow (a full disk, as far as writes go).
class NoFileCanGrow {
public:
    NoFileCanGrow()
    {
        ::getrlimit(RLIMIT_FSIZE, &m_was);
        m_handler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit none = m_was;
        none.rlim_cur = 0;
        ::setrlimit(RLIMIT_FSIZE, &none);
    }
    ~NoFileCanGrow()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_was);
        std::signal(SIGXFSZ, m_handler);
    }

private:
    rlimit m_was{};
    void (*m_handler)(int) = nullptr;
};

// What GLib, as the desktop does, reads from a desktop entry.
struct ParsedEntry {
    QStringList keys;
    QString name, exec, icon;
    QStringList argv;
};

ParsedEntry parseEntry(const QString& path)
{
    ParsedEntry parsed;
    GKeyFile* file = g_key_file_new();
    if (g_key_file_load_from_file(file, QFile::encodeName(path).constData(), G_KEY_FILE_NONE,
                                  nullptr)) {
        gsize count = 0;
        gchar** keys = g_key_file_get_keys(file, "Desktop Entry", &count, nullptr);
        for (gsize i = 0; keys && i < count; ++i)
            parsed.keys.append(QString::fromUtf8(keys[i]));
        g_strfreev(keys);
        const auto value = [&](const char* key) {
            gchar* text = g_key_file_get_string(file, "Desktop Entry", key, nullptr);
            QString result = QString::fromUtf8(text);
            g_free(text);
            return result;
        };
        parsed.name = value("Name");
        parsed.exec = value("Exec");
        parsed.icon = value("Icon");
        gchar** argv = nullptr;
        if (g_shell_parse_argv(parsed.exec.toUtf8().constData(), nullptr, &argv, nullptr)) {
            for (gchar** a = argv; *a; ++a)
                parsed.argv.append(
                    QString::fromUtf8(*a).replace(QLatin1String("%%"), QLatin1String("%")));
            g_strfreev(argv);
        }
    }
    g_key_file_free(file);
    return parsed;
}

} // namespace

class LaunchersTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

private Q_SLOTS:
    void cleanup()
    {
        QDir(Launchers::root()).removeRecursively();
        QDir(QFileInfo(Launchers::desktopEntryPath(QUuid())).path()).removeRecursively();
        Launchers::lastSignature.clear();
        QFile::remove(dir.filePath("dock.plist"));
    }

    void bundlesLiveInTheHomeFolderUnderTheirSafeName()
    {
        QCOMPARE(Launchers::root(), QDir::homePath() + "/Applications/Traymate Groups");
        QCOMPARE(Launchers::bundleURL("Work"), Launchers::root() + "/Work.app");
        QCOMPARE(Launchers::bundleURL("A/B//C"), Launchers::root() + "/A-B--C.app");
        QCOMPARE(Launchers::bundleURL("R&D <x>"), Launchers::root() + "/R&D <x>.app");
        QCOMPARE(Launchers::bundleURL(""), Launchers::root() + "/.app");
        QCOMPARE(Launchers::bundleURL("a/b"), Launchers::bundleURL("a-b"));
    }

    void makeWritesTheExactBundleFiles()
    {
        ScopedDock<RecordingDock> dock(dir.filePath("dock.plist"));
        const AppGroup g = group("R&D/<Lab>");
        const std::optional<QString> bundle = Launchers::make(g);
        QCOMPARE(bundle, Launchers::root() + "/R&D-<Lab>.app");
        QCOMPARE(readAll(*bundle + "/Contents/MacOS/launch"),
                 QByteArray("#!/bin/bash\nxdg-open \"traymate://group/"
                            "0A1B2C3D-4E5F-4A6B-8C7D-9E0F1A2B3C4D\"\n"));
        struct stat script {};
        QCOMPARE(::stat(QFile::encodeName(*bundle + "/Contents/MacOS/launch").constData(), &script),
                 0);
        QCOMPARE(script.st_mode & 07777, 0755u);
        QCOMPARE(readAll(*bundle + "/Contents/Info.plist"),
                 QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                            "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
                            "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
                            "<plist version=\"1.0\">\n<dict>\n"
                            "<key>CFBundleExecutable</key><string>launch</string>\n"
                            "<key>CFBundleIdentifier</key><string>org.traymate.Traymate.group."
                            "0A1B2C3D-4E5F-4A6B-8C7D-9E0F1A2B3C4D</string>\n"
                            "<key>CFBundleName</key><string>R&amp;D-&lt;Lab&gt;</string>\n"
                            "<key>CFBundlePackageType</key><string>APPL</string>\n"
                            "<key>CFBundleVersion</key><string>1</string>\n"
                            "<key>LSUIElement</key><true/>\n</dict>\n</plist>"));
        QVERIFY(!QImage(*bundle + "/Contents/Resources/icon.png").isNull());
        QCOMPARE(QImage(*bundle + "/Contents/Resources/icon.png").size(), QSize(512, 512));
        QVERIFY(dock->calls.isEmpty()); // building a bundle never touches the Dock
    }

    void makeOverwritesFileByFileAndStopsAtTheFirstFailure()
    {
        const AppGroup g = group("Work");
        const QString bundle = Launchers::bundleURL("Work");
        QDir().mkpath(bundle + "/Contents/MacOS");
        writeFile(bundle + "/Contents/MacOS/launch", "old");
        writeFile(bundle + "/Contents/extra.txt", "kept");
        QCOMPARE(Launchers::make(g), bundle);
        QCOMPARE(readAll(bundle + "/Contents/MacOS/launch"), Launchers::launchScript(g));
        QCOMPARE(readAll(bundle + "/Contents/extra.txt"), QByteArray("kept"));

        QDir(bundle).removeRecursively();
        writeFile(bundle + "/Contents/MacOS", "a file where the folder belongs");
        QFile::remove(Launchers::desktopEntryPath(g.id));
        QCOMPARE(Launchers::make(g), std::nullopt);
        QVERIFY(!QFileInfo::exists(Launchers::desktopEntryPath(g.id)));
    }

    void theDesktopEntryShowsTheLauncher()
    {
        const AppGroup g = group("Work");
        const QString bundle = *Launchers::make(g);
        const QString entry = Launchers::desktopEntryPath(g.id);
        QCOMPARE(entry,
                 qEnvironmentVariable("XDG_DATA_HOME") +
                     "/applications/traymate-group-0A1B2C3D-4E5F-4A6B-8C7D-9E0F1A2B3C4D.desktop");
        const ParsedEntry parsed = parseEntry(entry);
        QCOMPARE(parsed.name, QStringLiteral("Work"));
        QCOMPARE(parsed.argv, QStringList{bundle + "/Contents/MacOS/launch"});
        QCOMPARE(parsed.icon, bundle + "/Contents/Resources/icon.png");
        QCOMPARE(parsed.keys, (QStringList{"Type", "Version", "Name", "Exec", "Icon", "Terminal",
                                           "NoDisplay", "StartupNotify", "X-Traymate-Bundle"}));
    }

    void desktopEntryValuesCannotAddOrChangeKeys()
    {
        const QString hostile =
            QStringLiteral(" lead\nExec=rm -rf ~\r\\n;Icon=x;\t$HOME `id` \"q\" 100%\x01");
        const AppGroup g = group(hostile);
        const QString bundle = *Launchers::make(g);
        const ParsedEntry parsed = parseEntry(Launchers::desktopEntryPath(g.id));
        QCOMPARE(parsed.keys, (QStringList{"Type", "Version", "Name", "Exec", "Icon", "Terminal",
                                           "NoDisplay", "StartupNotify", "X-Traymate-Bundle"}));
        QString expectedName = hostile;
        expectedName.remove(QChar(1));
        QCOMPARE(parsed.name, expectedName);
        QCOMPARE(parsed.argv.last(), bundle + "/Contents/MacOS/launch");
        QCOMPARE(parsed.icon, bundle + "/Contents/Resources/icon.png");
    }

    void theSignatureCoversNamesIconsAndTheFirstFourItems()
    {
        AppGroup a = group("A", {"/1", "/2", "/3", "/4", "/5"});
        AppGroup b = group("B");
        b.icon = "/icons/b.png";
        QCOMPARE(Launchers::signature({a, b}), QStringLiteral("A||/1,/2,/3,/4;B|/icons/b.png|"));
        QCOMPARE(Launchers::signature({}), QString());

        AppGroup fifthChanged = a;
        fifthChanged.apps[4] = "/other";
        fifthChanged.id = QUuid::createUuid();
        QCOMPARE(Launchers::signature({fifthChanged, b}), Launchers::signature({a, b}));
        AppGroup emptyIcon = b;
        emptyIcon.icon = QString();
        QCOMPARE(Launchers::signature({emptyIcon}), Launchers::signature({group("B")}));
    }

    void refreshRedrawsOnlyExistingLaunchersAndOnlyAfterAChange()
    {
        ScopedDock<RecordingDock> dock(dir.filePath("dock.plist"));
        AppGroup withLauncher = group("Has");
        AppGroup without = group("Hasnt");
        without.id = QUuid::createUuid();
        const QString bundle = *Launchers::make(withLauncher);
        const QString png = Launchers::iconPath(bundle);
        const QString entry = Launchers::desktopEntryPath(withLauncher.id);

        QFile::remove(png);
        QFile::remove(entry);
        Launchers::refreshExisting({withLauncher, without});
        QVERIFY(QFileInfo::exists(png));
        QVERIFY(QFileInfo::exists(entry));
        QVERIFY(!QFileInfo::exists(Launchers::bundleURL("Hasnt")));
        QVERIFY(!QFileInfo::exists(Launchers::desktopEntryPath(without.id)));
        QCOMPARE(Launchers::lastSignature, Launchers::signature({withLauncher, without}));

        // Unchanged: nothing is composed or written.
        QFile::remove(png);
        Launchers::refreshExisting({withLauncher, without});
        QVERIFY(!QFileInfo::exists(png));

        // A change that no icon shows (the fifth item) still composes nothing.
        withLauncher.apps = {"/1", "/2", "/3", "/4", "/5"};
        Launchers::refreshExisting({withLauncher, without});
        QVERIFY(QFileInfo::exists(png));
        QFile::remove(png);
        withLauncher.apps[4] = "/6";
        Launchers::refreshExisting({withLauncher, without});
        QVERIFY(!QFileInfo::exists(png));
        QVERIFY(dock->calls.isEmpty());
    }

    void refreshNowRestartsTheDockOnlyForALauncher()
    {
        ScopedDock<RecordingDock> dock(dir.filePath("dock.plist"));
        Store& store = Store::shared();
        AppGroup has = group("Now");
        AppGroup hasnt = group("Never");
        hasnt.id = QUuid::createUuid();
        store.setGroups({has, hasnt});
        const QString bundle = *Launchers::make(has);
        Launchers::lastSignature = "something";

        Launchers::refreshNow(hasnt.id);
        Launchers::refreshNow(QUuid::createUuid());
        QVERIFY(dock->calls.isEmpty());
        QCOMPARE(Launchers::lastSignature, QStringLiteral("something"));

        QFile::remove(Launchers::iconPath(bundle));
        Launchers::refreshNow(has.id);
        QCOMPARE(dock->calls, QStringList{"reload"});
        QVERIFY(QFileInfo::exists(Launchers::iconPath(bundle)));
        QCOMPARE(Launchers::lastSignature, QString());
    }

    void renamingMovesTheLauncherToTheEndOfTheDock()
    {
        ScopedDock<RecordingDock> dock(dir.filePath("dock.plist"));
        writeFile(dock->path(), domainXml({tileXml("/A.app")}));
        const AppGroup before = group("Old/Name");
        Launchers::addToDock(before);
        const QString oldBundle = Launchers::bundleURL(before.name);
        writeFile(dock->path(),
                  domainXml({tileXml("/A.app"), tileXml(oldBundle), tileXml("/B.app")}));
        dock->calls.clear();

        AppGroup after = before;
        after.name = "New";
        Launchers::renamed(before, after);
        QCOMPARE(dock->calls, (QStringList{"export", "export", "import", "reload", // out
                                           "export", "append", "reload"}));        // in again
        const QString newBundle = Launchers::bundleURL("New");
        QCOMPARE(DockImport::dockApps(), (QStringList{"/A.app", "/B.app", newBundle}));
        QVERIFY(!QFileInfo::exists(oldBundle));
        QVERIFY(QFileInfo::exists(newBundle + "/Contents/Info.plist"));
        QCOMPARE(QDir(Launchers::root())
                     .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList{"New.app"});
        QCOMPARE(parseEntry(Launchers::desktopEntryPath(after.id)).name, QStringLiteral("New"));
    }

    void renamingWithoutALauncherOrToTheSameNameDoesNothing()
    {
        ScopedDock<RecordingDock> dock(dir.filePath("dock.plist"));
        AppGroup before = group("Plain");
        AppGroup after = before;
        after.name = "Other";
        Launchers::renamed(before, after);
        QVERIFY(!QFileInfo::exists(Launchers::root()));

        Launchers::make(before);
        Launchers::renamed(before, before);
        // "é" precomposed and decomposed are the same name.
        AppGroup composed = group(QString::fromUtf8("Caf\xc3\xa9"));
        AppGroup decomposed = group(QString::fromUtf8("Cafe\xcc\x81"));
        Launchers::renamed(composed, decomposed);
        QVERIFY(dock->calls.isEmpty());
        QVERIFY(QFileInfo::exists(Launchers::bundleURL("Plain")));
    }

    void removingTakesTheLauncherOutOfTheDockAndDeletesIt()
    {
        ScopedDock<RecordingDock> dock(dir.filePath("dock.plist"));
        const AppGroup g = group("Gone");
        Launchers::addToDock(g);
        const QString bundle = Launchers::bundleURL("Gone");
        QCOMPARE(DockImport::dockApps(), QStringList{bundle});
        dock->calls.clear();

        Launchers::removed(g);
        QCOMPARE(dock->calls, (QStringList{"export", "export", "import", "reload"}));
        QCOMPARE(DockImport::dockApps(), QStringList());
        QVERIFY(!QFileInfo::exists(bundle));
        QVERIFY(!QFileInfo::exists(Launchers::desktopEntryPath(g.id)));

        dock->calls.clear();
        Launchers::removed(g); // no launcher any more
        QVERIFY(dock->calls.isEmpty());
    }

    void removingALauncherThatIsALinkKeepsWhatItPointsTo()
    {
        ScopedDock<RecordingDock> dock(dir.filePath("dock.plist"));
        const QString target = dir.filePath("elsewhere");
        writeFile(target + "/precious.txt", "keep");
        writeFile(Launchers::scriptPath(target), Launchers::launchScript(group("Linked")));
        QDir().mkpath(Launchers::root());
        QVERIFY(QFile::link(target, Launchers::bundleURL("Linked")));
        Launchers::removed(group("Linked"));
        QVERIFY(!QFileInfo(Launchers::bundleURL("Linked")).isSymLink());
        QCOMPARE(readAll(target + "/precious.txt"), QByteArray("keep"));
        QCOMPARE(readAll(Launchers::scriptPath(target)), Launchers::launchScript(group("Linked")));
    }

    void groupsWhoseNamesGiveOneBundleKeepLaunchersOfTheirOwn()
    {
        ScopedDock<RecordingDock> dock(dir.filePath("dock.plist"));
        const AppGroup slash = another("Work/Home");
        const AppGroup dash = another("Work-Home");
        const AppGroup twin = another("Work/Home");
        Launchers::addToDock(slash);
        Launchers::addToDock(dash);
        Launchers::addToDock(twin);
        QCOMPARE(bundleNames(),
                 (QStringList{"Work-Home 2.app", "Work-Home 3.app", "Work-Home.app"}));
        const QString slashBundle = Launchers::root() + "/Work-Home.app";
        const QString dashBundle = Launchers::root() + "/Work-Home 2.app";
        QVERIFY(scriptOpens(slashBundle, slash));
        QVERIFY(scriptOpens(dashBundle, dash));
        QVERIFY(scriptOpens(Launchers::root() + "/Work-Home 3.app", twin));
        QCOMPARE(DockImport::dockApps(),
                 (QStringList{slashBundle, dashBundle, Launchers::root() + "/Work-Home 3.app"}));
        // A second "Create Dock icon" rebuilds the group's own launcher, not the first free name.
        Launchers::addToDock(dash);
        QCOMPARE(bundleNames().size(), 3);

        Launchers::removed(slash);
        QVERIFY(!QFileInfo::exists(slashBundle));
        QVERIFY(scriptOpens(dashBundle, dash));
        QCOMPARE(DockImport::dockApps(),
                 (QStringList{dashBundle, Launchers::root() + "/Work-Home 3.app"}));
        QCOMPARE(parseEntry(Launchers::desktopEntryPath(dash.id)).argv.last(),
                 Launchers::scriptPath(dashBundle));
    }

    void launcherOperationsLeaveBundlesOfOtherGroupsAlone()
    {
        ScopedDock<RecordingDock> dock(dir.filePath("dock.plist"));
        Store& store = Store::shared();
        const AppGroup owner = another("Shared");
        AppGroup stranger = another("Shared");
        stranger.apps = {"/usr/share/applications"};
        store.setGroups({owner, stranger});
        const QString bundle = *Launchers::make(owner);
        const QByteArray ownerIcon = readAll(Launchers::iconPath(bundle));
        const QString ownerEntry = Launchers::desktopEntryPath(owner.id);
        dock->calls.clear();

        Launchers::refreshExisting({owner, stranger});
        Launchers::refreshNow(stranger.id);
        QVERIFY(!QFileInfo::exists(Launchers::desktopEntryPath(stranger.id)));
        QCOMPARE(readAll(Launchers::iconPath(bundle)), ownerIcon);
        QVERIFY(dock->calls.isEmpty());

        AppGroup renamed = stranger;
        renamed.name = "Elsewhere";
        Launchers::renamed(stranger, renamed);
        Launchers::removed(stranger);
        QVERIFY(scriptOpens(bundle, owner));
        QVERIFY(QFileInfo::exists(ownerEntry));
        QCOMPARE(bundleNames(), QStringList{"Shared.app"});
    }

    void aRenameKeepsTheOldLauncherUntilTheNewOneIsBuilt()
    {
        ScopedDock<RecordingDock> dock(dir.filePath("dock.plist"));
        const AppGroup before = group("Before");
        Launchers::addToDock(before);
        const QString oldBundle = Launchers::bundleURL("Before");
        AppGroup after = before;
        after.name = "After";
        {
            const NoFileCanGrow full;
            Launchers::renamed(before, after);
        }
        QVERIFY(scriptOpens(oldBundle, before));
        QCOMPARE(DockImport::dockApps(), QStringList{oldBundle});
        QCOMPARE(parseEntry(Launchers::desktopEntryPath(before.id)).name, QStringLiteral("Before"));
    }

    void anOverlongNameIsShortenedAtACharacterBoundary()
    {
        ScopedDock<RecordingDock> dock(dir.filePath("dock.plist"));
        const AppGroup before = group("Short");
        Launchers::addToDock(before);
        AppGroup after = before;
        // 2 + 3 * 90 bytes: no cut at 251 bytes falls on a character boundary by luck.
        after.name = "ab" + QString(90, QChar(0x20AC));
        Launchers::renamed(before, after);

        QCOMPARE(bundleNames().size(), 1);
        const QString fileName = bundleNames().first();
        QVERIFY(fileName.endsWith(".app"));
        QVERIFY(QFile::encodeName(fileName).size() <= 255);
        QVERIFY(QFile::encodeName(fileName).size() > 250);
        QVERIFY(after.name.startsWith(fileName.chopped(4)));
        const QString bundle = Launchers::root() + "/" + fileName;
        QVERIFY(scriptOpens(bundle, after));
        QCOMPARE(DockImport::dockApps(), QStringList{bundle});

        // Two such names still get a launcher each.
        AppGroup twin = another(after.name + "x");
        QVERIFY(Launchers::make(twin));
        QCOMPARE(bundleNames().size(), 2);
        for (const QString& name : bundleNames())
            QVERIFY(QFile::encodeName(name).size() <= 255);
    }

    void aRenameToAnotherNormalisationKeepsTheLauncherReachable()
    {
        ScopedDock<RecordingDock> dock(dir.filePath("dock.plist"));
        Store& store = Store::shared();
        const AppGroup composed = group(QString::fromUtf8("Caf\xc3\xa9"));
        AppGroup decomposed = composed;
        decomposed.name = QString::fromUtf8("Cafe\xcc\x81");
        Launchers::addToDock(composed);
        const QString bundle = Launchers::bundleURL(composed.name);
        Launchers::renamed(composed, decomposed);
        QVERIFY(scriptOpens(bundle, composed));
        store.setGroups({decomposed});

        Launchers::addToDock(decomposed); // "Create Dock icon" again: the same launcher
        QCOMPARE(bundleNames(), QStringList{QFileInfo(bundle).fileName()});
        QFile::remove(Launchers::iconPath(bundle));
        Launchers::refreshNow(decomposed.id);
        QVERIFY(QFileInfo::exists(Launchers::iconPath(bundle)));

        Launchers::removed(decomposed);
        QVERIFY(!QFileInfo::exists(bundle));
        QCOMPARE(DockImport::dockApps(), QStringList());
    }

    void everyNameGivesFilesTheDesktopAccepts_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("control characters") << QStringLiteral("a\x01z\x1f\x7f\u0085");
        QTest::newRow("percent") << QStringLiteral("100% %u %f %%");
        QTest::newRow("line breaks") << QStringLiteral("one\ntwo\r\nthree\tfour");
        QTest::newRow("quotes") << QStringLiteral("\"double\" 'single' `back` $HOME \\ ;");
        QTest::newRow("leading space") << QStringLiteral(" spaced ");
        QTest::newRow("xml") << QStringLiteral("<a>&amp;</a> ]]>");
        QTest::newRow("noncharacters") << QStringLiteral("x\uFFFEy\uFFFF");
        QTest::newRow("over-long") << QString(300, QLatin1Char('w'));
        QTest::newRow("empty") << QString();
    }
    void everyNameGivesFilesTheDesktopAccepts()
    {
        QFETCH(QString, name);
        const AppGroup g = group(name);
        const std::optional<QString> bundle = Launchers::make(g);
        QVERIFY(bundle);
        QVERIFY(QFileInfo(*bundle).isDir());
        QCOMPARE(QFileInfo(*bundle).path(), Launchers::root());
        QCOMPARE(DesktopEntryChecks::xmlError(*bundle + "/Contents/Info.plist"), QString());

        const QString entry = Launchers::desktopEntryPath(g.id);
        QCOMPARE(DesktopEntryChecks::validatorComplaints(entry), QString());
        QVERIFY(DesktopEntryChecks::gioAccepts(entry));
        const ParsedEntry parsed = parseEntry(entry);
        QVERIFY(!parsed.argv.isEmpty());
        QCOMPARE(parsed.argv.last(), Launchers::scriptPath(*bundle));
        QVERIFY(QFileInfo(parsed.argv.first()).isExecutable());
        QVERIFY(QFileInfo(parsed.icon).isFile());
        QCOMPARE(launcherBundleOf(entry), *bundle);
    }
};

TRAYMATE_TEST_MAIN(LaunchersTest)
#include "tst_launchers.moc"
