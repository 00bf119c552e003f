#include "panel/footer_flow.h"

#include <QTest>

// How the footer's buttons share its width: one row while they fit, more rows after.
class FooterFlowTest : public QObject {
    Q_OBJECT

    static QList<int> rowsOf(const FooterFlow::Placement& placement)
    {
        QList<int> rows;
        for (const QRect& box : placement.boxes)
            rows << box.top();
        return rows;
    }

private Q_SLOTS:
    void oneRowWithTheLastButtonAtTheRightEnd()
    {
        const auto placement =
            FooterFlow::arrange({{60, 24}, {90, 24}, {80, 24}, {50, 24}}, 376, 8);
        QCOMPARE(placement.rows, 1);
        QCOMPARE(placement.height, 24);
        QCOMPARE(placement.boxes[0], QRect(0, 0, 60, 24));
        QCOMPARE(placement.boxes[1], QRect(68, 0, 90, 24));
        QCOMPARE(placement.boxes[2], QRect(166, 0, 80, 24));
        QCOMPARE(placement.boxes[3], QRect(326, 0, 50, 24));
    }

    void aButtonThatNoLongerFitsStartsTheNextRow()
    {
        // 120 + 8 + 150 = 278; the third (140) does not fit beside them in 376.
        const auto placement =
            FooterFlow::arrange({{120, 30}, {150, 30}, {140, 30}, {90, 28}}, 376, 8);
        QCOMPARE(rowsOf(placement), QList<int>({0, 0, 38, 38}));
        QCOMPARE(placement.boxes[2].left(), 0);
        QCOMPARE(placement.boxes[3], QRect(286, 38, 90, 30)); // right end, tallest height
        QCOMPARE(placement.height, 68);
        QCOMPARE(placement.rows, 2);
    }

    void theLastButtonWrapsAloneWhenItDoesNotFit()
    {
        const auto placement = FooterFlow::arrange({{200, 20}, {150, 20}, {60, 20}}, 376, 8);
        QCOMPARE(rowsOf(placement), QList<int>({0, 0, 28}));
        QCOMPARE(placement.boxes[2], QRect(316, 28, 60, 20));
    }

    void aButtonWiderThanTheFooterIsCutToItsWidth()
    {
        const auto placement = FooterFlow::arrange({{500, 20}, {50, 20}}, 376, 8);
        QCOMPARE(placement.boxes[0], QRect(0, 0, 376, 20));
        QCOMPARE(placement.boxes[1], QRect(326, 28, 50, 20));
        QVERIFY(FooterFlow::arrange({}, 376, 8).boxes.isEmpty());
    }
};

QTEST_APPLESS_MAIN(FooterFlowTest)
#include "tst_footer_flow.moc"
