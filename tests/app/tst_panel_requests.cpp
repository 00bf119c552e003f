#include "app/panel_requests.h"
#include "panel/panel_view.h"
#include "recording_delegate.h"
#include "settings/preferences.h"
#include "test_environment.h"

#include <QTemporaryDir>
#include <memory>

namespace {

using Kind = PanelRequests::Outcome::Kind;

QString urlOf(const QUuid& id)
{
    return QStringLiteral("traymate://group/") + id.toString(QUuid::WithoutBraces).toUpper();
}

// Counts the panel contents built into a panel window.
class BuildCounter : public QObject {
public:
    int builds = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::ChildAdded &&
            qobject_cast<PanelView*>(static_cast<QChildEvent*>(event)->child()))
            ++builds;
        return false;
    }
};

} // namespace

// A batch of requests from later starts, however long, does what its last panel request
// leaves, and builds the panel once at most.
class PanelRequestsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<Store> m_store;
    std::unique_ptr<RecordingDelegate> m_delegate;
    BuildCounter m_counter;
    QList<QUuid> m_ids;

    void launch()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_store = std::make_unique<Store>(m_dir->path());
        QList<AppGroup> groups;
        for (const char* name : {"Work", "Home", "Games"}) {
            AppGroup group;
            group.name = name;
            group.apps = {QStringLiteral("/opt/%1").arg(name)};
            groups.append(group);
            m_ids.append(group.id);
        }
        m_store->setGroups(groups);
        Preferences::setValue(Preferences::didFirstImport, true);
        m_delegate = std::make_unique<RecordingDelegate>(*m_store);
        m_delegate->applicationDidFinishLaunching();
        m_delegate->panel()->installEventFilter(&m_counter);
    }

