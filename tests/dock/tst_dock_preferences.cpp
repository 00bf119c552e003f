#include "dock/dock_import.h"
#include "dock/file_dock_preferences.h"
#include "dock/launcher_files.h"
#include "dock/launchers.h"
#include "dock/property_list.h"
#include "dock/tool_dock_preferences.h"
#include "dock_fixture.h"
#include "model/store.h"
#include "test_environment.h"

#include <QTemporaryDir>
#include <QUrl>
#include <sys/stat.h>
#include <unistd.h>

using namespace DockTest;

namespace {

AppGroup group(const QString& name)
{
    AppGroup g;
    g.name = name;
    return g;
}

QStringList dockPathsIn(const QByteArray& domain)
{
    const PropertyList::Node node = PropertyList::parse(domain);
    QStringList paths;
    plist_t apps = persistentApps(node.get());
    for (uint32_t i = 0; apps && i < plist_array_get_size(apps); ++i)
        paths.append(tilePath(plist_array_get_item(apps, i)).value_or(QStringLiteral("<none>")));
    return paths;
}

// Stand-ins for "defaults" and "killall" that log each call, one argument a line, and serve
// the domain in `served.plist`; import copies the file it is given.
struct FakeTools {
    QTemporaryDir dir;
    QString defaults = dir.filePath("defaults");
    QString killall = dir.filePath("killall");
    QString log = dir.filePath("calls.log");

    FakeTools()
    {
        const QByteArray logging = "{ printf '%s' \"$(basename \"$0\")\"; for a; do printf ' [%s]' "
                                   "\"$a\"; done; echo; } >> '" +
                                   log.toUtf8() + "'\n";
        writeFile(defaults, "#!/bin/sh\n" + logging + "cd '" + dir.path().toUtf8() +
                                "'\ncase \"$1\" in\n export) cat served.plist ;;\n"
                                " import) cp \"$3\" imported.plist ;;\nesac\n");
        writeFile(killall, "#!/bin/sh\n" + logging);
        for (const QString& tool : {defaults, killall})
            ::chmod(QFile::encodeName(tool).constData(), 0755);
    }

    void serve(const QByteArray& domain) { writeFile(dir.filePath("served.plist"), domain); }
    QStringList calls() const
    {
        return QString::fromUtf8(readAll(log)).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    QByteArray imported() const { return readAll(dir.filePath("imported.plist")); }
};

} // namespace

class DockPreferencesTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

private Q_SLOTS:
    void onLinuxTheDockIsTheStandInFile()
    {
        const std::unique_ptr<Dock> dock = makePlatformDock();
        const auto* file = dynamic_cast<const FileDockPreferences*>(dock.get());
        QVERIFY(file);
        QCOMPARE(file->path(),
                 qEnvironmentVariable("XDG_CONFIG_HOME") + "/Traymate/com.apple.dock.plist");
    }

    void tilePathReadsPlainPathsAndFileUrls()
    {
        QCOMPARE(pathOf(tileXml("file:///Applications/Safari.app/")), "/Applications/Safari.app");
        QCOMPARE(pathOf(tileXml("file:///Applications/Visual%20Studio%20Code.app/")),
                 "/Applications/Visual Studio Code.app");
        // Not a valid URL: the rest after "file://" is decoded by hand.
        QCOMPARE(pathOf(tileXml("file:///Applications/My App.app/")), "/Applications/My App.app");
        QCOMPARE(pathOf(tileXml("file:///Apps/My App%C3%A9.app/")), "/Apps/My Appé.app");
        // A malformed escape is kept as it is.
        QCOMPARE(pathOf(tileXml("file:///Apps/100% Sure.app/")), "/Apps/100% Sure.app");
        QCOMPARE(pathOf(tileXml("file://localhost/Apps/X.app")), "/Apps/X.app");
        QCOMPARE(pathOf(tileXml("/Applications/Mail.app/")), "/Applications/Mail.app");
        QCOMPARE(pathOf(tileXml("/Applications/Mail.app//")), "/Applications/Mail.app/");
        QCOMPARE(pathOf(tileXml("relative%20name")), "relative%20name");
        QCOMPARE(pathOf(tileXml("FILE:///upper.app")), "FILE:///upper.app");
        QCOMPARE(pathOf(tileXml("")), "");
    }

