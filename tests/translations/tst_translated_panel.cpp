#include "app/translations.h"
#include "panel/compact_panel.h"
#include "panel/full_panel.h"
#include "panel/item_grid.h"
#include "panel/prompts.h"
#include "panel/symbols.h"
#include "panel_fixture.h"
#include "recording_delegate.h"
#include "settings/preferences.h"
#include "settings/update_checker.h"
#include "test_environment.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QTimer>
#include <functional>

namespace {

const QString shotFolder = QStringLiteral(TRAYMATE_SCREENSHOT_DIR);

void saveShot(QWidget* widget, const QString& name)
{
    QVERIFY(QDir().mkpath(shotFolder));
    // The large-text runs keep their own pictures.
    const QString variant = qEnvironmentVariable("TRAYMATE_SCREENSHOT_VARIANT");
    QVERIFY(widget->grab().save(shotFolder + QStringLiteral("/translated-") + name +
                                (variant.isEmpty() ? QString() : QLatin1Char('-') + variant) +
                                QStringLiteral(".png")));
}

QStringList titles(const QList<QAction*>& actions)
{
    QStringList list;
    for (const QAction* action : actions)
        list << action->text();
    return list;
}

QStringList buttonTexts(QWidget* parent)
{
    QStringList texts;
    for (const QPushButton* button : parent->findChildren<QPushButton*>())
        texts << button->text();
    return texts;
}

QPushButton* buttonTitled(QWidget* parent, const QString& text)
{
    for (QPushButton* button : parent->findChildren<QPushButton*>()) {
        if (button->text() == text)
            return button;
    }
    return nullptr;
}

QAction* actionTitled(QMenu* menu, const QString& text)
{
    for (QAction* action : menu->actions()) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

QStringList comboItems(const QComboBox* box)
{
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

// The shown texts under `root` that do not get the room they ask for: labels cut short or
// wrapped beyond their height, buttons, boxes and fields narrower than their text, and
// anything reaching past the window's edge.
QStringList clippedTexts(QWidget* root)
{
    QStringList clipped;
    const QRect window = root->window()->rect();
    for (QWidget* widget : root->findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(root->window()))
            continue;
        QString text;
        bool fits = true;
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            text = label->text();
            if (text.isEmpty())
                continue;
            fits = label->wordWrap() ? label->heightForWidth(label->width()) <= label->height()
                                     : label->sizeHint().width() <= label->width();
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            text = button->text();
            if (text.isEmpty())
                continue;
            fits = button->sizeHint().width() <= button->width();
        } else if (auto* box = qobject_cast<QComboBox*>(widget)) {
            text = box->currentText();
            fits = box->sizeHint().width() <= box->width();
        } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
            text = group->title();
            fits = group->fontMetrics().horizontalAdvance(text) < group->width();
        } else {
            continue;
        }
        const QRect inWindow(widget->mapTo(root->window(), QPoint(0, 0)), widget->size());
        if (!fits || !window.contains(inWindow))
            clipped << text;
    }
    return clipped;
}

// Runs `answer` on the modal question once it is up.
void answerModal(std::function<void(QWidget*)> answer, bool* ran)
{
    QTimer::singleShot(10, [answer, ran] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            *ran = true;
            answer(modal);
        } else {
            answerModal(answer, ran);
        }
    });
}

} // namespace

// With LANGUAGE=de the panel, its menus, the prompts and the settings window read German and
// show every text whole; the full panel's footer fits in every language. The pictures land in
// build/screenshots/translated-*.png for people to look at.
class TranslatedPanelTest : public QObject {
    Q_OBJECT

    PanelFixture fx;

    // Two groups, the first with an item and the second empty; the names are the user's own.
    Store& twoGroups()
    {
        return fx.openWith({StoreFixture::named("Arbeit", {fx.app("Notizen")}),
                            StoreFixture::named("Reisen", {})});
    }

    static void languageRows()
    {
        QTest::addColumn<QString>("language");
        for (const char* language : {"de", "es", "fr", "pt_BR", "ru", "zh_CN"})
            QTest::newRow(language) << QString::fromLatin1(language);
    }

private Q_SLOTS:
    void initTestCase()
    {
        // Nobody listens there: an update check fails at once and says so.
        qputenv("TRAYMATE_UPDATE_FEED", "http://127.0.0.1:9/version.json");
    }

