#include "panel/panel_layout.h"
#include "panel/placement.h"
#include "test_environment.h"

#include <QSet>

namespace {

Placement::Screen screen(QRectF frame, QRectF visible)
{
    return {frame, visible};
}

// One screen 1440 by 900 whose visible part starts above a dock and ends below a top bar.
Placement::Request oneScreen(QRectF visible = {0, 0, 1440, 875})
{
    Placement::Request request;
    request.screens = {screen({0, 0, 1440, 900}, visible)};
    request.mainScreen = 0;
    request.pointer = {700, 500};
    return request;
}

} // namespace

Q_DECLARE_METATYPE(Placement::Request)

class PlacementTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The opening asks the desktop for the pointer only when usesPointer() says so: wherever
    // the pointer is, a request it calls free of the pointer must land in one place.
    void usesPointerExactlyWhenThePointerMovesThePanel_data()
    {
        QTest::addColumn<Placement::Request>("request");
        QTest::addColumn<bool>("uses");
        Placement::Request request = oneScreen();
        request.size = {400, 440};
        QTest::newRow("one screen, bottom centre") << request << false;
        request.mode = Placement::AtMouse;
        QTest::newRow("one screen, at the mouse") << request << true;
        request.anchor = QPointF(700, 450);
        request.size = {296, 154};
        QTest::newRow("one screen, at the mouse, anchored") << request << false;
        request.screens.append(screen({1440, 0, 1280, 1024}, {1440, 0, 1280, 1000}));
        QTest::newRow("two screens, anchored") << request << true;
        request.screens.clear();
        request.anchor.reset();
        request.mode = Placement::BottomCenter;
        QTest::newRow("no screen, bottom centre") << request << false;
    }
    void usesPointerExactlyWhenThePointerMovesThePanel()
    {
        QFETCH(Placement::Request, request);
        QFETCH(bool, uses);
        QCOMPARE(Placement::usesPointer(request), uses);

        QSet<QPair<qreal, qreal>> origins;
        for (qreal x = -500; x <= 3000; x += 250) {
            for (qreal y = -500; y <= 1500; y += 250) {
                request.pointer = {x, y};
                const QPointF origin = Placement::origin(request);
                origins.insert({origin.x(), origin.y()});
            }
        }
        QCOMPARE(origins.size() > 1, uses);
    }

    void compactSizes_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<QSize>("size");
        QTest::newRow("0") << 0 << QSize(296, 154);
        QTest::newRow("-3") << -3 << QSize(296, 154);
        QTest::newRow("1") << 1 << QSize(296, 154);
        QTest::newRow("3") << 3 << QSize(296, 154);
        QTest::newRow("4") << 4 << QSize(384, 154);
        QTest::newRow("5") << 5 << QSize(384, 238);
        QTest::newRow("8") << 8 << QSize(384, 238);
        QTest::newRow("9") << 9 << QSize(384, 322);
        QTest::newRow("16") << 16 << QSize(384, 406);
        QTest::newRow("20") << 20 << QSize(384, 490);
        QTest::newRow("21") << 21 << QSize(384, 490);
        QTest::newRow("500") << 500 << QSize(384, 490);
    }
    void compactSizes()
    {
        QFETCH(int, count);
        QFETCH(QSize, size);
        QCOMPARE(PanelLayout::compact(count), size);
        QCOMPARE(PanelLayout::full, QSize(400, 440));
    }

    void fullFormWithoutAnchor()
    {
        Placement::Request request = oneScreen();
        request.size = PanelLayout::full;
        QCOMPARE(Placement::origin(request), QPointF(520, 12));

        // Any mode but 1 is "Bottom center".
        request.mode = 7;
        QCOMPARE(Placement::origin(request), QPointF(520, 12));

        request.mode = Placement::AtMouse;
        request.pointer = {700, 500};
        QCOMPARE(Placement::origin(request), QPointF(500, 280));
        request.pointer = {10, 500};
        QCOMPARE(Placement::origin(request).x(), 8.0);
        request.pointer = {1435, 890};
        QCOMPARE(Placement::origin(request), QPointF(1440 - 400 - 8, 875 - 440 - 8));
    }

    void anchorOnDocks()
    {
        Placement::Request request = oneScreen({0, 80, 1440, 795});
        request.size = PanelLayout::compact(2);

        // Bottom dock: above the icon, but never below the floor over the visible frame.
        request.anchor = QPointF(700, 20);
        QCOMPARE(Placement::origin(request), QPointF(700 - 148, 136));
        request.anchor = QPointF(700, 100);
        QCOMPARE(Placement::origin(request), QPointF(700 - 148, 185));

        // Left and right docks: beside the icon, centred on it vertically.
        request = oneScreen();
        request.size = PanelLayout::compact(2);
        request.anchor = QPointF(30, 450);
        QCOMPARE(Placement::origin(request), QPointF(230, 450 - 77));
        request.anchor = QPointF(1420, 450);
        QCOMPARE(Placement::origin(request), QPointF(1420 - 296 - 200, 450 - 77));

        // Elsewhere: centred on the anchor, whatever the mode says.
        request.mode = Placement::AtMouse;
        request.anchor = QPointF(700, 500);
        request.pointer = {10, 10};
        QCOMPARE(Placement::origin(request), QPointF(700 - 148, 500 - 77));
    }

    void chosenScreen()
    {
        Placement::Request request;
        request.screens = {screen({0, 0, 1000, 800}, {0, 0, 1000, 780}),
                           screen({1000, 0, 800, 600}, {1000, 50, 800, 550})};
        request.mainScreen = 0;
        request.size = PanelLayout::full;

        request.pointer = {1500, 300};
        QCOMPARE(Placement::chooseScreen(request), &request.screens[1]);
        QCOMPARE(Placement::origin(request), QPointF(1400 - 200, 62));

        // The lower edge belongs to no screen, the upper one does.
        request.pointer = {1500, 0};
        QCOMPARE(Placement::chooseScreen(request), &request.screens[0]);
        request.pointer = {1500, 600};
        QCOMPARE(Placement::chooseScreen(request), &request.screens[1]);

        // Off every screen: the main one, else the first.
        request.pointer = {5000, 5000};
        request.mainScreen = 1;
        QCOMPARE(Placement::chooseScreen(request), &request.screens[1]);
        request.mainScreen = -1;
        QCOMPARE(Placement::chooseScreen(request), &request.screens[0]);
        request.screens.clear();
        QCOMPARE(Placement::chooseScreen(request), nullptr);
    }

    void panelLargerThanScreenKeepsItsTop()
    {
        Placement::Request request = oneScreen({0, 0, 300, 300});
        request.screens.first().frame = {0, 0, 300, 320};
        request.size = PanelLayout::full;
        QCOMPARE(Placement::origin(request), QPointF(300 - 400 - 8, 300 - 440 - 8));
    }

    void qtCoordinatesConvertAtTheEdge()
    {
        // Main screen 1440 by 900 at Qt's origin, a second one to its left and lower down.
        const PlacementSpace space(QRect(0, 0, 1440, 900));
        QCOMPARE(space.toPlacement(QPointF(100, 0)), QPointF(100, 900));
        QCOMPARE(space.toPlacement(QRect(0, 25, 1440, 875)), QRectF(0, 0, 1440, 875));
        QCOMPARE(space.toPlacement(QRect(-1024, 132, 1024, 768)), QRectF(-1024, 0, 1024, 768));
        QCOMPARE(space.toQt(QPointF(520, 12), QSizeF(400, 440)), QRect(520, 448, 400, 440));

        // A main screen that is not at Qt's origin still puts the origin at its lower left.
        const PlacementSpace shifted(QRect(200, 100, 800, 600));
        QCOMPARE(shifted.toPlacement(QPointF(200, 700)), QPointF(0, 0));
        QCOMPARE(shifted.toQt(QPointF(0, 0), QSizeF(10, 10)), QRect(200, 690, 10, 10));
    }
};

TRAYMATE_TEST_MAIN(PlacementTest)
#include "tst_placement.moc"