    void tilePathIsNothingWithoutAStringLocation()
    {
        QCOMPARE(pathOf(spacerXml()), std::nullopt);
        QCOMPARE(pathOf("<dict/>"), std::nullopt);
        QCOMPARE(pathOf("<array/>"), std::nullopt);
        QCOMPARE(pathOf("<dict><key>tile-data</key><string>x</string></dict>"), std::nullopt);
        QCOMPARE(pathOf("<dict><key>tile-data</key><dict><key>file-data</key><dict>"
                        "<key>_CFURLString</key><integer>3</integer></dict></dict></dict>"),
                 std::nullopt);
        QCOMPARE(tilePath(nullptr), std::nullopt);
    }

    void theTileTextEscapesThePathAndReadsBackUnescaped()
    {
        const QString path = "/home/me/Applications/Traymate Groups/R&D <1>.app";
        const QString text = Launchers::tileText(path);
        QCOMPARE(text, "<dict><key>tile-data</key><dict><key>file-data</key><dict><key>"
                       "_CFURLString</key><string>/home/me/Applications/Traymate Groups/"
                       "R&amp;D &lt;1&gt;.app</string><key>_CFURLStringType</key><integer>0"
                       "</integer></dict></dict></dict>");
        QCOMPARE(pathOf(text.toUtf8()), path);
    }

    void dockAppsReadsRealExports()
    {
        ScopedDock<FileDockPreferences> dock(dir.filePath("a.plist"));
        QVERIFY(QFile::copy(dataFile("export-b.plist"), dock->path()));
        const QStringList apps = DockImport::dockApps();
        QCOMPARE(apps.size(), 15);
        QCOMPARE(apps.first(),
                 "/System/Volumes/Preboot/Cryptexes/App/System/Applications/Safari.app");
        QVERIFY(apps.contains("/Applications/Visual Studio Code.app"));
        QVERIFY(apps.contains("/System/Applications/iPhone Mirroring.app"));
        QVERIFY(!apps.contains("/Users/exampleuser/Downloads")); // a directory tile, elsewhere
        for (const QString& app : apps)
            QVERIFY2(app.endsWith(".app") && !app.contains('%'), qPrintable(app));

        QFile::remove(dock->path());
        QVERIFY(QFile::copy(dataFile("export-a.plist"), dock->path()));
        QCOMPARE(DockImport::dockApps().size(), 6);
    }

    void dockAppsKeepsApplicationsInOrderWithDuplicates()
    {
        ScopedDock<FileDockPreferences> dock(dir.filePath("b.plist"));
        writeFile(dock->path(),
                  domainXml({tileXml("file:///A.app/"), spacerXml(), tileXml("/Docs/letter.pdf"),
                             tileXml("file:///Folder/"), tileXml("/B.app"),
                             tileXml("/usr/share/applications/org.gnome.Maps.desktop"),
                             tileXml("file:///A.app/"), tileXml("/Upper.APP")}));
        QCOMPARE(DockImport::dockApps(),
                 (QStringList{"/A.app", "/B.app", "/usr/share/applications/org.gnome.Maps.desktop",
                              "/A.app"}));
    }

    void dockAppsIsEmptyForAnythingButADictionaryWithAnArrayOfTiles()
    {
        ScopedDock<FileDockPreferences> dock(dir.filePath("c.plist"));
        const QByteArray cases[] = {
            "",
            "not a plist",
            "<plist><array><dict/></array></plist>",
            "<plist><dict><key>persistent-apps</key><dict/></dict></plist>",
            // One tile that is not a dictionary spoils the whole array.
            "<plist><dict><key>persistent-apps</key><array>" + tileXml("/A.app") +
                "<string>/B.app</string></array></dict></plist>",
        };
        for (const QByteArray& domain : cases) {
            writeFile(dock->path(), domain);
            QVERIFY2(DockImport::dockApps().isEmpty(), domain.constData());
        }
        QFile::remove(dock->path());
        QVERIFY(DockImport::dockApps().isEmpty());
    }

    void aLocationHoldingANulIsReadNotFatal()
    {
        // libplist keeps the length of XML text with a raw NUL in it, and its own string
        // reader then aborts the program.
        QByteArray domain = domainXml({tileXml("/AXB.app"), tileXml("/B.app"), tileXml("/L.app")});
        domain.replace("/AXB.app", QByteArray("/A\0B.app", 8));
        ScopedDock<RecordingDock> dock(dir.filePath("nul.plist"));
        writeFile(dock->path(), domain);
        QCOMPARE(DockImport::dockApps(), (QStringList{"/B.app", "/L.app"}));
        Launchers::removeFromDock("/L.app");
        QVERIFY(dock->calls.contains("import"));
        QCOMPARE(DockImport::dockApps(), QStringList{"/B.app"});
    }

