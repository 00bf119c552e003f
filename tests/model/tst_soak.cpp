#include "soak_driver.h"
#include "test_environment.h"

#include <QRandomGenerator>

// A short run of the soak benchmark (bench/soak_bench): moves, renames and imports killed at
// random moments lose no group and no item, and leave no file behind.
class SoakTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void killsLoseNothingAndLeaveNothingBehind()
    {
        QTemporaryDir dir;
        const quint32 seed = QRandomGenerator::global()->generate();
        const Soak::Figures figures =
            Soak::run(QStringLiteral(SOAK_WORKER_PATH), dir.path(), 48, 8, seed);
        const QString context = QStringLiteral("seed %1").arg(seed);
        QCOMPARE(figures.kills, 48);
        QVERIFY2(figures.undecodable == 0, qPrintable(context));
        QVERIFY2(figures.lostGroups == 0, qPrintable(context));
        QVERIFY2(figures.lostItems == 0, qPrintable(context));
        QVERIFY2(figures.leftovers == 0, qPrintable(context));
    }
};

TRAYMATE_TEST_MAIN(SoakTest)
#include "tst_soak.moc"
