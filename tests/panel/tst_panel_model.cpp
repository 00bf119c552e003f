#include "panel/display_names.h"
#include "panel/panel_model.h"
#include "panel_fixture.h"
#include "test_environment.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QSaveFile>
#include <QStandardPaths>
#include <QThread>

using PanelModel::SearchEntry;

// The values the panel derives from the store: current group, search, columns and sizes.
class PanelModelTest : public QObject {
    Q_OBJECT

private:
    PanelFixture fx;

    // Search entries by a table of display names instead of the desktop.
    static PanelModel::EntryOfPath namesFrom(const QHash<QString, QString>& names)
    {
        auto entries = std::make_shared<QHash<QString, SearchEntry>>();
        for (auto it = names.begin(); it != names.end(); ++it)
            entries->insert(it.key(), {PanelModel::searchKey(it.value()),
                                       it.key().normalized(QString::NormalizationForm_C)});
        return [entries](const QString& path) -> const SearchEntry& { return (*entries)[path]; };
    }

private Q_SLOTS:
    void currentFallsBackToTheFirstGroupWithoutWritingBack()
    {
        const AppGroup a = StoreFixture::named("A"), b = StoreFixture::named("B");
        QCOMPARE(PanelModel::current({a, b}, b.id)->id, b.id);
        const QUuid gone = QUuid::createUuid();
        QCOMPARE(PanelModel::current({a, b}, gone)->id, a.id);
        QCOMPARE(PanelModel::current({a, b}, std::nullopt)->id, a.id);
        QVERIFY(!PanelModel::current({}, a.id));

        Store& store = fx.openWith({a, b});
        store.setSelected(gone);
        PanelView& view = fx.panel(store, false);
        QCOMPARE(view.current()->id, a.id);
        QCOMPARE(store.selected(), std::optional(gone));
    }

    void searchingTrimsSpacesAndTabsOnly()
    {
        QVERIFY(!PanelModel::searching(QStringLiteral("  ")));
        QVERIFY(!PanelModel::searching(QStringLiteral("\t \u00a0\u3000")));
        QVERIFY(PanelModel::searching(QStringLiteral("\n")));
        QCOMPARE(PanelModel::trimmed(QStringLiteral(" \tsa \t")), QStringLiteral("sa"));
        QCOMPARE(PanelModel::results({StoreFixture::named("G", {"/x/A"})}, QStringLiteral("  "),
                                     namesFrom({{"/x/A", " "}})),
                 QStringList());
    }

    void resultsKeepGroupOrderAndListEachPathOnce()
    {
        const QHash<QString, QString> names{{"/a/Safari.app", "Safari"},
                                            {"/a/Messages.app", "Messages"},
                                            {"/a/Notes.app", "Notes"}};
        const QList<AppGroup> groups{
            StoreFixture::named("1", {"/a/Notes.app", "/a/Messages.app"}),
            StoreFixture::named("2", {"/a/Safari.app"}),
            StoreFixture::named("3", {"/a/Messages.app", "/a/Safari.app"}),
        };
        QCOMPARE(PanelModel::results(groups, QStringLiteral(" Sa "), namesFrom(names)),
                 QStringList({"/a/Messages.app", "/a/Safari.app"}));
        QCOMPARE(PanelModel::results(groups, QStringLiteral("NOTES"), namesFrom(names)),
                 QStringList{"/a/Notes.app"});
    }

    void resultsCompareCanonicallyOnCharacterBoundaries()
    {
        const QString composed = QStringLiteral("/a/Caf\u00e9");
        const QString decomposed = QStringLiteral("/a/Cafe\u0301");
        const auto names = namesFrom({{composed, QStringLiteral("Caf\u00e9")},
                                      {decomposed, QStringLiteral("Cafe\u0301")},
                                      {"/a/Q", QStringLiteral("q\u0303x")}});
        const QList<AppGroup> groups{StoreFixture::named("G", {decomposed, composed, "/a/Q"})};
        // Both spellings are the same path, so only the first stands in the results.
        QCOMPARE(PanelModel::results(groups, QStringLiteral("CAF\u00c9"), names),
                 QStringList{decomposed});
        QCOMPARE(PanelModel::results(groups, QStringLiteral("cafe\u0301"), names),
                 QStringList{decomposed});
        // A bare letter never matches half of a letter with its accent.
        QCOMPARE(PanelModel::results(groups, QStringLiteral("cafe"), names), QStringList());
        QCOMPARE(PanelModel::results(groups, QStringLiteral("q"), names), QStringList());
        QCOMPARE(PanelModel::results(groups, QStringLiteral("q\u0303"), names),
                 QStringList{"/a/Q"});
        // Full lower-case mapping: dotted capital I becomes two characters.
        QCOMPARE(PanelModel::searchKey(QStringLiteral("\u0130")).size(), 2);
    }

