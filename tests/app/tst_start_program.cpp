#include "mapped_font_files.h"
#include "private_bus.h"
#include "settings/preferences.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <memory>

namespace {

constexpr int patience = 10000; // ms

bool maps(qint64 pid, const QByteArray& library)
{
    QFile mapped(QStringLiteral("/proc/%1/maps").arg(pid));
    return mapped.open(QIODevice::ReadOnly) && mapped.readAll().contains(QByteArray("/" + library));
}

// Qt Network pulls in the Kerberos libraries: together some 1.4 MB resident, for a program
// that needs no network itself. The update check fetches in a process of its own.
void verifyNoNetworkLibrary(qint64 pid)
{
    QVERIFY(maps(pid, "libQt6Widgets.so")); // what shows the check sees libraries at all
    QVERIFY(!maps(pid, "libQt6Network.so"));
    QVERIFY(!maps(pid, "libgssapi_krb5.so"));
}

} // namespace

// The real program of a returning user, started with and without a panel to open. Font faces
// cost megabytes, so a start that opens nothing loads only the font configuration, once
// launched. Neither loads a network library.
class StartProgramTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QProcess> m_traymate;

    qint64 started(const QStringList& arguments)
    {
        m_traymate = std::make_unique<QProcess>();
        m_traymate->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_traymate->start(TRAYMATE_PROGRAM, arguments);
        return m_traymate->waitForStarted(patience) ? m_traymate->processId() : 0;
    }

private Q_SLOTS:
    void initTestCase()
    {
        // Past the first launch, which opens the panel whatever the arguments.
        Preferences::setValue(Preferences::didFirstImport, true);
        QVERIFY(QDir().mkpath(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation)));
    }
    void cleanup()
    {
        m_traymate->terminate();
        if (!m_traymate->waitForFinished(3000))
            m_traymate->kill();
        m_traymate->waitForFinished(3000);
    }

    void aPlainStartLoadsTheFontConfigurationButNoFontFace()
    {
        const qint64 pid = started({});
        QVERIFY(pid);
        const QString process = QString::number(pid);
        QTRY_VERIFY_WITH_TIMEOUT(MappedFontFiles::count(process, MappedFontFiles::caches) > 0,
                                 patience);
        QTest::qWait(500);
        QCOMPARE(m_traymate->state(), QProcess::Running);
        QCOMPARE(MappedFontFiles::count(process, MappedFontFiles::faces), 0);
        verifyNoNetworkLibrary(pid);
    }

    // Also what shows that the check above sees font faces where they are loaded.
    void aStartThatOpensThePanelLoadsItsFaces()
    {
        const qint64 pid = started({QStringLiteral("--toggle")});
        QVERIFY(pid);
        QTRY_VERIFY_WITH_TIMEOUT(
            MappedFontFiles::count(QString::number(pid), MappedFontFiles::faces) > 0, patience);
        QCOMPARE(m_traymate->state(), QProcess::Running);
        verifyNoNetworkLibrary(pid);
    }
};

TRAYMATE_PRIVATE_BUS_TEST_MAIN(StartProgramTest, QCoreApplication)
#include "tst_start_program.moc"
