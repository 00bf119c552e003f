#include "dock/launcher_icon.h"
#include "dock/launchers.h"
#include "dock_fixture.h"
#include "test_environment.h"

#include <QTemporaryDir>

using namespace DockTest;

namespace {

// Centres of the item squares in image coordinates (origin top left).
const QPoint kCentre(256, 256);
const QPoint kUpperLeft(151, 151), kUpperRight(361, 151);
const QPoint kLowerLeft(151, 361), kLowerRight(361, 361);
const QPoint kLeft(151, 256), kRight(361, 256);

bool near(QColor actual, QColor expected, int tolerance = 3)
{
    return std::abs(actual.red() - expected.red()) <= tolerance &&
           std::abs(actual.green() - expected.green()) <= tolerance &&
           std::abs(actual.blue() - expected.blue()) <= tolerance &&
           std::abs(actual.alpha() - expected.alpha()) <= tolerance;
}

QColor at(const QImage& image, QPoint p)
{
    return image.pixelColor(p);
}

// The gradient's grey at an image row: 0.96 at the top of the square, 0.78 at its bottom.
QColor gradientAt(int y)
{
    const double t = (y + 0.5 - 40) / 432.0;
    const int level = qRound((0.96 + (0.78 - 0.96) * t) * 255);
    return QColor(level, level, level);
}

} // namespace

class LauncherIconTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QStringList items;
    const QList<QColor> colours = {Qt::red, Qt::green, Qt::blue, Qt::yellow, Qt::magenta};

    AppGroup groupOf(int count) const
    {
        AppGroup g;
        g.name = "Icons";
        g.apps = items.mid(0, count);
        return g;
    }

    QString customImage(const QString& name, QSize size, const QList<QColor>& thirds)
    {
        QImage image(size, QImage::Format_ARGB32);
        for (int x = 0; x < size.width(); ++x) {
            const QColor colour = thirds[std::min<int>(x * 3 / size.width(), 2)];
            for (int y = 0; y < size.height(); ++y)
                image.setPixelColor(x, y, colour);
        }
        const QString path = dir.filePath(name);
        image.save(path);
        return path;
    }