    void searchLooksAtDisplayNamesOnly()
    {
        const QString safari = fx.app("Safari");
        const QString appStore = fx.app("App Store");
        Store& store = fx.openWith({StoreFixture::named("G", {safari, appStore})});
        PanelView& view = fx.panel(store, false);
        store.setQuery(QStringLiteral("app"));
        QCOMPARE(view.results(), QStringList{appStore}); // ".app" is no part of the name
        store.setQuery(QStringLiteral("applications"));
        QVERIFY(view.searching());
        QCOMPARE(view.results(), QStringList()); // the folder is not searched
        store.setQuery(QStringLiteral("saf"));
        QCOMPARE(view.results(), QStringList{safari});
    }

    void cachedNamesFollowTheDesktopEntry()
    {
        const QString entry = fx.scratch(QStringLiteral("viewer.desktop"));
        auto write = [&](const char* name) {
            QFile file(entry);
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(QByteArray("[Desktop Entry]\nType=Application\nExec=true\nName=") + name +
                       "\n");
        };
        write("Viewer");
        QCOMPARE(DisplayNames::name(entry), QStringLiteral("Viewer"));
        QThread::msleep(20);
        write("Picture Viewer");
        QCOMPARE(DisplayNames::name(entry), QStringLiteral("Picture Viewer"));
        QCOMPARE(DisplayNames::entry(entry).key, QStringLiteral("picture viewer"));
        QFile::remove(entry);
        QCOMPARE(DisplayNames::name(entry), QStringLiteral("viewer.desktop"));
    }

    // Installed entries are trusted between the desktop's reports, so each report must come,
    // the second as much as the first.
    void installedEntryNamesFollowInstallUpdateAndRemoval()
    {
        const QString folder =
            QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
            QStringLiteral("/applications");
        QVERIFY(QDir().mkpath(folder));
        const QString entry = folder + QStringLiteral("/traymate-test-viewer.desktop");
        auto install = [&](const char* name) {
            QSaveFile file(entry); // replaced whole, as package managers do
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray("[Desktop Entry]\nType=Application\nExec=true\nName=") + name +
                       "\n");
            QVERIFY(file.commit());
        };
        install("Viewer");
        QCOMPARE(DisplayNames::name(entry), QStringLiteral("Viewer"));
        install("Picture Viewer");
        QTRY_COMPARE(DisplayNames::name(entry), QStringLiteral("Picture Viewer"));
        QVERIFY(QFile::remove(entry));
        QTRY_COMPARE(DisplayNames::name(entry), QStringLiteral("traymate-test-viewer.desktop"));
        install("Viewer");
        QTRY_COMPARE(DisplayNames::name(entry), QStringLiteral("Viewer"));
        QCOMPARE(DisplayNames::entry(entry).key, QStringLiteral("viewer"));
    }

    void compactColumnsAndSizes_data()
    {
        QTest::addColumn<int>("items");
        QTest::addColumn<int>("columns");
        QTest::addColumn<QSize>("size");
        QTest::newRow("empty") << 0 << 1 << QSize(296, 154);
        QTest::newRow("1") << 1 << 1 << QSize(296, 154);
        QTest::newRow("3") << 3 << 3 << QSize(296, 154);
        QTest::newRow("4") << 4 << 4 << QSize(384, 154);
        QTest::newRow("7") << 7 << 4 << QSize(384, 238);
        QTest::newRow("9") << 9 << 4 << QSize(384, 322);
        QTest::newRow("17") << 17 << 4 << QSize(384, 490);
        QTest::newRow("40") << 40 << 4 << QSize(384, 490);
    }
    void compactColumnsAndSizes()
    {
        QFETCH(int, items);
        QFETCH(int, columns);
        QFETCH(QSize, size);
        Store& store =
            fx.openWith({StoreFixture::named("G", fx.apps(items)), StoreFixture::named("H")});
        PanelView& view = fx.panel(store, false);
        QCOMPARE(view.panelSize(), QSize(400, 440));
        store.setCompact(true);
        QCOMPARE(view.compactCols(),
                 GridColumns(columns, ColumnSpec{ColumnSpec::Kind::Fixed, 80, 8}));
        QCOMPARE(view.panelSize(), size);
        // A selection that names no group sizes the content for the first group.
        store.setSelected(QUuid::createUuid());
        QCOMPARE(view.panelSize(), size);
    }

    void compactColumnsWithoutAnyGroup()
    {
        QCOMPARE(PanelModel::compactColumns(0).size(), 1);
        QCOMPARE(PanelModel::panelSize(true, 0), QSize(296, 154));
    }

    void adaptiveColumnsFillTheRow()
    {
        const GridGeometry full = PanelModel::geometry(PanelModel::fullColumns(), 376);
        QCOMPARE(full.columns, 4);
        QCOMPARE(full.columnWidth, (376.0 - 24) / 4);
        QCOMPARE(PanelModel::geometry(PanelModel::fullColumns(), 360).columns, 4);
        QCOMPARE(PanelModel::geometry(PanelModel::fullColumns(), 50).columns, 1);
        const GridGeometry fixed = PanelModel::geometry(PanelModel::compactColumns(2), 264);
        QCOMPARE(fixed.columns, 2);
        QCOMPARE(fixed.left, (264.0 - 168) / 2);
    }
};

TRAYMATE_TEST_MAIN(PanelModelTest)
#include "tst_panel_model.moc"