    void init()
    {
        fx.log = ServiceLog();
        fx.closePanel();
        QFile::remove(Preferences::filePath());
    }

    void theUsersLanguageIsGerman()
    {
        QCOMPARE(QString::fromLocal8Bit(qgetenv("LANGUAGE")), QStringLiteral("de"));
        const Translations translations;
        QCOMPARE(translations.language(), QStringLiteral("de"));
    }

    void fullAndCompactPanelReadGerman()
    {
        const Translations translations;
        Store& store = twoGroups();
        store.setSelected(store.groups()[1].id);
        PanelView& view = fx.panel(store);
        auto* full = qobject_cast<FullPanel*>(view.form());
        QVERIFY(full);
        QCOMPARE(buttonTexts(full),
                 (QStringList{"Hinzufügen", "Dock importieren", "Neue Gruppe", "Beenden"}));
        QCOMPARE(full->searchField()->placeholderText(), QStringLiteral("Suchen"));
        QCOMPARE(full->pinButton()->toolTip(), QStringLiteral("Geöffnet lassen"));
        QCOMPARE(full->settingsButton()->toolTip(), QStringLiteral("Einstellungen"));
        QCOMPARE(full->closeButton()->toolTip(), QStringLiteral("Schließen"));
        QVERIFY(full->grid()->emptyTextVisible());
        QCOMPARE(full->grid()->emptyText(),
                 QStringLiteral("Anwendungen, Dateien oder Ordner hier ablegen"));
        QCOMPARE(clippedTexts(full), QStringList());
        saveShot(&view, QStringLiteral("de-full"));

        store.setCompact(true);
        auto* compact = qobject_cast<CompactPanel*>(view.form());
        QVERIFY(compact);
        view.resize(view.panelSize());
        QCoreApplication::processEvents();
        QCOMPARE(compact->allGroupsButton()->toolTip(), QStringLiteral("Alle Gruppen"));
        QCOMPARE(compact->closeButton()->toolTip(), QStringLiteral("Schließen"));
        QCOMPARE(compact->shownName(), QStringLiteral("Reisen"));
        QCOMPARE(view.form()->findChild<ItemGrid*>()->emptyText(), QStringLiteral("Leere Gruppe"));
        saveShot(&view, QStringLiteral("de-compact"));
    }

    void menusReadGerman()
    {
        const Translations translations;
        Store& store = twoGroups();
        PanelView& view = fx.panel(store);

        QMenu* groupMenu = view.groupMenu(store.groups()[0]);
        QCOMPARE(titles(groupMenu->actions()), (QStringList{"Umbenennen", "Symbol festlegen …",
                                                            "Dock-Symbol erstellen", "Löschen"}));
        groupMenu->popup(view.mapToGlobal(QPoint(40, 40)));
        QTest::qWait(50);
        saveShot(groupMenu, QStringLiteral("de-group-menu"));
        groupMenu->close();

        QMenu* itemMenu = view.itemMenu(store.groups()[0].apps.first());
        QCOMPARE(titles(itemMenu->actions()),
                 (QStringList{"Im Ordner anzeigen", "Aus der Gruppe entfernen"}));
        itemMenu->popup(view.mapToGlobal(QPoint(40, 40)));
        QTest::qWait(50);
        saveShot(itemMenu, QStringLiteral("de-item-menu"));
        itemMenu->close();

        // The tray icon's menu and the shortcuts every window of the program has.
        RecordingDelegate delegate(store);
        delegate.applicationDidFinishLaunching();
        QMenu* trayMenu = delegate.statusItem()->contextMenu();
        QCOMPARE(titles(trayMenu->actions()),
                 (QStringList{"Traymate öffnen", QString(), "Arbeit", "Reisen", QString(),
                              "Einstellungen", QString(), "Traymate beenden"}));
        trayMenu->popup(QPoint(40, 40));
        QTest::qWait(50);
        saveShot(trayMenu, QStringLiteral("de-tray-menu"));
        trayMenu->close();
        QCOMPARE(titles(delegate.mainMenu()),
                 (QStringList{"Traymate beenden", "Rückgängig", "Wiederholen", QString(),
                              "Ausschneiden", "Kopieren", "Einfügen", "Alles auswählen"}));
    }