    void aDomainTheXmlFormCannotCarryIsNotRewritten()
    {
        // A binary dictionary may hold a key twice; read back from XML, the other value would
        // win and an unrelated tile would point elsewhere.
        const QByteArray twoKeys = "<dict><key>tile-data</key><dict>"
                                   "<key>file-dat2</key><dict><key>_CFURLString</key><string>"
                                   "/First.app</string></dict>"
                                   "<key>file-data</key><dict><key>_CFURLString</key><string>"
                                   "/Second.app</string></dict></dict></dict>";
        const PropertyList::Node domain =
            PropertyList::parse(domainXml({twoKeys, tileXml("/L.app")}));
        char* bytes = nullptr;
        uint32_t length = 0;
        plist_to_bin(domain.get(), &bytes, &length);
        QByteArray binary(bytes, length);
        free(bytes);
        binary.replace("file-dat2", "file-data");
        ScopedDock<RecordingDock> dock(dir.filePath("twice.plist"));
        writeFile(dock->path(), binary);
        const QStringList before = DockImport::dockApps();
        QCOMPARE(before.size(), 2);

        Launchers::removeFromDock("/L.app");
        const QStringList after = DockImport::dockApps();
        QVERIFY2(after == before || after == QStringList{before.first()},
                 qPrintable(after.join(", ")));
        if (after == before)
            QVERIFY(!dock->calls.contains("import"));
    }

    void theFileDockAppendsImportsAndStartsEmpty()
    {
        FileDockPreferences dock(dir.filePath("folder/d.plist"));
        QCOMPARE(dockPathsIn(dock.exportDomain()), QStringList());
        QVERIFY(PropertyList::isDictionary(PropertyList::parse(dock.exportDomain()).get()));

        dock.appendTile(Launchers::tileText("/x/One & Two.app"));
        dock.appendTile(Launchers::tileText("/x/Three.app"));
        dock.appendTile("<dict><unclosed>"); // not property-list text: ignored
        QCOMPARE(dockPathsIn(dock.exportDomain()),
                 (QStringList{"/x/One & Two.app", "/x/Three.app"}));
        QVERIFY(readAll(dock.path()).startsWith("<?xml"));

        // Import reads any format and stores XML; a file that is no domain changes nothing.
        dock.importDomain(dataFile("export-a.plist"));
        QCOMPARE(dockPathsIn(dock.exportDomain()).size(), 6);
        QVERIFY(readAll(dock.path()).startsWith("<?xml"));
        const QByteArray before = readAll(dock.path());
        writeFile(dir.filePath("junk.plist"), "<plist><array/></plist>");
        dock.importDomain(dir.filePath("junk.plist"));
        dock.importDomain(dir.filePath("missing.plist"));
        QCOMPARE(readAll(dock.path()), before);
    }

    void theFileDockNeverReplacesADomainItCannotRead()
    {
        FileDockPreferences dock(dir.filePath("e.plist"));
        writeFile(dock.path(), "garbage that is not a property list");
        dock.appendTile(Launchers::tileText("/x/A.app"));
        QCOMPARE(readAll(dock.path()), QByteArray("garbage that is not a property list"));

        writeFile(dock.path(),
                  "<plist><dict><key>persistent-apps</key><string>odd</string></dict></plist>");
        const QByteArray odd = readAll(dock.path());
        dock.appendTile(Launchers::tileText("/x/A.app"));
        QCOMPARE(readAll(dock.path()), odd);
    }

    void toolDockRunsTheExactCalls()
    {
        FakeTools tools;
        tools.serve(domainXml({tileXml("/A.app")}));
        ToolDockPreferences dock(tools.defaults, tools.killall);
        QCOMPARE(dockPathsIn(dock.exportDomain()), QStringList{"/A.app"});
        dock.appendTile("<dict/>");
        dock.importDomain("/some where/file.plist");
        dock.reload();
        QCOMPARE(tools.calls(), (QStringList{
                                    "defaults [export] [com.apple.dock] [-]",
                                    "defaults [write] [com.apple.dock] [persistent-apps] "
                                    "[-array-add] [<dict/>]",
                                    "defaults [import] [com.apple.dock] [/some where/file.plist]",
                                    "killall [Dock]",
                                }));
    }

