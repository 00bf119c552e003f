#include "dock/dock_import.h"
#include "dock/property_list_limits.h"
#include "dock_fixture.h"
#include "model/store.h"
#include "test_environment.h"

#include <QTemporaryDir>
#include <QtEndian>

using namespace DockTest;

namespace {

constexpr int hostileDepth = 200'000; // 3.4 MB of XML; libplist overflows the stack on it

QByteArray xmlList(const QByteArray& body)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?><plist version=\"1.0\">" + body + "</plist>";
}

QByteArray nestedArraysXml(int depth)
{
    return xmlList(QByteArray("<array>").repeated(depth) + "<true/>" +
                   QByteArray("</array>").repeated(depth));
}

// A binary list: each object is an array of the objects it names, or `false` when it names
// none; object 0 is the top.
QByteArray binaryList(const QList<QList<quint32>>& objects)
{
    QByteArray bytes = "bplist00";
    QList<quint32> offsets;
    for (const QList<quint32>& members : objects) {
        offsets.append(quint32(bytes.size()));
        if (members.isEmpty()) {
            bytes.append(char(0x08));
            continue;
        }
        if (members.size() < 15) {
            bytes.append(char(0xA0 | members.size()));
        } else {
            bytes.append(char(0xAF));
            bytes.append(char(0x12));
            bytes.append(QByteArray(4, 0));
            qToBigEndian(quint32(members.size()), bytes.data() + bytes.size() - 4);
        }
        for (quint32 member : members) {
            bytes.append(QByteArray(4, 0));
            qToBigEndian(member, bytes.data() + bytes.size() - 4);
        }
    }
    const quint64 table = quint64(bytes.size());
    for (quint32 offset : offsets) {
        bytes.append(QByteArray(4, 0));
        qToBigEndian(offset, bytes.data() + bytes.size() - 4);
    }
    QByteArray trailer(32, 0);
    trailer[6] = 4; // offset size
    trailer[7] = 4; // object number size
    qToBigEndian(quint64(objects.size()), trailer.data() + 8);
    qToBigEndian(quint64(0), trailer.data() + 16);
    qToBigEndian(table, trailer.data() + 24);
    return bytes + trailer;
}

QByteArray nestedArraysBinary(int depth)
{
    QList<QList<quint32>> objects;
    for (int i = 0; i < depth; ++i)
        objects.append(QList<quint32>{quint32(i + 1)});
    objects.append(QList<quint32>());
    return binaryList(objects);
}

// Every level names the next one twice: 2^levels values from a few bytes per level.
QByteArray doublingBinary(int levels)
{
    QList<QList<quint32>> objects;
    for (int i = 0; i < levels; ++i)
        objects.append(QList<quint32>{quint32(i + 1), quint32(i + 1)});
    objects.append(QList<quint32>());
    return binaryList(objects);
}

} // namespace

// Property lists that would crash libplist or swamp the memory are refused before it sees
// them; a Dock that holds one reads as unreadable.
class PropertyListLimitsTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

private Q_SLOTS:
    void deeplyNestedListsAreRefused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("XML") << nestedArraysXml(hostileDepth);
        QTest::newRow("binary") << nestedArraysBinary(hostileDepth);
        QTest::newRow("XML one past the limit") << nestedArraysXml(PropertyList::maxNesting + 1);
    }
    void deeplyNestedListsAreRefused()
    {
        QFETCH(QByteArray, bytes);
        QVERIFY(!PropertyList::parse(bytes));
    }

    void listsWithinTheLimitsAreRead()
    {
        for (const QByteArray& bytes :
             {nestedArraysXml(PropertyList::maxNesting - 1),
              nestedArraysBinary(PropertyList::maxNesting - 2), doublingBinary(16),
              xmlList("<array>" + QByteArray("<array></array ><dict/><array />").repeated(500) +
                      "</array>")}) {
            const PropertyList::Node node = PropertyList::parse(bytes);
            QVERIFY(node);
            QVERIFY(!PropertyList::toXml(node.get()).isEmpty());
        }
    }

    void sharedObjectsAreCountedEachTimeTheyAreUsed()
    {
        // 2^21 values, more than a million, from under 300 bytes; and a list that holds itself.
        QVERIFY(!PropertyList::parse(doublingBinary(21)));
        QVERIFY(!PropertyList::parse(binaryList({{1}, {0}})));
    }

    void closingTagsThatAreNotElementsDoNotHideNesting_data()
    {
        QTest::addColumn<QByteArray>("level");
        QTest::newRow("comment") << QByteArray("<array><!-- </array> -->");
        QTest::newRow("attribute") << QByteArray("<array note=\"</array>\">");
        QTest::newRow("processing instruction") << QByteArray("<array><?x </array> ?>");
    }
    void closingTagsThatAreNotElementsDoNotHideNesting()
    {
        QFETCH(QByteArray, level);
        const int depth = PropertyList::maxNesting + 1;
        QVERIFY(!PropertyList::parse(
            xmlList(level.repeated(depth) + QByteArray("</array>").repeated(depth))));
    }

    void aDockHoldingADeepListIsUnreadableAndImportsNothing_data()
    {
        QTest::addColumn<bool>("binary");
        QTest::newRow("XML") << false;
        QTest::newRow("binary") << true;
    }
    void aDockHoldingADeepListIsUnreadableAndImportsNothing()
    {
        QFETCH(bool, binary);
        // A Dock with one application, and a key of its own nested far too deep.
        QByteArray domain = domainXml({tileXml(dir.filePath("Apps/Mail.app"))});
        const QByteArray deep = "<key>deep</key>" + QByteArray("<array>").repeated(hostileDepth) +
                                QByteArray("</array>").repeated(hostileDepth);
        domain.replace("<key>mod-count</key>", QByteArray(deep + "<key>mod-count</key>"));
        if (binary) {
            // The same domain written by libplist itself, past the check.
            plist_t node = nullptr;
            plist_from_memory(domain.constData(), uint32_t(domain.size()), &node);
            QVERIFY(node);
            char* bin = nullptr;
            uint32_t length = 0;
            plist_to_bin(node, &bin, &length);
            domain = QByteArray(bin, length);
            plist_to_bin_free(bin);
            // Freeing it would overflow the stack too: left to the end of the process.
        }
        ScopedDock<FileDockPreferences> dock(dir.filePath("dock.plist"));
        writeFile(dock->path(), domain);
        QVERIFY(dockApplicationPaths(dock->exportDomain()).isEmpty());

        // The first-start import and "Import Dock" both find nothing to import.
        Store store(dir.filePath("store"));
        const QList<AppGroup> before = store.groups();
        DockImport::importDockGrouped(store);
        QCOMPARE(store.groups(), before);
    }

    void aBundleWithADeepInfoListImportsAsOther()
    {
        const QString bundle = dir.filePath("Apps/Deep.app");
        writeFile(bundle + "/Contents/Info.plist", nestedArraysXml(hostileDepth));
        QCOMPARE(DockImport::category(bundle), QStringLiteral("Other"));
    }
};

TRAYMATE_TEST_MAIN(PropertyListLimitsTest)
#include "tst_property_list_limits.moc"
