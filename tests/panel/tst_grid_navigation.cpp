#include "panel/grid_navigation.h"

#include <QTest>

using GridNavigation::Move;
using GridNavigation::next;

// Where the arrow keys take the focus over the tiles, and how group keys pick groups.
class GridNavigationTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void leftAndRightRunOnThroughTheRows()
    {
        // 10 tiles in 4 columns: rows 0-3, 4-7, 8-9.
        QCOMPARE(next(3, Move::Right, 10, 4), 4);
        QCOMPARE(next(4, Move::Left, 10, 4), 3);
        QCOMPARE(next(9, Move::Right, 10, 4), 9); // the last tile stays
        QCOMPARE(next(0, Move::Left, 10, 4), 0);
    }

    void upAndDownKeepTheColumn()
    {
        QCOMPARE(next(1, Move::Down, 10, 4), 5);
        QCOMPARE(next(5, Move::Down, 10, 4), 9);
        QCOMPARE(next(9, Move::Up, 10, 4), 5);
        QCOMPARE(next(5, Move::Up, 10, 4), 1);
    }

    void downIntoAShortLastRowLandsOnItsLastTile()
    {
        QCOMPARE(next(7, Move::Down, 10, 4), 9); // column 3 has no tile in the last row
        QCOMPARE(next(9, Move::Down, 10, 4), 9);
        QCOMPARE(next(2, Move::Down, 3, 4), 2); // a single row
    }

    void upFromTheFirstRowLeavesTheGrid()
    {
        QCOMPARE(next(2, Move::Up, 10, 4), GridNavigation::kAboveGrid);
        QCOMPARE(next(0, Move::Up, 1, 4), GridNavigation::kAboveGrid);
    }

    void homeEndAndAFirstMove()
    {
        QCOMPARE(next(6, Move::Home, 10, 4), 0);
        QCOMPARE(next(2, Move::End, 10, 4), 9);
        QCOMPARE(next(-1, Move::Down, 10, 4), 0);
        QCOMPARE(next(12, Move::Left, 10, 4), 0); // a tile that has gone
        QCOMPARE(next(-1, Move::Down, 0, 4), GridNavigation::kAboveGrid);
        QCOMPARE(next(2, Move::Down, 5, 0), 3); // never divides by zero columns
    }

    void groupKeysGoRoundAndStopAtTheLastGroup()
    {
        QCOMPARE(GridNavigation::cycledGroup(2, 1, 3), 0);
        QCOMPARE(GridNavigation::cycledGroup(0, -1, 3), 2);
        QCOMPARE(GridNavigation::cycledGroup(1, 1, 3), 2);
        QCOMPARE(GridNavigation::cycledGroup(-1, -1, 3), 2);
        QCOMPARE(GridNavigation::cycledGroup(0, 1, 0), -1);
        QCOMPARE(GridNavigation::groupForDigit(1, 3), std::optional(0));
        QCOMPARE(GridNavigation::groupForDigit(3, 3), std::optional(2));
        QCOMPARE(GridNavigation::groupForDigit(4, 3), std::nullopt);
        QCOMPARE(GridNavigation::groupForDigit(0, 3), std::nullopt);
    }
};

QTEST_APPLESS_MAIN(GridNavigationTest)
#include "tst_grid_navigation.moc"
