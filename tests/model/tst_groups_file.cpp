#include "model/app_group.h"
#include "model/groups_file.h"
#include "test_environment.h"

class GroupsFileTest : public QObject {
    Q_OBJECT

private:
    static AppGroup group(const char* id, const QString& name, QStringList apps,
                          std::optional<QString> icon = std::nullopt)
    {
        return AppGroup{*parseGroupId(QString::fromLatin1(id)), name, std::move(apps),
                        std::move(icon)};
    }

private Q_SLOTS:
    void writesTheExactStoredForm()
    {
        const QList<AppGroup> groups = {
            group("0f3a5c2e-9b1d-4e7a-8c6b-2d4f6a8b0c1e", QStringLiteral("Work"),
                  {QStringLiteral("/Applications/Mail.app"), QStringLiteral("/home/a/Notes.txt")},
                  QStringLiteral("/icons/x.png")),
            group("11111111-2222-4333-8444-555555555555",
                  QStringLiteral("Caf\u00e9 \"\u65e5\u672c\""), {}),
        };
        const QByteArray expected =
            "[{\"id\":\"0F3A5C2E-9B1D-4E7A-8C6B-2D4F6A8B0C1E\",\"name\":\"Work\",\"apps\":"
            "[\"\\/Applications\\/Mail.app\",\"\\/home\\/a\\/Notes.txt\"],\"icon\":\"\\/icons\\/"
            "x.png\"},"
            "{\"id\":\"11111111-2222-4333-8444-555555555555\",\"name\":\"Caf\xc3\xa9 "
            "\\\"\xe6\x97\xa5\xe6\x9c\xac\\\"\","
            "\"apps\":[]}]";
        QCOMPARE(GroupsFile::encode(groups), expected);
        QCOMPARE(GroupsFile::encode({}), QByteArray("[]"));
    }

    void escapesControlCharactersAndKeepsOddTextThroughARoundTrip()
    {
        const QString odd = QStringLiteral("a\\b\nc\td\x01\x1f\u2028 \U0001F600 \u00e9\u65e5");
        const QList<AppGroup> groups = {group("11111111-2222-4333-8444-555555555555", odd, {odd})};
        const QByteArray bytes = GroupsFile::encode(groups);
        QVERIFY(bytes.contains("a\\\\b\\nc\\td\\u0001\\u001f"));
        QVERIFY(bytes.contains("\xf0\x9f\x98\x80")); // plain UTF-8, not an escape pair
        const auto decoded = GroupsFile::decode(bytes);
        QVERIFY(decoded);
        QCOMPARE(decoded->first().name, odd);
        QCOMPARE(decoded->first().apps.first(), odd);

        // A lone surrogate has no UTF-8 form; the file must stay readable all the same.
        QString broken = QStringLiteral("x");
        broken.append(QChar(0xD800));
        const auto reread = GroupsFile::decode(
            GroupsFile::encode({group("11111111-2222-4333-8444-555555555555", broken, {})}));
        QVERIFY(reread);
        QCOMPARE(reread->first().name, QStringLiteral("x\ufffd"));
    }