    void promptsReadGerman()
    {
        const Translations translations;
        Store& store = twoGroups();
        PanelView& view = fx.panel(store);
        PanelServices services = fx.log.services();
        services.prompt = promptText;
        services.confirm = confirmAction;
        view.setServices(services);

        bool ran = false;
        QString message;
        QStringList buttons;
        answerModal(
            [&](QWidget* dialog) {
                message = dialog->findChild<QLabel*>()->text();
                buttons = buttonTexts(dialog);
                QCOMPARE(clippedTexts(dialog), QStringList());
                saveShot(dialog, QStringLiteral("de-new-group"));
                buttonTitled(dialog, QStringLiteral("Abbrechen"))->click();
            },
            &ran);
        qobject_cast<FullPanel*>(view.form())->footerButton(QStringLiteral("Neue Gruppe"))->click();
        QVERIFY(ran);
        QCOMPARE(message, QStringLiteral("Name der neuen Gruppe"));
        QCOMPARE(buttons, (QStringList{"OK", "Abbrechen"}));

        ran = false;
        answerModal(
            [&](QWidget* dialog) {
                message = dialog->findChild<QLabel*>()->text();
                buttonTitled(dialog, QStringLiteral("Abbrechen"))->click();
            },
            &ran);
        actionTitled(view.groupMenu(store.groups()[0]), QStringLiteral("Umbenennen"))->trigger();
        QVERIFY(ran);
        QCOMPARE(message, QStringLiteral("Gruppe umbenennen"));

        ran = false;
        answerModal(
            [&](QWidget* dialog) {
                message = qobject_cast<QMessageBox*>(dialog)->text();
                buttons = buttonTexts(dialog);
                QCOMPARE(clippedTexts(dialog), QStringList());
                saveShot(dialog, QStringLiteral("de-delete-group"));
                buttonTitled(dialog, QStringLiteral("Abbrechen"))->click();
            },
            &ran);
        actionTitled(view.groupMenu(store.groups()[0]), QStringLiteral("Löschen"))->trigger();
        QVERIFY(ran);
        QCOMPARE(message, QStringLiteral("Die Gruppe Arbeit löschen?"));
        QCOMPARE(buttons, (QStringList{"Löschen", "Abbrechen"}));
        QCOMPARE(store.groups().size(), 2);
    }

    void settingsWindowReadsGerman()
    {
        const Translations translations;
        Store& store = twoGroups();
        RecordingDelegate delegate(store);
        delegate.showSettings();
        QWidget* window = delegate.settingsWindow();
        QVERIFY(window);
        QCOMPARE(window->windowTitle(), QStringLiteral("Traymate-Einstellungen"));

        QStringList groups;
        for (const QGroupBox* box : window->findChildren<QGroupBox*>())
            groups << box->title();
        QCOMPARE(groups, (QStringList{"Allgemein", "Info"}));
        QCOMPARE(window->findChild<QCheckBox*>("launchAtLogin")->text(),
                 QStringLiteral("Beim Anmelden starten"));
        QCOMPARE(window->findChild<QCheckBox*>("closeAfterLaunch")->text(),
                 QStringLiteral("Nach dem Starten schließen"));
        QCOMPARE(comboItems(window->findChild<QComboBox*>("hotkey")),
                 (QStringList{"Strg+Alt+Leertaste", "Strg+Leertaste", "Alt+Leertaste", "Strg+Alt+D",
                              "Super+Alt+D"}));
        QCOMPARE(comboItems(window->findChild<QComboBox*>("openPanel")),
                 (QStringList{"Unten mittig", "Am Mauszeiger"}));
        auto* form =
            window->findChild<QComboBox*>("hotkey")->parentWidget()->findChild<QFormLayout*>();
        QVERIFY(form);
        QCOMPARE(qobject_cast<QLabel*>(form->labelForField(window->findChild<QComboBox*>("hotkey")))
                     ->text(),
                 QStringLiteral("Tastenkürzel"));
        QCOMPARE(
            qobject_cast<QLabel*>(form->labelForField(window->findChild<QComboBox*>("openPanel")))
                ->text(),
            QStringLiteral("Panel öffnen"));
        QCOMPARE(window->findChild<QPushButton*>("checkForUpdates")->text(),
                 QStringLiteral("Nach Aktualisierungen suchen"));
        QCOMPARE(window->findChild<QPushButton*>("download")->text(),
                 QStringLiteral("Herunterladen"));

        // The longest texts at once: the login error, and a failed update check.
        window->findChild<QLabel*>("loginError")->setVisible(true);
        UpdateChecker::shared().check();
        QCOMPARE(UpdateChecker::shared().status(), QStringLiteral("Wird geprüft …"));
        QTRY_COMPARE(window->findChild<QLabel*>("updateStatus")->text(),
                     QStringLiteral("Die Suche nach Aktualisierungen ist fehlgeschlagen"));
        QCoreApplication::processEvents();
        QCOMPARE(clippedTexts(window), QStringList());
        saveShot(window, QStringLiteral("de-settings"));
    }

