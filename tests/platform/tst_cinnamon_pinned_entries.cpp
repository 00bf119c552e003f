#include "fake_cinnamon.h"
#include "platform/linux/cinnamon_pinned_entries.h"
#include "platform/linux/cinnamon_settings_file.h"
#include "private_bus.h"
#include "test_environment.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>
#include <gio/gio.h>

namespace {

const QString kData = QStringLiteral(TRAYMATE_TEST_DATA "/cinnamon");
const QString kWindowList = QStringLiteral("grouped-window-list@cinnamon.org");
const QString kLaunchers = QStringLiteral("panel-launchers@cinnamon.org");
const QString kTraymateId =
    QStringLiteral("traymate-group-0c6a2f4e-93b1-4d7a-8e25-51f0b6c3d9a8.desktop");
// A Linux Mint user's panel, with the window list's instance 2 and, on a second panel, panel
// launchers 13. Instance 14 was added after Cinnamon last ran: it has no settings file yet.
const QStringList kEnabledApplets{
    "panel1:left:0:menu@cinnamon.org:0",
    "panel1:left:1:show-desktop@cinnamon.org:1",
    "panel2:left:0:panel-launchers@cinnamon.org:13",
    "panel1:left:2:grouped-window-list@cinnamon.org:2",
    "panel2:right:0:grouped-window-list@cinnamon.org:14",
    "panel1:right:0:systray@cinnamon.org:3",
    "panel1:right:1:xapp-status@cinnamon.org:4",
    "panel1:right:2:notifications@cinnamon.org:5",
    "panel1:right:7:network@cinnamon.org:10",
    "panel1:right:8:sound@cinnamon.org:11",
    "panel1:right:10:calendar@cinnamon.org:12",
};
const QStringList kPinned{"nemo.desktop",
                          "firefox-esr.desktop",
                          "org.gnome.Terminal.desktop",
                          "libreoffice-calc.desktop",
                          "spotify.desktop",
                          "code.desktop",
                          "xed.desktop"};
const QStringList kLauncherList{"firefox-esr.desktop", "cinnamon-settings.desktop",
                                "cinnamon-custom-launcher-1.desktop", "xed.desktop"};

void writeEntry(const QString& path)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[Desktop Entry]\nType=Application\nName=App\nExec=true\n");
}

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void setEnabledApplets(const QStringList& applets)
{
    GSettings* settings = g_settings_new("org.cinnamon");
    QList<QByteArray> utf8;
    std::vector<const gchar*> values;
    for (const QString& applet : applets)
        utf8.append(applet.toUtf8());
    for (const QByteArray& value : utf8)
        values.push_back(value.constData());
    values.push_back(nullptr);
    QVERIFY(g_settings_set_strv(settings, "enabled-applets", values.data()));
    g_object_unref(settings);
}

} // namespace

// Cinnamon's window list and panel launchers, in their settings files as Cinnamon 5.6 writes
// them, read through the real org.cinnamon schema, with a stand-in org.Cinnamon on a private
// bus when the test runs "Cinnamon".
class CinnamonPinnedEntriesTest : public QObject {
    Q_OBJECT

    QString m_system;
    QString m_user;
    QString m_windowListFile;
    QString m_launchersFile;
    std::unique_ptr<FakeCinnamon> m_cinnamon;

    QString system(const QString& id) const { return m_system + '/' + id; }
    QString user(const QString& id) const { return m_user + '/' + id; }

    void startCinnamon()
    {
        m_cinnamon = std::make_unique<FakeCinnamon>();
        m_cinnamon->loadApplet(kWindowList, "2", m_windowListFile);
        m_cinnamon->loadApplet(kLaunchers, "13", m_launchersFile);
        QVERIFY(m_cinnamon->start());
    }

    static QStringList listIn(const QString& file, const QString& key)
    {
        return CinnamonSettingsFile::readList(contentOf(file), key).value_or(QStringList{"?"});
    }

private Q_SLOTS:
    void initTestCase()
    {
        const QString root = QFileInfo(qEnvironmentVariable("HOME")).path();
        m_system = root + QStringLiteral("/usr/share/applications");
        qputenv("XDG_DATA_DIRS", QFile::encodeName(root + QStringLiteral("/usr/share")));
        m_user = qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/applications");
        for (const char* id :
             {"nemo.desktop", "firefox-esr.desktop", "org.gnome.Terminal.desktop",
              "libreoffice-calc.desktop", "xed.desktop", "cinnamon-settings.desktop"})
            writeEntry(system(QLatin1String(id)));
        writeEntry(user(QStringLiteral("code.desktop")));
        writeEntry(qEnvironmentVariable("XDG_DATA_HOME") +
                   QStringLiteral("/cinnamon/panel-launchers/cinnamon-custom-launcher-1.desktop"));
        const QString spices =
            qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/cinnamon/spices/");
        m_windowListFile = spices + kWindowList + QStringLiteral("/2.json");
        m_launchersFile = spices + kLaunchers + QStringLiteral("/13.json");
    }

