#include "panel/full_panel.h"
#include "panel/item_grid.h"
#include "panel/panel_form.h"
#include "panel_fixture.h"
#include "test_environment.h"

#include <QFile>
#include <QImage>
#include <QScrollBar>
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

    // A program whose icon file is named but not installed yet: its tile shows a stand-in.
    QString entryWithIcon(const QString& name, const QString& picture)
    {
        const QString folder =
            QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
            QStringLiteral("/applications");
        const QString entry = folder + QLatin1Char('/') + name + QStringLiteral(".desktop");
        QFile file(entry);
        if (!QDir().mkpath(folder) || !file.open(QIODevice::WriteOnly))
            return QString();
        file.write("[Desktop Entry]\nType=Application\nName=" + name.toUtf8() +
                   "\nExec=true\nIcon=" + QFile::encodeName(picture) + "\n");
        return entry;
    }

    static bool install(const QString& picture, QColor colour)
    {
        QImage icon(64, 64, QImage::Format_RGB32);
        icon.fill(colour);
        return QDir().mkpath(QFileInfo(picture).path()) && icon.save(picture);
    }

private Q_SLOTS:
    void anIconThatAppearsLaterIsShownAtTheNextOpening()
    {
        const QString picture = fx.scratch(QStringLiteral("icons/later.png"));
        const QString entry = entryWithIcon(QStringLiteral("Later"), picture);
        QVERIFY(!entry.isEmpty());
        Store& store = fx.openWith({StoreFixture::named("Apps", {entry})});
        const QColor red(255, 0, 0);
        QCOMPARE(pixelsOf(fx.panel(store), red), 0);
        fx.closePanel();

        // Installed now; the panel opened again draws it.
        QVERIFY(install(picture, red));
        QVERIFY2(pixelsOf(fx.panel(store), red) > 100, "the tile kept the stand-in icon");
    }

    // The program loads the tiles in view while the display server maps the panel, and only
    // those: a big group costs no more at the opening than the tiles that show.
    void onlyTheTilesInViewAreLoadedBeforeTheFirstPaint()
    {
        QStringList entries;
        QStringList pictures;
        for (int i = 0; i < 60; ++i) {
            pictures << fx.scratch(QStringLiteral("icons/ahead%1.png").arg(i));
            entries << entryWithIcon(QStringLiteral("Ahead%1").arg(i), pictures.last());
            QVERIFY(!entries.last().isEmpty());
        }
        Store& store = fx.openWith({StoreFixture::named("Apps", entries)});
        PanelView& view = fx.panel(store, false);
        view.show();
        view.loadItemsInView();
        ItemGrid* grid = view.form()->grid();
        QVERIFY(grid->verticalScrollBar()->maximum() > 0);

        // Installed after the loading: the tiles loaded then keep their stand-ins for this
        // opening, and the ones out of view load as they are drawn.
        const QColor red(255, 0, 0);
        for (const QString& picture : pictures)
            QVERIFY(install(picture, red));
        QVERIFY2(pixelsOf(view, red) == 0, "the tiles in view were not loaded ahead");
        grid->verticalScrollBar()->setValue(grid->verticalScrollBar()->maximum());
        QVERIFY2(pixelsOf(view, red) > 100, "the tiles out of view were loaded ahead too");
    }
};

TRAYMATE_TEST_MAIN(ItemIconsTest)
#include "tst_item_icons.moc"
