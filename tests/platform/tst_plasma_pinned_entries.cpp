#include "fake_plasma_shell.h"
#include "platform/linux/plasma_pinned_entries.h"
#include "private_bus.h"
#include "test_environment.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <QUrl>

namespace {

const QString kAppletsData =
    QStringLiteral(TRAYMATE_TEST_DATA "/plasma/plasma-org.kde.plasma.desktop-appletsrc");
const QString kTraymateId =
    QStringLiteral("traymate-group-6f1d3c2e-8a47-4b5e-9c0d-2e7f1a9b3c54.desktop");
// The user's lists in the data file, as Plasma holds them.
const QStringList kMainLaunchers{
    QStringLiteral("applications:org.kde.dolphin.desktop"),
    QStringLiteral("preferred://browser"),
    QStringLiteral("applications:org.kde.konsole.desktop"),
    QStringLiteral("[5f9c1b7e-2d3a-4c61-9a8e-0b7d4e3f2a11,c3a07d52-6e19-4b8f-a2d4-7f5e1c9b0d36]\n"
                   "applications:org.kde.kate.desktop"),
    QStringLiteral("applications:libreoffice-writer.desktop"),
    QStringLiteral("file:///home/sam/.local/share/applications/signal-desktop.desktop"),
    QStringLiteral("applications:thunderbird.desktop"),
    QStringLiteral("applications:org.gnome.Gimp.desktop"),
};
const QStringList kSecondLaunchers{QStringLiteral("applications:org.kde.konsole.desktop"),
                                   QStringLiteral("applications:steam.desktop")};

void writeEntry(const QString& path)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[Desktop Entry]\nType=Application\nName=" + QFileInfo(path).baseName().toUtf8() +
               "\nExec=true\n");
}

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// Plasma's task managers edited through a stand-in plasmashell that runs the scripts in a
// JavaScript engine against a real user's appletsrc. Konsole, Dolphin, Kate, Thunderbird and
// Steam are installed system-wide, LibreOffice Writer for the user; Signal and GIMP are gone.
class PlasmaPinnedEntriesTest : public QObject {
    Q_OBJECT

    QString m_systemApplications;
    QString m_userApplications;
    QString m_appletsFile;
    std::unique_ptr<FakePlasmaShell> m_shell;

    QString system(const QString& id) const { return m_systemApplications + '/' + id; }
    QString user(const QString& id) const { return m_userApplications + '/' + id; }

    void startShell()
    {
        m_shell = std::make_unique<FakePlasmaShell>(m_appletsFile);
        QVERIFY(m_shell->start());
    }

private Q_SLOTS:
    void initTestCase()
    {
        const QString root = QFileInfo(qEnvironmentVariable("HOME")).path();
        m_systemApplications = root + QStringLiteral("/usr/share/applications");
        qputenv("XDG_DATA_DIRS", QFile::encodeName(root + QStringLiteral("/usr/share")));
        m_userApplications =
            qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/applications");
        for (const char* id : {"org.kde.dolphin.desktop", "org.kde.konsole.desktop",
                               "org.kde.kate.desktop", "thunderbird.desktop", "steam.desktop"})
            writeEntry(system(QLatin1String(id)));
        writeEntry(user(QStringLiteral("libreoffice-writer.desktop")));
        m_appletsFile = qEnvironmentVariable("XDG_CONFIG_HOME") +
                        QStringLiteral("/plasma-org.kde.plasma.desktop-appletsrc");
    }

    void init()
    {
        QFile::remove(m_appletsFile);
        QVERIFY(QFile::copy(kAppletsData, m_appletsFile));
        QFile::setPermissions(m_appletsFile, QFile::ReadOwner | QFile::WriteOwner);
        QFile::remove(user(kTraymateId));
    }

    void cleanup()
    {
        if (m_shell)
            QCOMPARE(m_shell->scriptErrors(), QStringList());
        m_shell.reset();
    }

    void importReadsEveryTaskManagerInOrder()
    {
        startShell();
        const std::optional<QStringList> entries = PlasmaPinnedEntries().entries();
        QVERIFY(entries);
        // Browser, Signal and GIMP name no installed entry; Konsole of the second panel is
        // already there; Kate on one activity is still the user's pinned application.
        QCOMPARE(*entries,
                 (QStringList{system("org.kde.dolphin.desktop"), system("org.kde.konsole.desktop"),
                              system("org.kde.kate.desktop"), user("libreoffice-writer.desktop"),
                              system("thunderbird.desktop"), system("steam.desktop")}));
        QCOMPARE(m_shell->configChangedCount(), 0);
    }

