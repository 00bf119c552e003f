#include "model/groups_file.h"
#include "test_environment.h"

#include <QProcess>
#include <QRandomGenerator>
#include <csignal>

// A save interrupted by kill -9 leaves either the old or the new file, never a broken one.
class CrashSafetyTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void killDuringSavesNeverLeavesAnUndecodableFile()
    {
        QTemporaryDir dir;
        const QString folder = dir.path() + QStringLiteral("/Traymate");
        for (int run = 0; run < 15; ++run) {
            QProcess saver;
            saver.start(QStringLiteral(SAVE_LOOP_PATH), {folder});
            QVERIFY(saver.waitForStarted());
            QVERIFY(saver.waitForReadyRead(10000));
            QTest::qWait(QRandomGenerator::global()->bounded(5, 120));
            ::kill(saver.processId(), SIGKILL);
            QVERIFY(saver.waitForFinished());

            QFile file(folder + QStringLiteral("/groups.json"));
            QVERIFY(file.open(QIODevice::ReadOnly));
            const auto groups = GroupsFile::decode(file.readAll());
            QVERIFY2(groups, qPrintable(QStringLiteral("undecodable after run %1").arg(run)));
            QCOMPARE(groups->size(), 100);
            QVERIFY(QDir(folder).entryList({"groups.json.unreadable-*"}).isEmpty());
        }
    }
};

TRAYMATE_TEST_MAIN(CrashSafetyTest)
#include "tst_crash_safety.moc"
