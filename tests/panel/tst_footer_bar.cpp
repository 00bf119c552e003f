// The footer's buttons on a real widget: they wrap to fit, and follow a change of style.
#include "panel/footer_bar.h"
#include "test_environment.h"

#include <QPushButton>
#include <QtTest>

class FooterBarTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { qApp->setStyleSheet(QString()); }

    // The bar keeps its measures between layouts: a change of style must measure again, or
    // wider buttons would overlap on a row that no longer holds them.
    void aWiderStyleWrapsTheButtonsOntoMoreRows()
    {
        FooterBar bar;
        for (const char* title : {"Add", "Import Dock", "New Group", "Quit"})
            bar.addButton(QString::fromLatin1(title));
        const int width = bar.sizeHint().width();
        bar.resize(width, bar.heightForWidth(width));
        bar.show();
        const int oneRow = bar.heightForWidth(width);
        QCOMPARE(bar.buttons().first()->y(), bar.buttons().last()->y());

        qApp->setStyleSheet(QStringLiteral("QPushButton { padding: 2px 40px; }"));
        QVERIFY(bar.heightForWidth(width) > oneRow);
        bar.resize(width, bar.heightForWidth(width));
        QVERIFY(bar.buttons().last()->y() > bar.buttons().first()->y());
        QRect previous;
        for (const QPushButton* button : bar.buttons()) {
            QVERIFY2(!button->geometry().intersects(previous), qPrintable(button->text()));
            QVERIFY2(bar.rect().contains(button->geometry()), qPrintable(button->text()));
            QCOMPARE(button->text(), FooterBar::titleOf(button)); // each still fits whole
            previous = button->geometry();
        }
    }
};

TRAYMATE_TEST_MAIN(FooterBarTest)
#include "tst_footer_bar.moc"