    void addingALauncherAppendsItsTileOnceAndAlwaysRestartsTheDock()
    {
        FakeTools tools;
        tools.serve(domainXml({tileXml("/A.app")}));
        ScopedDock<ToolDockPreferences> dock(tools.defaults, tools.killall);
        const AppGroup work = group("Work");
        const QString bundle = Launchers::bundleURL("Work");

        Launchers::addToDock(work);
        QVERIFY(QFileInfo::exists(bundle + "/Contents/Info.plist"));
        QCOMPARE(tools.calls(), (QStringList{
                                    "defaults [export] [com.apple.dock] [-]",
                                    "defaults [write] [com.apple.dock] [persistent-apps] "
                                    "[-array-add] [" +
                                        Launchers::tileText(bundle) + "]",
                                    "killall [Dock]",
                                }));

        // Already in the Dock: only the restart.
        QFile::remove(tools.log);
        const QString bundleUrl =
            QString::fromUtf8("file://" + QUrl::toPercentEncoding(bundle, "/") + "/");
        tools.serve(domainXml({tileXml("/A.app"), tileXml(bundleUrl)}));
        Launchers::addToDock(work);
        QCOMPARE(tools.calls(),
                 (QStringList{"defaults [export] [com.apple.dock] [-]", "killall [Dock]"}));
        QDir(Launchers::root()).removeRecursively();
    }

    void aLauncherThatCannotBeBuiltLeavesTheDockAlone()
    {
        FakeTools tools;
        ScopedDock<ToolDockPreferences> dock(tools.defaults, tools.killall);
        QDir().mkpath(QFileInfo(Launchers::root()).path());
        writeFile(Launchers::root(), "a file where the launcher folder should be");
        Launchers::addToDock(group("Blocked"));
        QCOMPARE(tools.calls(), QStringList());
        QFile::remove(Launchers::root());
    }

    void removalImportsTheEditedDomainThroughAPrivateFile()
    {
        FakeTools tools;
        const QByteArray domain = domainXml({tileXml("/A.app"), spacerXml(), tileXml("/L.app/"),
                                             tileXml("file:///L.app/"), tileXml("/B.app")});
        tools.serve(domain);
        ScopedDock<ToolDockPreferences> dock(tools.defaults, tools.killall);

        Launchers::removeFromDock("/L.app");
        const QStringList calls = tools.calls();
        QCOMPARE(calls.size(), 4);
        QCOMPARE(calls[0], "defaults [export] [com.apple.dock] [-]");
        QCOMPARE(calls[1], "defaults [export] [com.apple.dock] [-]");
        QVERIFY(calls[2].startsWith("defaults [import] [com.apple.dock] ["));
        QCOMPARE(calls[3], "killall [Dock]");

        // The file was in a fresh folder of the runtime directory, and is gone with it.
        const QString file = calls[2].section('[', 3).chopped(1);
        QCOMPARE(QFileInfo(file).fileName(), "traymate-dock.plist");
        const QString folder = QFileInfo(file).path();
        QCOMPARE(QFileInfo(folder).path(), qEnvironmentVariable("XDG_RUNTIME_DIR"));
        QVERIFY(!QFileInfo::exists(folder));

        // Everything but the dropped tiles is as exported, in order, with its types.
        const PropertyList::Node expected = PropertyList::parse(domain);
        plist_t apps = plist_dict_get_item(expected.get(), "persistent-apps");
        plist_array_remove_item(apps, 3);
        plist_array_remove_item(apps, 2);
        QCOMPARE(QString::fromUtf8(tools.imported()),
                 QString::fromUtf8(PropertyList::toXml(expected.get())));
    }

    void removalOfARealExportKeepsEveryOtherKey()
    {
        ScopedDock<RecordingDock> dock(dir.filePath("real.plist"));
        dock->importDomain(dataFile("export-b.plist"));
        const QByteArray before = readAll(dock->path());
        dock->calls.clear();

        Launchers::removeFromDock("/Applications/Visual Studio Code.app");
        QCOMPARE(dock->calls, (QStringList{"export", "export", "import", "reload"}));

        const PropertyList::Node expected = PropertyList::parse(before);
        plist_t apps = plist_dict_get_item(expected.get(), "persistent-apps");
        bool removed = false;
        for (uint32_t i = 0; i < plist_array_get_size(apps); ++i) {
            if (tilePath(plist_array_get_item(apps, i)) == "/Applications/Visual Studio Code.app") {
                plist_array_remove_item(apps, i);
                removed = true;
                break;
            }
        }
        QVERIFY(removed);
        QCOMPARE(readAll(dock->path()), PropertyList::toXml(expected.get()));
        QCOMPARE(dockPathsIn(readAll(dock->path())).size(), 17);
    }