private Q_SLOTS:
    void initTestCase()
    {
        for (int i = 0; i < colours.size(); ++i)
            items.append(colouredEntry(dir.path(), QString("item%1").arg(i), colours[i]));
    }

    void withoutItemsOnlyTheGradientInARoundedSquare()
    {
        const QImage image = Launchers::icon(groupOf(0));
        QCOMPARE(image.size(), QSize(512, 512));
        QVERIFY(near(at(image, {256, 41}), gradientAt(41)));
        QVERIFY(near(at(image, {256, 470}), gradientAt(470)));
        QVERIFY(near(at(image, kCentre), gradientAt(256)));
        QVERIFY(at(image, {256, 41}).lightness() > at(image, {256, 470}).lightness());
        // Outside the square and in its rounded corners: transparent.
        for (QPoint p : {QPoint(20, 256), QPoint(256, 20), QPoint(491, 256), QPoint(256, 491),
                         QPoint(45, 45), QPoint(466, 45), QPoint(45, 466), QPoint(466, 466)})
            QCOMPARE(at(image, p).alpha(), 0);
        // The corners are arcs of radius 96 about (136, 136): 90 from it inside, 100 outside.
        QCOMPARE(at(image, {73, 73}).alpha(), 255);
        QCOMPARE(at(image, {65, 65}).alpha(), 0);
        QCOMPARE(at(image, {438, 438}).alpha(), 255);
        QCOMPARE(at(image, {446, 446}).alpha(), 0);
    }

    void oneItemFillsTheCentreSquare()
    {
        const QImage image = Launchers::icon(groupOf(1));
        QVERIFY(near(at(image, kCentre), Qt::red));
        QVERIFY(near(at(image, {108, 108}), Qt::red));
        QVERIFY(near(at(image, {403, 403}), Qt::red));
        QVERIFY(near(at(image, {100, 256}), gradientAt(256)));
        QVERIFY(near(at(image, {256, 412}), gradientAt(412)));
    }

    void twoItemsSideBySide()
    {
        const QImage image = Launchers::icon(groupOf(2));
        QVERIFY(near(at(image, kLeft), Qt::red));
        QVERIFY(near(at(image, kRight), Qt::green));
        QVERIFY(near(at(image, {256, 256}), gradientAt(256)));
        QVERIFY(near(at(image, {151, 150}), gradientAt(150)));
    }

    void threeItemsLeaveTheLowerRightEmpty()
    {
        const QImage image = Launchers::icon(groupOf(3));
        QVERIFY(near(at(image, kUpperLeft), Qt::red));
        QVERIFY(near(at(image, kUpperRight), Qt::green));
        QVERIFY(near(at(image, kLowerLeft), Qt::blue));
        QVERIFY(near(at(image, kLowerRight), gradientAt(361)));
    }

    void fiveItemsShowTheFirstFour()
    {
        const QImage image = Launchers::icon(groupOf(5));
        QVERIFY(near(at(image, kUpperLeft), Qt::red));
        QVERIFY(near(at(image, kUpperRight), Qt::green));
        QVERIFY(near(at(image, kLowerLeft), Qt::blue));
        QVERIFY(near(at(image, kLowerRight), Qt::yellow));
        for (int y = 0; y < 512; y += 4) {
            for (int x = 0; x < 512; x += 4)
                QVERIFY(!near(at(image, {x, y}), Qt::magenta, 40));
        }
        AppGroup otherFifth = groupOf(5);
        otherFifth.apps[4] = items[0];
        QCOMPARE(Launchers::icon(otherFifth), image);
    }

    void aWideCustomIconFillsTheHeightAndIsCutAtTheSides()
    {
        // 300 by 100: scaled by 4.32 to 1296 wide, so only the middle third shows.
        AppGroup g = groupOf(4);
        g.icon = customImage("wide.png", {300, 100}, {Qt::red, Qt::green, Qt::blue});
        const QImage image = Launchers::icon(g);
        for (QPoint p :
             {kCentre, QPoint(44, 256), QPoint(467, 256), QPoint(256, 42), QPoint(256, 469)})
            QVERIFY2(near(at(image, p), Qt::green), qPrintable(at(image, p).name()));
        for (QPoint p : {QPoint(30, 256), QPoint(481, 256), QPoint(45, 45), QPoint(466, 466)})
            QCOMPARE(at(image, p).alpha(), 0);
    }

    void aTallCustomIconFillsTheWidth()
    {
        AppGroup g = groupOf(0);
        QImage tall(100, 300, QImage::Format_ARGB32);
        for (int y = 0; y < 300; ++y)
            for (int x = 0; x < 100; ++x)
                tall.setPixelColor(x, y, y < 100 ? Qt::red : y < 200 ? Qt::cyan : Qt::blue);
        g.icon = dir.filePath("tall.png");
        tall.save(*g.icon);
        const QImage image = Launchers::icon(g);
        QVERIFY(near(at(image, {256, 44}), Qt::cyan));
        QVERIFY(near(at(image, {256, 467}), Qt::cyan));
        QVERIFY(near(at(image, {44, 256}), Qt::cyan));
    }

    void anIconThatDoesNotLoadFallsBackToTheItems()
    {
        AppGroup g = groupOf(1);
        g.icon = dir.filePath("missing.png");
        QVERIFY(near(at(Launchers::icon(g), kCentre), Qt::red));
        writeFile(dir.filePath("bad.png"), "not an image");
        g.icon = dir.filePath("bad.png");
        QVERIFY(near(at(Launchers::icon(g), kCentre), Qt::red));
    }
};

TRAYMATE_TEST_MAIN(LauncherIconTest)
#include "tst_launcher_icon.moc"
