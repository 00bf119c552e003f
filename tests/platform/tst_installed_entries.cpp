#include "platform/installed_entries.h"
#include "test_environment.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QSignalSpy>
#include <QStandardPaths>

// GIO's reports of installed desktop entries, as the display names rely on them.
class InstalledEntriesTest : public QObject {
    Q_OBJECT

    static QString applications()
    {
        return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
               QStringLiteral("/applications");
    }
    static void install(const QString& name)
    {
        QSaveFile file(applications() + QLatin1Char('/') + name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[Desktop Entry]\nType=Application\nExec=true\nName=" + name.toUtf8() + "\n");
        QVERIFY(file.commit());
    }

private Q_SLOTS:
    void coversTheApplicationFoldersOnly()
    {
        InstalledEntries entries;
        QVERIFY(entries.covers(applications()));
        QVERIFY(entries.covers(applications() + QStringLiteral("/")));
        const QString system =
            QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation).last();
        QVERIFY(entries.covers(system + QStringLiteral("/applications")));
        QVERIFY(!entries.covers(applications() + QStringLiteral("/kde"))); // not watched
        QVERIFY(!entries.covers(QFileInfo(applications()).path()));
        QVERIFY(!entries.covers(QDir::homePath()));
    }

    // GIO reports once, then waits to be asked again: every report after the first one
    // depends on listen().
    void reportsEveryInstallAfterListening()
    {
        QVERIFY(QDir().mkpath(applications()));
        InstalledEntries entries;
        QSignalSpy changed(&entries, &InstalledEntries::changed);
        for (const char* name : {"first.desktop", "second.desktop", "third.desktop"}) {
            entries.listen();
            changed.clear();
            install(QLatin1String(name));
            QVERIFY2(changed.wait(5000), name);
        }
    }
};

TRAYMATE_TEST_MAIN(InstalledEntriesTest)
#include "tst_installed_entries.moc"