    void importWithoutShellReadsTheFile()
    {
        // The same lists, from the file, with an edit the running shell made earlier.
        startShell();
        QStringList launchers = kSecondLaunchers;
        launchers.prepend(QStringLiteral("applications:org.kde.kate.desktop"));
        m_shell->setLaunchers(21, 22, launchers);
        const std::optional<QStringList> live = PlasmaPinnedEntries().entries();
        m_shell.reset();

        const std::optional<QStringList> fromFile = PlasmaPinnedEntries().entries();
        QVERIFY(fromFile);
        QVERIFY(live);
        QCOMPARE(*fromFile, *live);
        QVERIFY(
            !PlasmaPinnedEntries(QDBusConnection::sessionBus(), m_appletsFile + "-none").entries());
    }

    void pinAddsOnceToTheFirstTaskManager()
    {
        writeEntry(user(kTraymateId));
        startShell();
        PlasmaPinnedEntries plasma;
        QVERIFY(plasma.pin(user(kTraymateId)));
        QCOMPARE(m_shell->launchers(2, 5),
                 kMainLaunchers + QStringList{QStringLiteral("applications:") + kTraymateId});
        QCOMPARE(m_shell->launchers(21, 22), kSecondLaunchers);
        QCOMPARE(m_shell->configChangedCount(), 1);
        QCOMPARE(*plasma.entries(),
                 (QStringList{system("org.kde.dolphin.desktop"), system("org.kde.konsole.desktop"),
                              system("org.kde.kate.desktop"), user("libreoffice-writer.desktop"),
                              system("thunderbird.desktop"), user(kTraymateId),
                              system("steam.desktop")}));

        // What the shell saved is what a restarted shell loads.
        KConfigText saved;
        QVERIFY(saved.load(m_appletsFile));
        QCOMPARE(saved.value({"Containments", "2", "Applets", "5", "Configuration", "General"},
                             "launchers"),
                 KConfigText::joinList(m_shell->launchers(2, 5)));

        QVERIFY(plasma.pin(user(kTraymateId)));
        QCOMPARE(m_shell->launchers(2, 5).count(QStringLiteral("applications:") + kTraymateId), 1);
        QCOMPARE(m_shell->configChangedCount(), 1);
    }

    void pinOfAnEntryPinnedElsewhereChangesNothing()
    {
        startShell();
        QVERIFY(PlasmaPinnedEntries().pin(system("steam.desktop")));
        QCOMPARE(m_shell->launchers(2, 5), kMainLaunchers);
        QCOMPARE(m_shell->launchers(21, 22), kSecondLaunchers);
        QCOMPARE(m_shell->configChangedCount(), 0);
    }

    void pinOutsideTheApplicationFoldersUsesTheFileUrl()
    {
        const QString elsewhere = QFileInfo(qEnvironmentVariable("HOME")).path() +
                                  QStringLiteral("/launchers/my tool.desktop");
        writeEntry(elsewhere);
        startShell();
        PlasmaPinnedEntries plasma;
        QVERIFY(plasma.pin(elsewhere));
        QCOMPARE(m_shell->launchers(2, 5).constLast(), QUrl::fromLocalFile(elsewhere).toString());
        QVERIFY(plasma.entries()->contains(elsewhere));
        QVERIFY(plasma.unpin(elsewhere));
        QCOMPARE(m_shell->launchers(2, 5), kMainLaunchers);
    }

    void unpinRemovesEveryItemOfTheEntryAndKeepsTheRest()
    {
        writeEntry(user(kTraymateId));
        startShell();
        const QString byId = QStringLiteral("applications:") + kTraymateId;
        const QString byFile = QUrl::fromLocalFile(user(kTraymateId)).toString();
        const QString scoped = QStringLiteral("[5f9c1b7e-2d3a-4c61-9a8e-0b7d4e3f2a11]\n") + byId;
        QStringList main = kMainLaunchers;
        main.insert(2, byId);
        main.insert(5, scoped);
        main.append(byId);
        m_shell->setLaunchers(2, 5, main);
        m_shell->setLaunchers(21, 22, QStringList{byFile} + kSecondLaunchers);

        QVERIFY(PlasmaPinnedEntries().unpin(user(kTraymateId)));
        // Gone apps, the browser and the launchers kept to an activity stay where they were.
        QStringList expected = kMainLaunchers;
        expected.insert(4, scoped);
        QCOMPARE(m_shell->launchers(2, 5), expected);
        QCOMPARE(m_shell->launchers(21, 22), kSecondLaunchers);
    }