    void removalOfAnAbsentPathOrAnUnreadableDomainChangesNothing()
    {
        ScopedDock<RecordingDock> dock(dir.filePath("f.plist"));
        writeFile(dock->path(), domainXml({tileXml("/A.app"), spacerXml()}));
        const QByteArray before = readAll(dock->path());
        Launchers::removeFromDock("/Other.app");
        Launchers::removeFromDock("/A.app/");
        QCOMPARE(dock->calls, (QStringList{"export", "export"}));
        QCOMPARE(readAll(dock->path()), before);

        dock->calls.clear();
        writeFile(dock->path(),
                  "<plist><dict><key>persistent-apps</key><array><string>/A.app</string>"
                  "</array></dict></plist>");
        Launchers::removeFromDock("/A.app");
        QCOMPARE(dock->calls, QStringList{"export"});
    }

    void aDomainChangedDuringARemovalIsReadAgain()
    {
        ScopedDock<RecordingDock> dock(dir.filePath("g.plist"));
        writeFile(dock->path(), domainXml({tileXml("/A.app"), tileXml("/L.app")}));
        // The Dock adds a tile of its own between the first export and the import.
        dock->beforeExport = [&](int index) {
            if (index == 1)
                writeFile(dock->path(),
                          domainXml({tileXml("/A.app"), tileXml("/L.app"), tileXml("/New.app")}));
        };
        Launchers::removeFromDock("/L.app");
        QCOMPARE(dock->calls,
                 (QStringList{"export", "export", "export", "export", "import", "reload"}));
        QCOMPARE(dockPathsIn(readAll(dock->path())), (QStringList{"/A.app", "/New.app"}));
    }

    void aDomainThatKeepsChangingIsLeftAlone()
    {
        ScopedDock<RecordingDock> dock(dir.filePath("h.plist"));
        writeFile(dock->path(), domainXml({tileXml("/L.app")}));
        dock->beforeExport = [&](int index) {
            writeFile(dock->path(),
                      domainXml({tileXml("/L.app"), tileXml(QString("/N%1.app").arg(index))}));
        };
        Launchers::removeFromDock("/L.app");
        QVERIFY(!dock->calls.contains("import"));
        QVERIFY(!dock->calls.contains("reload"));
        QCOMPARE(dock->calls.size(), 6);
        QVERIFY(dockPathsIn(readAll(dock->path())).contains("/L.app"));
    }

    void theTemporaryFileNeverFollowsAPlantedLink()
    {
        // With no private runtime folder, the system's shared temporary folder is used: a link
        // planted there under the fixed name must not be written through.
        const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
        QTemporaryDir shared;
        QFile::setPermissions(shared.path(), QFileDevice::Permissions(0x7777)); // world-writable
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(shared.path()));
        qputenv("TMPDIR", QFile::encodeName(shared.path()));
        const QString victim = dir.filePath("victim.txt");
        writeFile(victim, "precious");
        QVERIFY(QFile::link(victim, shared.filePath("traymate-dock.plist")));

        ScopedDock<RecordingDock> dock(dir.filePath("i.plist"));
        writeFile(dock->path(), domainXml({tileXml("/A.app"), tileXml("/L.app")}));
        Launchers::removeFromDock("/L.app");
        qputenv("XDG_RUNTIME_DIR", runtime);
        qunsetenv("TMPDIR");

        QCOMPARE(readAll(victim), QByteArray("precious"));
        QCOMPARE(dockPathsIn(readAll(dock->path())), QStringList{"/A.app"});
        QCOMPARE(dock->importedFrom.size(), 1);
        const QString folder = QFileInfo(dock->importedFrom.first()).path();
        QCOMPARE(QFileInfo(folder).path(),
                 shared.path()); // a fresh folder inside, not the shared one
        QVERIFY(!QFileInfo::exists(folder));
    }
};

TRAYMATE_TEST_MAIN(DockPreferencesTest)
#include "tst_dock_preferences.moc"
