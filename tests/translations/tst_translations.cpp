#include "app/translations.h"
#include "test_environment.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QXmlStreamReader>

namespace {

const QStringList languages = {"de", "es", "fr", "pt_BR", "ru", "zh_CN"};

struct Message {
    QString context;
    QString source;
    QString translation;
    QString type; // "unfinished", "vanished", "obsolete" or empty for a finished one
};

QList<Message> readMessages(const QString& path)
{
    QList<Message> messages;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return messages;
    QXmlStreamReader xml(&file);
    QString context;
    Message message;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("message")) {
            message = Message{context, {}, {}, {}};
        } else if (xml.name() == QLatin1String("source")) {
            message.source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            message.type = xml.attributes().value(QLatin1String("type")).toString();
            message.translation = xml.readElementText();
            messages.append(message);
        }
    }
    return messages;
}

// %1, %2, ... in a text, sorted: a translation must use the same ones.
QStringList placeholders(const QString& text)
{
    static const QRegularExpression marker(QStringLiteral("%\\d+"));
    QStringList found;
    for (const QRegularExpressionMatch& match : marker.globalMatch(text))
        found.append(match.captured());
    found.sort();
    return found;
}

// The source files lupdate reads, absolute.
QStringList translatedSources()
{
    QFile list(QStringLiteral(TRAYMATE_TRANSLATED_SOURCES));
    if (!list.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QStringList sources;
    const QDir root(QStringLiteral(TRAYMATE_SOURCE_DIR));
    for (const QString& line : QString::fromUtf8(list.readAll()).split(QLatin1Char('\n'))) {
        // Generated files (moc's, the build's stamps) are left out, as update_translations does.
        const QString path = root.absoluteFilePath(line.trimmed());
        if (!line.trimmed().isEmpty() && QFileInfo::exists(path))
            sources.append(path);
    }
    return sources;
}

} // namespace

