// The group actions on a store and stand-in services, without a display.
#include "../model/store_fixture.h"
#include "panel/group_actions.h"
#include "service_log.h"
#include "test_environment.h"

#include <QCoreApplication>
#include <QImage>

class GroupActionsTest : public QObject {
    Q_OBJECT

private:
    StoreFixture fx;
    ServiceLog log;

    QString picture() const
    {
        const QString path = fx.scratch("picture.png");
        QImage image(8, 8, QImage::Format_ARGB32);
        image.fill(Qt::red);
        image.save(path);
        return path;
    }

private Q_SLOTS:
    void init() { log = ServiceLog(); }

    void aDeletedGroupLosesItsLauncherWhileTheStoreStillHoldsIt()
    {
        Store& store = fx.openWith({StoreFixture::named("Work"), StoreFixture::named("Play")});
        const AppGroup work = store.groups()[0];
        PanelServices services = log.services();
        QList<bool> heldAtRemoval;
        services.launcherRemoved = [&](const AppGroup& group) {
            heldAtRemoval << (store.indexOf(group.id) >= 0);
            log.calls << QStringLiteral("removed ") + group.name;
        };
        GroupActions actions(store, services);

        log.confirmAnswer = false;
        actions.remove(work);
        QCOMPARE(log.calls, QStringList{"confirm Delete the group Work?"});
        QCOMPARE(store.groups().size(), 2);

        log.calls.clear();
        log.confirmAnswer = true;
        actions.remove(work);
        QCOMPARE(log.calls, QStringList({"confirm Delete the group Work?", "removed Work"}));
        QCOMPARE(heldAtRemoval, QList<bool>{true});
        QCOMPARE(store.indexOf(work.id), -1);
    }

    void theLastGroupIsNeverDeleted()
    {
        Store& store = fx.openWith({StoreFixture::named("Only")});
        const AppGroup only = store.groups()[0];
        GroupActions actions(store, log.services());
        fx.markFile();
        actions.remove(only);
        QCOMPARE(log.calls, QStringList{"confirm Delete the group Only?"});
        QCOMPARE(store.groups().size(), 1);
        QCOMPARE(store.groups()[0].id, only.id);
        QVERIFY(!fx.fileWasWritten());

        // Another group deleted meanwhile makes this one the last.
        Store& two = fx.openWith({StoreFixture::named("A"), StoreFixture::named("B")});
        const AppGroup a = two.groups()[0];
        const AppGroup b = two.groups()[1];
        PanelServices services = log.services();
        services.confirm = [&](const QString&) {
            two.deleteGroup(b.id);
            return true;
        };
        log.calls.clear();
        GroupActions(two, services).remove(a);
        QCOMPARE(two.groups().size(), 1);
        QCOMPARE(two.groups()[0].id, a.id);
        QVERIFY(!log.calls.contains(QStringLiteral("removed A")));
    }

    void aRenameOfAGroupThatWentDuringThePromptChangesNothing()
    {
        Store& store = fx.openWith({StoreFixture::named("Work"), StoreFixture::named("Play")});
        const QUuid work = store.groups()[0].id;
        const QUuid play = store.groups()[1].id;
        PanelServices services = log.services();
        services.prompt = [&](const QString&, const QString&) -> std::optional<QString> {
            store.deleteGroup(work);
            return QStringLiteral("Office");
        };
        GroupActions actions(store, services);
        actions.rename(work);
        QCOMPARE(store.groups().size(), 1);
        QCOMPARE(store.groups()[0].id, play);
        QCOMPARE(store.groups()[0].name, QStringLiteral("Play"));
        QVERIFY(log.renames.isEmpty());
        QCOMPARE(fx.fileGroups(), store.groups());
    }

    void aRenameTellsTheLauncherTheNameTheStoreKept()
    {
        Store& store = fx.openWith({StoreFixture::named("Work")});
        const AppGroup before = store.groups()[0];
        log.promptAnswer = QStringLiteral("Office");
        PanelServices services = log.services();
        QStringList namesAtRename;
        services.launcherRenamed = [&](const AppGroup& from, const AppGroup& to) {
            namesAtRename << store.groups()[0].name;
            log.renames.append({from, to});
        };
        GroupActions(store, services).rename(before.id);
        QCOMPARE(log.calls, QStringList{"prompt Rename group | Work"});
        QCOMPARE(namesAtRename, QStringList{"Office"});
        QCOMPARE(log.renames.size(), 1);
        QCOMPARE(log.renames[0].first, before);
        QCOMPARE(log.renames[0].second, store.groups()[0]);

        log.promptAnswer.reset(); // cancelled
        GroupActions(store, log.services()).rename(before.id);
        QCOMPARE(store.groups()[0].name, QStringLiteral("Office"));
        QCOMPARE(log.renames.size(), 1);
    }

    void iconChangesRefreshTheLauncherOnceTheStoreHasThem()
    {
        Store& store = fx.openWith({StoreFixture::named("Work")});
        const AppGroup work = store.groups()[0];
        PanelServices services = log.services();
        QList<bool> hadIconAtRefresh;
        services.launcherRefresh = [&](const QUuid& id) {
            hadIconAtRefresh << store.group(id)->icon.has_value();
        };
        GroupActions actions(store, services);

        actions.chooseIcon(work); // cancelled
        QVERIFY(hadIconAtRefresh.isEmpty());
        QCOMPARE(log.keptOpenWhileChoosing, QList<bool>{true});
        QVERIFY(!PanelState::keepOpen);
        QCOMPARE(log.choices[0].message, QStringLiteral("Choose an image for Work"));
        QVERIFY(log.choices[0].imagesOnly);

        log.chosen = {picture()};
        actions.chooseIcon(work);
        QCOMPARE(hadIconAtRefresh, QList<bool>{true});

        actions.resetIcon(work.id);
        QCOMPARE(hadIconAtRefresh, QList<bool>({true, false}));
        QVERIFY(!store.groups()[0].icon);
    }
};

int main(int argc, char** argv)
{
    TestEnvironment environment;
    QCoreApplication app(argc, argv);
    GroupActionsTest test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_group_actions.moc"