    void settingsWindowShowsEveryTextWholeInEveryLanguage_data() { languageRows(); }

    // The settings window has a fixed size: every language's texts must fit in it, with the
    // login error showing too.
    void settingsWindowShowsEveryTextWholeInEveryLanguage()
    {
        QFETCH(QString, language);
        const Translations translations({language});
        QCOMPARE(translations.language(), language);
        Store& store = twoGroups();
        RecordingDelegate delegate(store);
        delegate.showSettings();
        QWidget* window = delegate.settingsWindow();
        QVERIFY(window);
        QVERIFY(window->windowTitle() != QLatin1String("Traymate Settings"));
        window->findChild<QLabel*>("loginError")->setVisible(true);
        UpdateChecker::shared().check();
        QTRY_COMPARE(UpdateChecker::shared().status(),
                     QCoreApplication::translate("UpdateChecker", "Could not check for updates"));
        QCoreApplication::processEvents();
        QCOMPARE(clippedTexts(window), QStringList());
        saveShot(window, language + QStringLiteral("-settings"));
    }

    void footerFitsInEveryLanguage_data()
    {
        languageRows();
        QTest::newRow("en") << QStringLiteral("en");
    }

    // The full panel is 400 wide whatever the language and the text size: the four footer
    // buttons must show their whole titles within it, on more rows where one is not enough.
    // Run again with large text (QT_FONT_DPI=144, see CMakeLists.txt).
    void footerFitsInEveryLanguage()
    {
        QFETCH(QString, language);
        const Translations translations({language});
        const bool english = language == QLatin1String("en");
        if (!english)
            QCOMPARE(translations.language(), language);
        Store& store = twoGroups();
        PanelView& view = fx.panel(store);
        QCOMPARE(view.size(), QSize(400, 440));
        auto* full = qobject_cast<FullPanel*>(view.form());
        QVERIFY(full);

        QList<QPushButton*> footer;
        for (const char* title : {"Add", "Import Dock", "New Group", "Quit"}) {
            QPushButton* button =
                full->footerButton(QCoreApplication::translate("FullPanel", title));
            QVERIFY2(button, title);
            QVERIFY2(english || button->text() != QLatin1String(title), title); // translated
            footer << button;
        }
        QRect previous;
        for (QPushButton* button : footer) {
            const QRect area = QRect(button->mapTo(full, QPoint()), button->size());
            QVERIFY2(button->sizeHint().width() <= area.width(), qPrintable(button->text()));
            QVERIFY2(button->sizeHint().height() <= area.height(), qPrintable(button->text()));
            QVERIFY2(button->toolTip().isEmpty(), qPrintable(button->text())); // never cut
            QVERIFY2(!area.intersects(previous), qPrintable(button->text()));
            // In reading order: further right on the same row, or on a row below.
            QVERIFY2(previous.isNull() || area.left() > previous.right() ||
                         area.top() > previous.bottom(),
                     qPrintable(button->text()));
            QVERIFY2(full->rect().contains(area), qPrintable(button->text()));
            previous = area;
        }
        // The grid keeps room for a row of tiles.
        QVERIFY(full->grid()->height() >= ItemGrid::tileHeight(full->grid()->font()));
        QCOMPARE(clippedTexts(full), QStringList());
        saveShot(&view, language + QStringLiteral("-full"));
    }
};

TRAYMATE_TEST_MAIN(TranslatedPanelTest)
#include "tst_translated_panel.moc"
