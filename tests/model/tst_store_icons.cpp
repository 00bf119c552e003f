#include "store_fixture.h"
#include "test_environment.h"

#include <QDateTime>
#include <QImage>
#include <QImageReader>
#include <QRegularExpression>

class StoreIconsTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<StoreFixture> fx;

    QString image(const QString& name, int width, int height, const char* format = "PNG")
    {
        QImage picture(width, height, QImage::Format_ARGB32);
        picture.fill(Qt::red);
        const QString path = fx->scratch(name);
        picture.save(path, format);
        return path;
    }
    QStringList iconFiles(const Store& store) const
    {
        return QDir(store.iconsFolder()).entryList(QDir::Files, QDir::Name);
    }

private Q_SLOTS:
    void init() { fx = std::make_unique<StoreFixture>(); }

    void setIconWritesANamedPngCopyAtItsOwnSize()
    {
        Store& store = fx->open();
        const AppGroup group = store.groups()[0];
        const qint64 before = QDateTime::currentSecsSinceEpoch();
        store.setIcon(image("big.jpg", 1024, 1024, "JPG"), group.id);
        const qint64 after = QDateTime::currentSecsSinceEpoch();

        const std::optional<QString> icon = store.groups()[0].icon;
        QVERIFY(icon);
        const QRegularExpression name(QStringLiteral("^%1-(\\d+)\\.png$").arg(group.idText()));
        const QRegularExpressionMatch match = name.match(QFileInfo(*icon).fileName());
        QVERIFY2(match.hasMatch(), qPrintable(*icon));
        QVERIFY(match.captured(1).toLongLong() >= before &&
                match.captured(1).toLongLong() <= after);
        QCOMPARE(QFileInfo(*icon).absolutePath(), store.iconsFolder());
        QImageReader reader(*icon);
        QCOMPARE(reader.format(), QByteArray("png"));
        QCOMPARE(reader.size(), QSize(1024, 1024));
        QCOMPARE(fx->fileGroups()[0].icon, icon);
    }

    void aSecondIconReplacesTheFirstEvenWithinOneSecond()
    {
        Store& store = fx->open();
        const QUuid id = store.groups()[0].id;
        store.setIcon(image("one.png", 16, 16), id);
        const QString first = *store.groups()[0].icon;
        store.setIcon(image("two.png", 32, 8), id);
        const QString second = *store.groups()[0].icon;
        QVERIFY(first != second);
        QVERIFY(!QFileInfo::exists(first));
        QCOMPARE(QImageReader(second).size(), QSize(32, 8));
        QCOMPARE(iconFiles(store), QStringList{QFileInfo(second).fileName()});
    }

    void clearIconDeletesTheCopyAndTheMember()
    {
        Store& store = fx->open();
        const QUuid id = store.groups()[0].id;
        store.setIcon(image("one.png", 16, 16), id);
        const QString file = *store.groups()[0].icon;
        store.clearIcon(id);
        QVERIFY(!store.groups()[0].icon);
        QVERIFY(!QFileInfo::exists(file));
        QVERIFY(!fx->fileBytes().contains("\"icon\""));

        fx->markFile();
        store.clearIcon(id); // no icon: only rewrites the file
        QVERIFY(fx->fileWasWritten());
        QVERIFY(!store.groups()[0].icon);
    }

    void refusesWhatIsNotAnImageOrNotAGroup()
    {
        Store& store = fx->open();
        fx->markFile();
        store.setIcon(fx->makeItem("notes.txt"), store.groups()[0].id);
        store.setIcon(fx->scratch("missing.png"), store.groups()[0].id);
        store.setIcon(image("fine.png", 8, 8), QUuid::createUuid());
        QVERIFY(!fx->fileWasWritten());
        QVERIFY(!store.groups()[0].icon);
        QVERIFY(!QFileInfo::exists(store.iconsFolder()));
    }

    void aFailedWriteKeepsTheOldIcon()
    {
        Store& store = fx->open();
        const QUuid id = store.groups()[0].id;
        store.setIcon(image("one.png", 16, 16), id);
        const AppGroup before = store.groups()[0];
        QDir(store.iconsFolder()).removeRecursively();
        QFile blocker(store.iconsFolder()); // a file where the folder should be
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        store.setIcon(image("two.png", 16, 16), id);
        QCOMPARE(store.groups()[0], before);
    }

    // A hand-edited file may name any picture: only the program's own copies are deleted.
    void onlyCopiesInTheIconsFolderAreDeleted()
    {
        const QString photo = image("holiday.png", 8, 8);
        fx->makeItem("Traymate/icons/");
        const QString climbing = fx->folder() + "/icons/../../holiday.png";
        AppGroup reset = StoreFixture::named("Reset");
        reset.icon = photo;
        AppGroup replaced = StoreFixture::named("Replaced");
        replaced.icon = climbing;
        Store& store = fx->openWith({reset, replaced});

        store.clearIcon(reset.id);
        QVERIFY(!store.groups()[0].icon);
        store.setIcon(image("new.png", 4, 4), replaced.id);
        QVERIFY(store.groups()[1].icon != climbing);
        QVERIFY(QFileInfo::exists(photo));
    }

    void aCopyAnotherGroupStillShowsIsKept()
    {
        Store& first = fx->open();
        const QUuid id = first.groups()[0].id;
        first.setIcon(image("one.png", 16, 16), id);
        AppGroup owner = first.groups()[0];
        AppGroup sharer = StoreFixture::named("Sharer");
        sharer.icon = owner.icon;
        Store& store = fx->openWith({owner, sharer});
        store.clearIcon(owner.id);
        QVERIFY(QFileInfo::exists(*sharer.icon));
        store.clearIcon(sharer.id);
        QVERIFY(!QFileInfo::exists(*sharer.icon));
    }

    void deletingAGroupDeletesItsOwnCopyOnly()
    {
        const QString photo = image("portrait.png", 8, 8);
        AppGroup kept = StoreFixture::named("Kept");
        AppGroup own = StoreFixture::named("Own");
        AppGroup foreign = StoreFixture::named("Foreign");
        foreign.icon = photo;
        Store& store = fx->openWith({kept, own, foreign});
        store.setIcon(image("own.png", 8, 8), own.id);
        const QString copy = *store.group(own.id)->icon;

        store.deleteGroup(own.id);
        QVERIFY(!QFileInfo::exists(copy));
        QCOMPARE(store.groups().size(), 2);
        store.deleteGroup(foreign.id);
        QVERIFY(QFileInfo::exists(photo));
    }

    // The one operation over the whole list that other folders use (the Dock import).
    void changeGroupsSavesOnceAndDeletesTheCopiesOnlyRemovedGroupsShowed()
    {
        Store& first = fx->openWith({StoreFixture::named("Kept"), StoreFixture::named("Gone")});
        first.setIcon(image("kept.png", 8, 8), first.groups()[0].id);
        first.setIcon(image("gone.png", 8, 8), first.groups()[1].id);
        AppGroup sharer = StoreFixture::named("Sharer");
        sharer.icon = first.groups()[0].icon;
        const QString keptCopy = *sharer.icon;
        const QString goneCopy = *first.groups()[1].icon;
        Store& store = fx->openWith({first.groups()[0], first.groups()[1], sharer});

        fx->markFile();
        QVERIFY(!store.changeGroups([](QList<AppGroup>&) { return false; }));
        QVERIFY(!fx->fileWasWritten());
        QCOMPARE(store.groups().size(), 3);

        QVERIFY(store.changeGroups([](QList<AppGroup>& groups) {
            groups.removeIf([](const AppGroup& g) { return g.name != QLatin1String("Kept"); });
            return true;
        }));
        QVERIFY(fx->fileWasWritten());
        QCOMPARE(fx->fileGroups().size(), 1);
        QVERIFY(!QFileInfo::exists(goneCopy));
        QVERIFY(QFileInfo::exists(keptCopy)); // the sharer went, the kept group still shows it
    }
};

TRAYMATE_TEST_MAIN(StoreIconsTest)
#include "tst_store_icons.moc"
