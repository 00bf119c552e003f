#include "platform/desktop.h"
#include "test_environment.h"

#include <QFile>
#include <QRegularExpression>

namespace {

// fontconfig's cache files this process has mapped: there once its configuration is loaded.
int mappedFontCaches()
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly))
        return -1;
    static const QRegularExpression cacheFile(QStringLiteral("fontconfig/[^/]+\\.cache-\\d+$"));
    int count = 0;
    for (const QByteArray& line : maps.readAll().split('\n'))
        count += cacheFile.match(QString::fromUtf8(line).trimmed()).hasMatch() ? 1 : 0;
    return count;
}

} // namespace

class FontsAheadTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void theConfigurationIsLoadedOnAnotherThreadByTheTimeTheResultIsDropped()
    {
        QCOMPARE(mappedFontCaches(), 0); // nothing here has drawn text yet
        {
            const std::jthread loading = Desktop::loadFontsAhead();
            QVERIFY(loading.joinable());
            QVERIFY(loading.get_id() != std::this_thread::get_id());
        }
        QVERIFY(mappedFontCaches() > 0);
    }
};

TRAYMATE_TEST_MAIN(FontsAheadTest)
#include "tst_fonts_ahead.moc"