    void unpinRecognisesARemovedEntry()
    {
        // A rename removes the old entry file before the old launcher goes.
        startShell();
        m_shell->setLaunchers(2, 5, kMainLaunchers + QStringList{"applications:" + kTraymateId});
        QVERIFY(PlasmaPinnedEntries().unpin(user(kTraymateId)));
        QCOMPARE(m_shell->launchers(2, 5), kMainLaunchers);
        // An id the system folder has is not the user's removed entry of the same name.
        QVERIFY(PlasmaPinnedEntries().unpin(user(QStringLiteral("steam.desktop"))));
        QCOMPARE(m_shell->launchers(21, 22), kSecondLaunchers);
    }

    void anEditBetweenReadAndWriteIsKept()
    {
        writeEntry(user(kTraymateId));
        startShell();
        const QString added = QStringLiteral("applications:org.kde.kate.desktop");
        m_shell->editAfterNextRead([added](KConfigText& config) {
            const QStringList group{"Containments",  "2",      "Applets", "5",
                                    "Configuration", "General"};
            config.setValue(group, "launchers",
                            KConfigText::joinList(QStringList{added} + kMainLaunchers));
        });
        QVERIFY(PlasmaPinnedEntries().pin(user(kTraymateId)));
        QCOMPARE(m_shell->launchers(2, 5),
                 QStringList{added} + kMainLaunchers + QStringList{"applications:" + kTraymateId});
    }

    void refusalsChangeNothing_data()
    {
        QTest::addColumn<FakePlasmaShell::Refusal>("refusal");
        QTest::newRow("widgets locked") << FakePlasmaShell::Refusal::WidgetsLocked;
        QTest::newRow("kiosk") << FakePlasmaShell::Refusal::Kiosk;
    }

    void refusalsChangeNothing()
    {
        QFETCH(FakePlasmaShell::Refusal, refusal);
        writeEntry(user(kTraymateId));
        startShell();
        m_shell->setRefusal(refusal);
        const QByteArray before = contentOf(m_appletsFile);
        PlasmaPinnedEntries plasma;
        QVERIFY(!plasma.pin(user(kTraymateId)));
        QVERIFY(!plasma.unpin(system("org.kde.dolphin.desktop")));
        QCOMPARE(contentOf(m_appletsFile), before);
        QCOMPARE(m_shell->configChangedCount(), 0);
        // The import still works, from the file.
        QVERIFY(plasma.entries()->contains(system("org.kde.dolphin.desktop")));
    }

    void aLockedLauncherListIsNotReportedAsChanged()
    {
        // A kiosk setup locks the second panel's list: unpinning must touch neither panel.
        writeEntry(user(kTraymateId));
        QByteArray layout = contentOf(m_appletsFile);
        layout.replace("launchers=applications:org.kde.konsole.desktop",
                       "launchers[$i]=applications:org.kde.konsole.desktop");
        QFile file(m_appletsFile);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(layout);
        file.close();
        startShell();
        QVERIFY(!PlasmaPinnedEntries().unpin(system("org.kde.konsole.desktop")));
        QCOMPARE(m_shell->launchers(2, 5), kMainLaunchers);
        QCOMPARE(m_shell->launchers(21, 22), kSecondLaunchers);
        // Pins go to the first panel, whose list is not locked.
        QVERIFY(PlasmaPinnedEntries().pin(user(kTraymateId)));
        QCOMPARE(m_shell->launchers(2, 5),
                 kMainLaunchers + QStringList{"applications:" + kTraymateId});
    }

    void withoutShellOrTaskManagerPinIsRefused()
    {
        writeEntry(user(kTraymateId));
        QVERIFY(!PlasmaPinnedEntries().pin(user(kTraymateId)));
        QVERIFY(!PlasmaPinnedEntries().unpin(system("org.kde.dolphin.desktop")));
        QCOMPARE(contentOf(m_appletsFile), contentOf(kAppletsData));

        // A layout whose panels hold no task manager.
        KConfigText layout;
        QVERIFY(layout.load(m_appletsFile));
        layout.setValue({"Containments", "2", "Applets", "5"}, "plugin", "org.kde.plasma.kickoff");
        layout.setValue({"Containments", "21", "Applets", "22"}, "plugin", "org.kde.plasma.pager");
        QVERIFY(layout.save(m_appletsFile));
        startShell();
        QVERIFY(!PlasmaPinnedEntries().pin(user(kTraymateId)));
        QCOMPARE(PlasmaPinnedEntries().entries(), std::optional<QStringList>(QStringList()));
        QCOMPARE(m_shell->configChangedCount(), 0);
    }
};

// Runs itself again inside a session bus of its own, where the stand-in takes plasmashell's
// name without touching the user's session.
TRAYMATE_PRIVATE_BUS_TEST_MAIN(PlasmaPinnedEntriesTest, QCoreApplication)

#include "tst_plasma_pinned_entries.moc"
