#include "panel/full_panel.h"
#include "panel/group_icon.h"
#include "panel/group_tab.h"
#include "panel/tab_strip.h"
#include "panel_fixture.h"
#include "test_environment.h"

#include <QImage>
#include <QPainter>

// Group pictures drawn for the pixel ratio of what they are painted on, so that a panel moved
// to a screen of another ratio shows them sharp.
class PixelRatioTest : public QObject {
    Q_OBJECT

    PanelFixture fx;

    // A picture of one-pixel stripes: any scaling of it shows.
    QString stripes()
    {
        QImage image(72, 72, QImage::Format_ARGB32);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                image.setPixelColor(x, y, x % 2 ? Qt::black : Qt::white);
        const QString path = fx.scratch(QStringLiteral("stripes.png"));
        return image.save(path) ? path : QString();
    }

    // The tab drawn on an image of `ratio`, cut to where its picture goes.
    static QImage tabPicture(GroupTab* tab, qreal ratio)
    {
        QImage image(tab->size() * ratio, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(ratio);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            tab->paintTab(painter, tab->rect());
        }
        constexpr int side = 18, padding = 10;
        const int top = (tab->height() - side) / 2;
        return image.copy(QRect(QPoint(padding, top) * ratio, QSize(side, side) * ratio));
    }

private Q_SLOTS:
    void aTabDrawsItsPictureAtTheRatioItIsPaintedAt()
    {
        Store& store = fx.openWith({StoreFixture::named("Striped")});
        const QString picture = stripes();
        QVERIFY(!picture.isEmpty());
        store.setIcon(picture, store.groups()[0].id);
        PanelView& view = fx.panel(store);
        GroupTab* tab = qobject_cast<FullPanel*>(view.form())->tabStrip()->tabs().value(0);
        QVERIFY(tab);
        const AppGroup group = store.groups()[0];

        // Made once at ratio 1, it would be scaled up at 2 and lose its stripes.
        for (const qreal ratio : {1.0, 2.0, 1.0}) {
            const QImage expected = groupIcon(group, 18, ratio)
                                        .toImage()
                                        .convertToFormat(QImage::Format_ARGB32_Premultiplied);
            const QImage drawn = tabPicture(tab, ratio);
            QCOMPARE(drawn.size(), expected.size());
            // The middle only: the rounded corners show the tab's fill through.
            const QRect middle(expected.width() / 4, expected.height() / 4, expected.width() / 2,
                               expected.height() / 2);
            QImage inner = drawn.copy(middle);
            inner.setDevicePixelRatio(1);
            QImage wanted = expected.copy(middle);
            wanted.setDevicePixelRatio(1);
            QCOMPARE(inner, wanted);
        }
    }
};

TRAYMATE_TEST_MAIN(PixelRatioTest)
#include "tst_pixel_ratio.moc"
