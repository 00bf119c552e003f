#include "panel/full_panel.h"
#include "panel_fixture.h"
#include "test_environment.h"

#include <QFile>
#include <QImage>
#include <QStandardPaths>

// The tiles' icons as the user sees them drawn.
class ItemIconsTest : public QObject {
    Q_OBJECT

    PanelFixture fx;

    // How many pixels of the panel as drawn are this pure colour.
    static int pixelsOf(PanelView& view, QColor colour)
    {
        const QImage image = view.grab().toImage().convertToFormat(QImage::Format_RGB32);
        int count = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                count += image.pixelColor(x, y) == colour;
        return count;
    }

private Q_SLOTS:
    void anIconThatAppearsLaterIsShownAtTheNextOpening()
    {
        // A program whose icon is not installed yet: the tile shows a stand-in.
        const QString folder =
            QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
            QStringLiteral("/applications");
        QVERIFY(QDir().mkpath(folder));
        const QString picture = fx.scratch(QStringLiteral("icons/later.png"));
        const QString entry = folder + QStringLiteral("/later.desktop");
        QFile file(entry);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[Desktop Entry]\nType=Application\nName=Later\nExec=true\nIcon=" +
                   QFile::encodeName(picture) + "\n");
        file.close();
        Store& store = fx.openWith({StoreFixture::named("Apps", {entry})});
        const QColor red(255, 0, 0);
        QCOMPARE(pixelsOf(fx.panel(store), red), 0);
        fx.closePanel();

        // Installed now; the panel opened again draws it.
        QVERIFY(QDir().mkpath(QFileInfo(picture).path()));
        QImage icon(64, 64, QImage::Format_RGB32);
        icon.fill(red);
        QVERIFY(icon.save(picture));
        QVERIFY2(pixelsOf(fx.panel(store), red) > 100, "the tile kept the stand-in icon");
    }
};

TRAYMATE_TEST_MAIN(ItemIconsTest)
#include "tst_item_icons.moc"
