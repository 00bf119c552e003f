#include "platform/linux/tray_readiness.h"
#include "test_environment.h"

using namespace std::chrono_literals;
using TrayReadiness::Trays;

Q_DECLARE_METATYPE(Trays)
Q_DECLARE_METATYPE(std::optional<std::chrono::milliseconds>)

class TrayReadinessTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void decidesWhenTheIconMayBeMade_data()
    {
        QTest::addColumn<Trays>("trays");
        QTest::addColumn<bool>("atStart");
        QTest::addColumn<std::optional<std::chrono::milliseconds>>("xembedSeenFor");
        QTest::addColumn<bool>("ready");
        const std::optional<std::chrono::milliseconds> unseen;
        const auto justNow = std::optional(0ms);
        const auto beforeGrace = std::optional(TrayReadiness::xembedGrace - 1ms);
        const auto afterGrace = std::optional(TrayReadiness::xembedGrace);

        QTest::newRow("a host, at start") << Trays{true, true, false} << true << unseen << true;
        QTest::newRow("a host beside an XEmbed tray")
            << Trays{true, true, true} << false << justNow << true;
        QTest::newRow("nothing yet: a panel may still come")
            << Trays{false, false, false} << true << unseen << false;
        QTest::newRow("a watcher whose host is still starting")
            << Trays{false, true, false} << false << unseen << false;
        QTest::newRow("only an XEmbed tray, at start (trayer)")
            << Trays{false, false, true} << true << justNow << true;
        QTest::newRow("an XEmbed tray beside a watcher without host")
            << Trays{false, true, true} << true << justNow << false;
        QTest::newRow("the same, host still missing after the grace")
            << Trays{false, true, true} << false << afterGrace << true;
        QTest::newRow("an XEmbed tray that just came: its host may follow")
            << Trays{false, false, true} << false << beforeGrace << false;
        QTest::newRow("an XEmbed tray that came alone")
            << Trays{false, false, true} << false << afterGrace << true;
    }
    void decidesWhenTheIconMayBeMade()
    {
        QFETCH(Trays, trays);
        QFETCH(bool, atStart);
        QFETCH(std::optional<std::chrono::milliseconds>, xembedSeenFor);
        QFETCH(bool, ready);
        QCOMPARE(TrayReadiness::ready(trays, atStart, xembedSeenFor), ready);
    }
};

TRAYMATE_TEST_MAIN(TrayReadinessTest)
#include "tst_tray_readiness.moc"