    void init()
    {
        setEnabledApplets(kEnabledApplets);
        const std::pair<QString, QString> copies[] = {{kWindowList + "-2.json", m_windowListFile},
                                                      {kLaunchers + "-13.json", m_launchersFile}};
        for (const auto& [from, to] : copies) {
            QDir().mkpath(QFileInfo(to).path());
            QFile::remove(to);
            QVERIFY(QFile::copy(kData + '/' + from, to));
            QFile::setPermissions(to, QFile::ReadOwner | QFile::WriteOwner);
        }
        QFile::remove(user(kTraymateId));
        writeEntry(user(kTraymateId));
    }

    void cleanup() { m_cinnamon.reset(); }

    void importReadsThePanelsInOrder()
    {
        const std::optional<QStringList> entries = CinnamonPinnedEntries().entries();
        QVERIFY(entries);
        // Spotify is gone; Firefox and Xed of the second panel are there already; the panel
        // launchers' own launcher is a file of its folder.
        QCOMPARE(*entries,
                 (QStringList{system("nemo.desktop"), system("firefox-esr.desktop"),
                              system("org.gnome.Terminal.desktop"),
                              system("libreoffice-calc.desktop"), user("code.desktop"),
                              system("xed.desktop"), system("cinnamon-settings.desktop"),
                              qEnvironmentVariable("XDG_DATA_HOME") +
                                  "/cinnamon/panel-launchers/cinnamon-custom-launcher-1.desktop"}));
        QVERIFY(!CinnamonPinnedEntries(QDBusConnection::sessionBus(), [] {
                     return std::optional<QStringList>();
                 }).entries());
    }

    void pinWithoutCinnamonEditsOnlyTheListInTheFile()
    {
        const QByteArray before = contentOf(m_windowListFile);
        CinnamonPinnedEntries cinnamon;
        QVERIFY(cinnamon.pin(user(kTraymateId)));
        QCOMPARE(listIn(m_windowListFile, "pinned-apps"), kPinned + QStringList{kTraymateId});
        QCOMPARE(contentOf(m_launchersFile), contentOf(kData + '/' + kLaunchers + "-13.json"));
        QVERIFY(cinnamon.entries()->contains(user(kTraymateId)));

        // Every other byte stays: the layout that names "pinned-apps" too, the default list,
        // the other settings and Cinnamon's checksum.
        const QByteArray after = contentOf(m_windowListFile);
        const QByteArray valueStart = "\"value\": [\n            \"nemo.desktop\"";
        const qsizetype start = before.indexOf(valueStart, before.indexOf("\"pinned-apps\": {"));
        QVERIFY(start > 0);
        const qsizetype end = before.indexOf(']', start) + 1;
        QCOMPARE(after.left(start), before.left(start));
        QCOMPARE(after.mid(after.size() - (before.size() - end)), before.mid(end));
        const qsizetype lastItemEnd = before.lastIndexOf('"', end) + 1;
        QCOMPARE(after.mid(start, lastItemEnd - start), before.mid(start, lastItemEnd - start));
        QCOMPARE(after.mid(lastItemEnd, after.size() - (before.size() - end) - lastItemEnd),
                 ",\n            \"" + kTraymateId.toUtf8() + "\"\n        ]");
        QVERIFY(!QJsonDocument::fromJson(after).isNull());

        QVERIFY(cinnamon.pin(user(kTraymateId)));
        QCOMPARE(contentOf(m_windowListFile), after);
    }

    void pinWithCinnamonRunningShowsTheLauncher()
    {
        startCinnamon();
        QCOMPARE(m_cinnamon->shown(kWindowList, "2"), kPinned);
        QVERIFY(CinnamonPinnedEntries().pin(user(kTraymateId)));
        const QStringList pinned = kPinned + QStringList{kTraymateId};
        QCOMPARE(m_cinnamon->calls(),
                 (QStringList{"updateSetting " + kWindowList + " 2 pinned-apps " +
                                  QJsonDocument(QJsonArray::fromStringList(pinned))
                                      .toJson(QJsonDocument::Compact),
                              "ReloadXlet " + kWindowList + " APPLET"}));
        QCOMPARE(m_cinnamon->shown(kWindowList, "2"), pinned);
    }

    void pinOfAnEntryPinnedElsewhereChangesNothing()
    {
        startCinnamon();
        QVERIFY(CinnamonPinnedEntries().pin(system("cinnamon-settings.desktop")));
        QCOMPARE(contentOf(m_windowListFile), contentOf(kData + '/' + kWindowList + "-2.json"));
        QCOMPARE(m_cinnamon->calls(), QStringList());
    }