// Every text of the sources has a finished translation in every language, and the program
// chooses the translation the user's languages ask for.
class TranslationsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void lupdateFindsNothingLeftToTranslate_data()
    {
        QTest::addColumn<QString>("language");
        for (const QString& language : languages)
            QTest::newRow(qPrintable(language)) << language;
    }

    // lupdate, run on a copy of the .ts file as update_translations runs it (but keeping what
    // vanished), marks a new or changed text unfinished and a text gone from the sources
    // vanished; either fails here until the .ts file is updated and translated.
    void lupdateFindsNothingLeftToTranslate()
    {
        QFETCH(QString, language);
        const QString original =
            QStringLiteral(TRAYMATE_TS_DIR "/traymate_") + language + QStringLiteral(".ts");
        QVERIFY2(QFile::exists(original), qPrintable(original));
        const QStringList sources = translatedSources();
        QVERIFY(sources.size() > 10);

        QTemporaryDir scratch;
        const QString copy = scratch.filePath(QFileInfo(original).fileName());
        QVERIFY(QFile::copy(original, copy));
        QFile::setPermissions(copy, QFile::ReadOwner | QFile::WriteOwner);
        QFile list(scratch.filePath(QStringLiteral("sources.txt")));
        QVERIFY(list.open(QIODevice::WriteOnly));
        list.write(sources.join(QLatin1Char('\n')).toUtf8());
        list.close();

        QProcess lupdate;
        lupdate.start(QStringLiteral(TRAYMATE_LUPDATE),
                      {QStringLiteral("-locations"), QStringLiteral("none"),
                       QLatin1Char('@') + list.fileName(), QStringLiteral("-ts"), copy});
        QVERIFY(lupdate.waitForFinished(60000));
        QVERIFY2(lupdate.exitStatus() == QProcess::NormalExit && lupdate.exitCode() == 0,
                 lupdate.readAllStandardError().constData());

        const QList<Message> messages = readMessages(copy);
        QVERIFY(messages.size() >= readMessages(original).size());
        QStringList faults;
        for (const Message& m : messages) {
            const QString where = m.context + QStringLiteral(": \"") + m.source + QLatin1Char('"');
            if (m.type == QLatin1String("unfinished"))
                faults << where + QStringLiteral(" is new or changed, or not translated yet");
            else if (m.type == QLatin1String("vanished") || m.type == QLatin1String("obsolete"))
                faults << where + QStringLiteral(" is no longer in the sources");
            else if (m.translation.trimmed().isEmpty())
                faults << where + QStringLiteral(" has an empty translation");
            else if (placeholders(m.translation) != placeholders(m.source))
                faults << where + QStringLiteral(" has other placeholders in its translation");
        }
        QVERIFY2(faults.isEmpty(),
                 qPrintable(faults.join(QLatin1Char('\n')) +
                            QStringLiteral("\nRun `cmake --build build --target "
                                           "update_translations` and translate what is new.")));
    }

    // A .ts file the build does not embed would never reach a user.
    void everyTranslationIsEmbedded()
    {
        const QStringList files =
            QDir(QStringLiteral(TRAYMATE_TS_DIR)).entryList({QStringLiteral("traymate_*.ts")});
        QStringList found;
        for (const QString& file : files)
            found << file.mid(9).chopped(3);
        QCOMPARE(found, languages);
        for (const QString& language : languages)
            QVERIFY2(Translations::isAvailable(language), qPrintable(language));
        QVERIFY(!Translations::isAvailable(QStringLiteral("en")));
    }

    void choosesTheFirstLanguageThatHasATranslation_data()
    {
        QTest::addColumn<QStringList>("uiLanguages");
        QTest::addColumn<QString>("chosen");
        QTest::newRow("language alone") << QStringList{"de"} << "de";
        QTest::newRow("with a territory") << QStringList{"de-AT", "de"} << "de";
        QTest::newRow("full name") << QStringList{"pt-BR"} << "pt_BR";
        QTest::newRow("with a script") << QStringList{"zh-Hans-CN"} << "zh_CN";
        QTest::newRow("POSIX spelling") << QStringList{"fr_CA"} << "fr";
        QTest::newRow("next in line") << QStringList{"ja", "ru"} << "ru";
        QTest::newRow("European Portuguese is no Brazilian") << QStringList{"pt-PT", "es"} << "es";
        QTest::newRow("traditional Chinese is no simplified") << QStringList{"zh-TW"} << "";
        QTest::newRow("English first") << QStringList{"en-GB", "de"} << "";
        QTest::newRow("C locale") << QStringList{"C"} << "";
        QTest::newRow("nothing") << QStringList{} << "";
    }

    void choosesTheFirstLanguageThatHasATranslation()
    {
        QFETCH(QStringList, uiLanguages);
        QFETCH(QString, chosen);
        const auto available = [](const QString& name) { return languages.contains(name); };
        QCOMPARE(chooseTranslation(uiLanguages, available), chosen);
    }

    // Traymate's texts and Qt's standard buttons change together, and go back to English when
    // the translations go.
    void installsTraymateAndQtTextsWhileItLives()
    {
        {
            const Translations german({QStringLiteral("de-DE")});
            QCOMPARE(german.language(), QStringLiteral("de"));
            QCOMPARE(QCoreApplication::translate("FullPanel", "Quit"), QStringLiteral("Beenden"));
            QDialogButtonBox translated(QDialogButtonBox::Cancel);
            QCOMPARE(translated.button(QDialogButtonBox::Cancel)->text(),
                     QStringLiteral("Abbrechen"));
        }
        QCOMPARE(QCoreApplication::translate("FullPanel", "Quit"), QStringLiteral("Quit"));
        const Translations english({QStringLiteral("en-US"), QStringLiteral("de")});
        QVERIFY(english.language().isEmpty());
        QCOMPARE(QCoreApplication::translate("FullPanel", "Quit"), QStringLiteral("Quit"));
    }
};

TRAYMATE_TEST_MAIN(TranslationsTest)
#include "tst_translations.moc"
