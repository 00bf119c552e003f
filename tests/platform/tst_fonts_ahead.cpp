#include "mapped_font_files.h"
#include "platform/desktop.h"
#include "test_environment.h"

class FontsAheadTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void theConfigurationIsLoadedOnAnotherThreadByTheTimeTheResultIsDropped()
    {
        QCOMPARE(MappedFontFiles::count(QStringLiteral("self"), MappedFontFiles::caches),
                 0); // nothing here has drawn text yet
        {
            const std::jthread loading = Desktop::loadFontsAhead();
            QVERIFY(loading.joinable());
            QVERIFY(loading.get_id() != std::this_thread::get_id());
        }
        QVERIFY(MappedFontFiles::count(QStringLiteral("self"), MappedFontFiles::caches) > 0);
    }
};

TRAYMATE_TEST_MAIN(FontsAheadTest)
#include "tst_fonts_ahead.moc"