    void unpinClearsEveryInstanceAndKeepsTheRest()
    {
        QStringList pinned = kPinned;
        pinned.insert(2, kTraymateId);
        pinned.append(kTraymateId);
        QStringList launchers = kLauncherList;
        launchers.prepend(kTraymateId);
        QVERIFY(CinnamonSettingsFile::replaceFile(
            m_windowListFile,
            *CinnamonSettingsFile::withList(contentOf(m_windowListFile), "pinned-apps", pinned)));
        QVERIFY(CinnamonSettingsFile::replaceFile(
            m_launchersFile, *CinnamonSettingsFile::withList(contentOf(m_launchersFile),
                                                             "launcherList", launchers)));
        startCinnamon();

        QVERIFY(CinnamonPinnedEntries().unpin(user(kTraymateId)));
        QCOMPARE(listIn(m_windowListFile, "pinned-apps"), kPinned);
        QCOMPARE(listIn(m_launchersFile, "launcherList"), kLauncherList);
        QCOMPARE(m_cinnamon->shown(kWindowList, "2"), kPinned);
        QCOMPARE(m_cinnamon->shown(kLaunchers, "13"), kLauncherList);
        QCOMPARE(m_cinnamon->calls().size(), 3);
    }

    void unpinRecognisesARemovedEntry()
    {
        QVERIFY(CinnamonPinnedEntries().pin(user(kTraymateId)));
        QFile::remove(user(kTraymateId));
        QVERIFY(CinnamonPinnedEntries().unpin(user(kTraymateId)));
        QCOMPARE(listIn(m_windowListFile, "pinned-apps"), kPinned);
        // A system entry of the same name is not the user's removed one.
        QVERIFY(CinnamonPinnedEntries().unpin(user("xed.desktop")));
        QCOMPARE(listIn(m_windowListFile, "pinned-apps"), kPinned);
    }

    void withoutWindowListThePanelLaunchersTakeThePin()
    {
        QStringList applets = kEnabledApplets;
        applets.removeIf([](const QString& applet) { return applet.contains(kWindowList); });
        setEnabledApplets(applets);
        startCinnamon();
        QVERIFY(CinnamonPinnedEntries().pin(user(kTraymateId)));
        QCOMPARE(listIn(m_launchersFile, "launcherList"), kLauncherList + QStringList{kTraymateId});
        QCOMPARE(m_cinnamon->shown(kLaunchers, "13"), kLauncherList + QStringList{kTraymateId});
        QCOMPARE(listIn(m_windowListFile, "pinned-apps"), kPinned);
    }

    void refusalsChangeNothing()
    {
        // No applet that pins, a list that is not Cinnamon's, a file Cinnamon has not written.
        setEnabledApplets({"panel1:left:0:menu@cinnamon.org:0"});
        QVERIFY(!CinnamonPinnedEntries().pin(user(kTraymateId)));

        setEnabledApplets(kEnabledApplets);
        QByteArray broken = contentOf(m_windowListFile);
        broken.replace("\"value\": [\n            \"nemo.desktop\"", "\"value\": [\n            7");
        QVERIFY(CinnamonSettingsFile::replaceFile(m_windowListFile, broken));
        QFile::remove(m_launchersFile);
        QVERIFY(!CinnamonPinnedEntries().pin(user(kTraymateId)));
        QCOMPARE(contentOf(m_windowListFile), broken);
        QVERIFY(!QFile::exists(m_launchersFile));

        // An entry outside the applications folders has no id that the applets could find.
        QVERIFY(!CinnamonPinnedEntries().pin(QDir::homePath() + "/tool.desktop"));
    }

    void legacySettingsFolderIsUsedWhenItIsTheOnlyOne()
    {
        const QString legacy = QDir::homePath() + "/.cinnamon/configs/" + kWindowList + "/2.json";
        QDir().mkpath(QFileInfo(legacy).path());
        QFile::remove(legacy);
        QVERIFY(QFile::rename(m_windowListFile, legacy));
        QVERIFY(CinnamonPinnedEntries().pin(user(kTraymateId)));
        QCOMPARE(listIn(legacy, "pinned-apps"), kPinned + QStringList{kTraymateId});
        QVERIFY(!QFile::exists(m_windowListFile));
        QFile::remove(legacy);
    }
};

// Runs itself again inside a session bus of its own, where the stand-in takes Cinnamon's name
// without touching the user's session; the org.cinnamon schema is Cinnamon's own, compiled.
TRAYMATE_PRIVATE_BUS_TEST_MAIN(CinnamonPinnedEntriesTest, QCoreApplication,
                               "GSETTINGS_SCHEMA_DIR=" TRAYMATE_TEST_SCHEMAS)

#include "tst_cinnamon_pinned_entries.moc"