private Q_SLOTS:
    void init()
    {
        m_ids.clear();
        m_counter.builds = 0;
        launch();
    }
    void cleanup()
    {
        m_delegate.reset();
        m_store.reset();
    }

    void thousandsOfUrlsInOneRequestBuildOnePanel()
    {
        QStringList urls;
        for (int i = 0; i < 8000; ++i)
            urls.append(urlOf(m_ids.at(i % 3)));
        urls.append({"traymate://group/nonsense", "mailto:x@y"}); // named no group
        m_delegate->openUrls(urls);
        QCOMPARE(m_counter.builds, 1);
        QVERIFY(m_delegate->panel()->isVisible());
        QCOMPARE(m_store->selected(), std::optional<QUuid>(m_ids.at(7999 % 3)));
        QVERIFY(m_store->compact());
    }

    void aBurstOfRequestsBuildsOnePanel()
    {
        // Many starts, each with a URL or a toggle, arriving before the event loop comes round.
        PanelRequests batch;
        for (int i = 0; i < 3000; ++i) {
            batch.add({PanelRequests::open(urlOf(m_ids.at(i % 3)))});
            batch.add({PanelRequests::toggle()});
            batch.add({PanelRequests::show()});
        }
        batch.add({PanelRequests::open(urlOf(m_ids.at(1)))});
        batch.applyTo(*m_delegate);
        QCOMPARE(m_counter.builds, 1);
        QVERIFY(m_delegate->panel()->isVisible());
        QCOMPARE(m_store->selected(), std::optional<QUuid>(m_ids.at(1)));
        QVERIFY(batch.isEmpty()); // applied, a new batch begins
    }

    void aBatchEndsWhereItsRequestsInOrderLeaveThePanel_data()
    {
        QTest::addColumn<QStringList>("requests");
        QTest::addColumn<int>("ifVisible");
        QTest::addColumn<int>("ifHidden");
        const QString a =
            PanelRequests::open("traymate://group/5A1B2C3D-4E5F-4071-8293-A4B5C6D7E8F9");
        const QString toggle = PanelRequests::toggle();
        const QString show = PanelRequests::show();
        QTest::newRow("URL") << QStringList{a} << int(Kind::Group) << int(Kind::Group);
        QTest::newRow("URL, toggle")
            << QStringList{a, toggle} << int(Kind::Hidden) << int(Kind::Hidden);
        QTest::newRow("toggle, toggle")
            << QStringList{toggle, toggle} << int(Kind::FullPanel) << int(Kind::Hidden);
        QTest::newRow("toggle x3")
            << QStringList{toggle, toggle, toggle} << int(Kind::Hidden) << int(Kind::FullPanel);
        QTest::newRow("show") << QStringList{show} << int(Kind::Unchanged) << int(Kind::FullPanel);
        QTest::newRow("toggle, show")
            << QStringList{toggle, show} << int(Kind::FullPanel) << int(Kind::FullPanel);
        QTest::newRow("URL, show") << QStringList{a, show} << int(Kind::Group) << int(Kind::Group);
        QTest::newRow("nothing it knows")
            << QStringList{"open mailto:x@y", "open traymate://group/x", "quit", ""}
            << int(Kind::Unchanged) << int(Kind::Unchanged);
    }
    void aBatchEndsWhereItsRequestsInOrderLeaveThePanel()
    {
        QFETCH(QStringList, requests);
        QFETCH(int, ifVisible);
        QFETCH(int, ifHidden);
        PanelRequests batch;
        batch.add(requests);
        QCOMPARE(int(batch.outcome(true).kind), ifVisible);
        QCOMPARE(int(batch.outcome(false).kind), ifHidden);
    }

    void theBatchActsOnThePanelAsItIsWhenApplied()
    {
        // URL then toggle: the panel opened by the URL closes again, shown or not before.
        PanelRequests batch;
        batch.add({PanelRequests::open(urlOf(m_ids.at(2))), PanelRequests::toggle()});
        batch.applyTo(*m_delegate);
        QVERIFY(!m_delegate->panel()->isVisible());
        QCOMPARE(m_counter.builds, 0);

        // Two toggles over a shown panel bring up the full panel afresh.
        m_delegate->openUrls({urlOf(m_ids.at(0))});
        QVERIFY(m_store->compact());
        batch.add({PanelRequests::toggle(), PanelRequests::toggle()});
        batch.applyTo(*m_delegate);
        QVERIFY(m_delegate->panel()->isVisible());
        QVERIFY(!m_store->compact());
        QCOMPARE(m_counter.builds, 2);
    }

    void theLastStartsActivationTokenComesWithTheBatch()
    {
        PanelRequests batch;
        QVERIFY(batch.activationToken().isEmpty());
        batch.add({PanelRequests::activation("first-_TIME10"), PanelRequests::toggle()});
        batch.add({PanelRequests::activation("second-_TIME20"), PanelRequests::toggle(),
                   PanelRequests::toggle()});
        QCOMPARE(batch.activationToken(), QStringLiteral("second-_TIME20"));
        // Tokens change nothing on the panel and are no panel requests of their own.
        QCOMPARE(int(batch.outcome(false).kind), int(Kind::FullPanel));
        PanelRequests onlyToken;
        onlyToken.add(PanelRequests::activation("alone"));
        QVERIFY(onlyToken.isEmpty());

        // What no desktop makes is not handed on: spaces, control characters, non-ASCII, size.
        for (const QString& bad :
             {QString(), QStringLiteral("with space"), QStringLiteral("line\nbreak"),
              QStringLiteral("caf\u00e9"), QString(513, QLatin1Char('x'))}) {
            QVERIFY2(PanelRequests::activation(bad).isEmpty(), qPrintable(bad.left(20)));
            batch.add(QStringLiteral("activation ") + bad);
        }
        QCOMPARE(batch.activationToken(), QStringLiteral("second-_TIME20"));
        QCOMPARE(PanelRequests::activation(QString(512, QLatin1Char('x'))),
                 QStringLiteral("activation ") + QString(512, QLatin1Char('x')));

        // The batch is done with its token once applied; a hiding batch leaves the next
        // showing without one.
        batch.applyTo(*m_delegate);
        QVERIFY(batch.activationToken().isEmpty());
        QVERIFY(m_delegate->panel()->isVisible());
        QVERIFY(m_delegate->activationToken().isEmpty());
        batch.add({PanelRequests::activation("hiding"), PanelRequests::toggle()});
        batch.applyTo(*m_delegate);
        QVERIFY(!m_delegate->panel()->isVisible());
        QVERIFY(m_delegate->activationToken().isEmpty());
    }
};

TRAYMATE_TEST_MAIN(PanelRequestsTest)
#include "tst_panel_requests.moc"