    void aRepeatedIdIsReplacedInTheLaterGroupOnly()
    {
        const QByteArray text =
            R"([{"id":"0F3A5C2E-9B1D-4E7A-8C6B-2D4F6A8B0C1E","name":"A","apps":[]},
            {"id":"0f3a5c2e-9b1d-4e7a-8c6b-2d4f6a8b0c1e","name":"B","apps":["/b"]},
            {"id":"0F3A5C2E-9B1D-4E7A-8C6B-2D4F6A8B0C1E","name":"C","apps":[]}])";
        const auto decoded = GroupsFile::decode(text);
        QVERIFY(decoded);
        QCOMPARE(decoded->size(), 3);
        QCOMPARE((*decoded)[0].idText(), QStringLiteral("0F3A5C2E-9B1D-4E7A-8C6B-2D4F6A8B0C1E"));
        QSet<QUuid> ids;
        for (const AppGroup& g : *decoded)
            ids.insert(g.id);
        QCOMPARE(ids.size(), 3);
        QCOMPARE((*decoded)[1].name, QStringLiteral("B"));
        QCOMPARE((*decoded)[1].apps, QStringList{"/b"});
    }

    void readsAnyStandardJson()
    {
        const QByteArray text = R"(  [ { "apps" : [ "/a/b.app", "/a/b.app", "\/c" ],
            "extra": {"nested": [1, 2]}, "name": "N", "id": "0f3a5c2e-9b1d-4e7a-8c6b-2d4f6a8b0c1e",
            "icon": null } ]  )";
        const auto decoded = GroupsFile::decode(text);
        QVERIFY(decoded);
        QCOMPARE(decoded->size(), 1);
        const AppGroup& g = decoded->first();
        QCOMPARE(g.idText(), QStringLiteral("0F3A5C2E-9B1D-4E7A-8C6B-2D4F6A8B0C1E"));
        QCOMPARE(g.apps, QStringList({"/a/b.app", "/a/b.app", "/c"})); // duplicates kept
        QVERIFY(!g.icon);
        // The unknown member is gone and the id upper case on the next write.
        QCOMPARE(
            GroupsFile::encode(*decoded),
            QByteArray(
                R"([{"id":"0F3A5C2E-9B1D-4E7A-8C6B-2D4F6A8B0C1E","name":"N","apps":["\/a\/b.app","\/a\/b.app","\/c"]}])"));
        QCOMPARE(GroupsFile::decode("[]")->size(), 0);
        QCOMPARE(GroupsFile::decode("\xEF\xBB\xBF[]")->size(), 0);
        const auto escapedKeys = GroupsFile::decode(
            R"([{"\u0069d":"0F3A5C2E-9B1D-4E7A-8C6B-2D4F6A8B0C1E","n\u0061me":"\u00e9","apps":[]}])");
        QVERIFY(escapedKeys);
        QCOMPARE(escapedKeys->first().name, QStringLiteral("\u00e9"));
    }

    void rejectsTheWholeFileForOneBadGroup_data()
    {
        QTest::addColumn<QByteArray>("badGroup");
        QTest::newRow("no id") << QByteArray(R"({"name":"x","apps":[]})");
        QTest::newRow("no name") << QByteArray(
            R"({"id":"0F3A5C2E-9B1D-4E7A-8C6B-2D4F6A8B0C1E","apps":[]})");
        QTest::newRow("no apps") << QByteArray(
            R"({"id":"0F3A5C2E-9B1D-4E7A-8C6B-2D4F6A8B0C1E","name":"x"})");
        QTest::newRow("number name")
            << QByteArray(R"({"id":"0F3A5C2E-9B1D-4E7A-8C6B-2D4F6A8B0C1E","name":3,"apps":[]})");
        QTest::newRow("null in apps") << QByteArray(
            R"({"id":"0F3A5C2E-9B1D-4E7A-8C6B-2D4F6A8B0C1E","name":"x","apps":[null]})");
        QTest::newRow("object apps")
            << QByteArray(R"({"id":"0F3A5C2E-9B1D-4E7A-8C6B-2D4F6A8B0C1E","name":"x","apps":{}})");
        QTest::newRow("number icon") << QByteArray(
            R"({"id":"0F3A5C2E-9B1D-4E7A-8C6B-2D4F6A8B0C1E","name":"x","apps":[],"icon":1})");
        QTest::newRow("braced id") << QByteArray(
            R"({"id":"{0F3A5C2E-9B1D-4E7A-8C6B-2D4F6A8B0C1E}","name":"x","apps":[]})");
        QTest::newRow("short id") << QByteArray(
            R"({"id":"0F3A5C2E-9B1D-4E7A-8C6B-2D4F6A8B0C1","name":"x","apps":[]})");
        QTest::newRow("not hex") << QByteArray(
            R"({"id":"0F3A5C2E-9B1D-4E7A-8C6B-2D4F6A8B0C1G","name":"x","apps":[]})");
        QTest::newRow("not an object") << QByteArray(R"("group")");
    }

    void rejectsTheWholeFileForOneBadGroup()
    {
        QFETCH(QByteArray, badGroup);
        const QByteArray good =
            R"({"id":"11111111-2222-4333-8444-555555555555","name":"ok","apps":[]})";
        QVERIFY(GroupsFile::decode('[' + good + ']'));
        QVERIFY(!GroupsFile::decode('[' + good + ',' + badGroup + ']'));
    }

    void rejectsWhatIsNotAnArrayOfGroups()
    {
        for (const QByteArray& text :
             {QByteArray(), QByteArray("{}"), QByteArray("[] x"), QByteArray("[{}"),
              QByteArray("[\"\xff\"]"), QByteArray("null")})
            QVERIFY2(!GroupsFile::decode(text), text.constData());
    }

    void keepsOrderThroughARoundTrip()
    {
        QList<AppGroup> groups;
        for (int g = 0; g < 5; ++g) {
            AppGroup made;
            made.name = QString::number(4 - g);
            for (int i = 0; i < 6; ++i)
                made.apps.append(QStringLiteral("/p/%1/%2").arg(g).arg(5 - i));
            groups.append(made);
        }
        QCOMPARE(*GroupsFile::decode(GroupsFile::encode(groups)), groups);
    }

    void equalityIsCanonicalAndCompleteButNeverNormalises()
    {
        const AppGroup a =
            group("11111111-2222-4333-8444-555555555555", QStringLiteral("Caf\u00e9"),
                  {QStringLiteral("/x/\u00e9.app"), QStringLiteral("/y")});
        AppGroup b = a;
        b.name = QStringLiteral("Cafe\u0301");
        b.apps[0] = QStringLiteral("/x/e\u0301.app");
        QVERIFY(a == b);
        QCOMPARE(GroupsFile::decode(GroupsFile::encode({b}))->first().name,
                 QStringLiteral("Cafe\u0301"));

        AppGroup reordered = a;
        std::swap(reordered.apps[0], reordered.apps[1]);
        QVERIFY(a != reordered);
        AppGroup emptyIcon = a;
        emptyIcon.icon = QString();
        QVERIFY(a != emptyIcon);
        AppGroup otherCase = a;
        otherCase.name = QStringLiteral("caf\u00e9");
        QVERIFY(a != otherCase);
        AppGroup otherId = a;
        otherId.id = QUuid::createUuid();
        QVERIFY(a != otherId);
    }
};

TRAYMATE_TEST_MAIN(GroupsFileTest)
#include "tst_groups_file.moc"
