#include "panel/desktop_items.h"
#include "panel/display_names.h"
#include "panel_fixture.h"
#include "platform/desktop_entries.h"
#include "platform/desktop_icon.h"
#include "platform/display_name.h"
#include "platform/regular_file.h"
#include "test_environment.h"

#include <QImage>
#include <atomic>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

// Notices anyone opening these FIFOs for reading, and lets a reader that blocks there go on
// (as a writer that comes and leaves at once), so a test that would hang fails instead.
class FifoWatch {
public:
    explicit FifoWatch(QStringList fifos)
        : m_fifos(std::move(fifos))
        , m_thread([this] { watch(); })
    {
    }
    ~FifoWatch()
    {
        m_stop = true;
        m_thread.join();
    }
    QStringList opened() const
    {
        QStringList result;
        for (qsizetype i = 0; i < m_fifos.size(); ++i) {
            if (m_opened[i])
                result.append(m_fifos[i]);
        }
        return result;
    }

private:
    void watch()
    {
        while (!m_stop) {
            for (qsizetype i = 0; i < m_fifos.size(); ++i) {
                // Succeeds only while some reader has the FIFO open.
                const int fd =
                    ::open(QFile::encodeName(m_fifos[i]).constData(), O_WRONLY | O_NONBLOCK);
                if (fd >= 0) {
                    m_opened[i] = true;
                    ::close(fd);
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
    }

    QStringList m_fifos;
    std::atomic<bool> m_opened[8] = {};
    std::atomic<bool> m_stop = false;
    std::thread m_thread;
};

} // namespace

// Items that are FIFOs, or desktop entries whose icon is one: the panel reads none of them,
// so it shows at once and stays responsive.
class SpecialFilesTest : public QObject, public PanelFixture {
    Q_OBJECT

    QString m_folder;
    int m_sets = 0;

    // A FIFO, a FIFO named like a desktop entry, a link to that, and a desktop entry whose icon
    // is a FIFO; new paths each time, so no cache has seen them.
    struct Items {
        QString pipe, pipeEntry, linkedEntry, iconPipe, entry;
        QStringList all() const { return {pipe, pipeEntry, linkedEntry, entry}; }
        QStringList fifos() const { return {pipe, pipeEntry, iconPipe}; }
    };
    Items makeItems()
    {
        const QString set = m_folder + "/" + QString::number(++m_sets);
        if (!QDir().mkpath(set))
            qFatal("no folder");
        Items items;
        for (auto [path, name] : {std::pair{&items.pipe, "pipe"},
                                  {&items.pipeEntry, "pipe.desktop"},
                                  {&items.iconPipe, "icon.png"}}) {
            *path = set + "/" + name;
            if (::mkfifo(QFile::encodeName(*path).constData(), 0600) != 0)
                qFatal("mkfifo failed");
        }
        items.linkedEntry = set + "/linked.desktop";
        QFile::link(items.pipeEntry, items.linkedEntry);
        items.entry = set + "/editor.desktop";
        QFile entry(items.entry);
        if (!entry.open(QIODevice::WriteOnly))
            qFatal("no entry");
        entry.write("[Desktop Entry]\nType=Application\nName=Editor\nExec=true\nIcon=" +
                    QFile::encodeName(items.iconPipe) + "\n");
        return items;
    }

private Q_SLOTS:
    void initTestCase() { m_folder = qEnvironmentVariable("HOME") + "/items"; }

    void namesAndIconsNeverOpenAFifo()
    {
        const Items items = makeItems();
        FifoWatch watch(items.fifos());
        for (const QString& path : items.all()) {
            QVERIFY(!displayName(path).isEmpty());
            desktopIcon(path).pixmap(48, 48);
            DisplayNames::name(path);
            DesktopItems::icon(path).pixmap(48, 48);
        }
        QCOMPARE(displayName(items.entry), QStringLiteral("Editor"));
        QCOMPARE(displayName(items.pipeEntry), QStringLiteral("pipe.desktop"));
        QCOMPARE(watch.opened(), QStringList());
    }

    // The Dock import reads Categories, and the Dock its own launchers' keys, from whatever
    // the dock pins.
    void entryKeysNeverOpenAFifo()
    {
        const Items items = makeItems();
        FifoWatch watch(items.fifos());
        for (const QString& path : {items.pipeEntry, items.linkedEntry}) {
            QCOMPARE(DesktopEntries::categories(path), QStringList());
            QVERIFY(!DesktopEntries::value(path, "Name"));
        }
        QCOMPARE(DesktopEntries::value(items.entry, "Name").value_or(QString()),
                 QStringLiteral("Editor"));
        QCOMPARE(watch.opened(), QStringList());
    }

    void aGroupOfFifosShowsAndPaints()
    {
        const Items items = makeItems();
        FifoWatch watch(items.fifos());
        AppGroup group;
        group.name = "Pipes";
        group.apps = items.all();
        Store& s = openWith({group});
        s.setSelected(group.id);
        PanelView& view = panel(s);
        QVERIFY(!view.grab().toImage().isNull());
        s.setQuery("pipe"); // searching reads the names too
        view.grab();
        QCOMPARE(watch.opened(), QStringList());
    }

    void onlyRegularFilesAreRead()
    {
        const Items items = makeItems();
        QVERIFY(!readRegularFile(items.pipe, 1024));
        QVERIFY(!readRegularFile(m_folder, 1024));
        QVERIFY(!readRegularFile("/dev/zero", 1024));
        QVERIFY(!isRegularFile(items.linkedEntry));
        QVERIFY(isRegularFile(items.entry));
        const std::optional<QByteArray> entry = readRegularFile(items.entry, 4096);
        QVERIFY(entry && entry->startsWith("[Desktop Entry]\n"));
        QVERIFY(!readRegularFile(items.entry, 10)); // larger than allowed
    }
};

TRAYMATE_TEST_MAIN(SpecialFilesTest)
#include "tst_special_files.moc"
