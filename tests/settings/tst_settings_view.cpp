#include "feed_server.h"
#include "platform/login_item.h"
#include "settings/hot_key.h"
#include "settings/preferences.h"
#include "settings/settings_view.h"
#include "settings/update_checker.h"
#include "settings/web_address.h"
#include "test_environment.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>

namespace {

// Stands in for the browser: records every address handed to the desktop.
class OpenedPages : public QObject {
    Q_OBJECT

public:
    OpenedPages()
    {
        for (const char* scheme : {"http", "https", "file", "ftp", "javascript", "mailto"})
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "open");
    }
    ~OpenedPages() override
    {
        for (const char* scheme : {"http", "https", "file", "ftp", "javascript", "mailto"})
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }

    QList<QUrl> pages;

public Q_SLOTS:
    void open(const QUrl& url) { pages.append(url); }
};

template <typename T> T* child(QWidget& view, const char* name)
{
    T* found = view.findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qFatal("no %s in the settings view", name);
    return found;
}

// The test's own folder, never a path made from an empty entry where there is no login item.
QString autostartFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/autostart");
}

void blockAutostartFolder()
{
    QDir().mkpath(QFileInfo(autostartFolder()).path());
    QFile file(autostartFolder());
    QVERIFY(file.open(QIODevice::WriteOnly));
}

} // namespace

class SettingsViewTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        QFile::remove(Preferences::filePath());
        QFile::remove(autostartFolder());
        QDir(autostartFolder()).removeRecursively();
    }

    void freshInstallationShowsTheDefaultsWithoutWritingThem()
    {
        SettingsView view;
        view.resize(420, 540);
        view.show();
        QVERIFY(QTest::qWaitForWindowExposed(&view));

        auto* hotkey = child<QComboBox>(view, "hotkey");
        QCOMPARE(hotkey->count(), 5);
        for (int index = 0; index < 5; ++index)
            QCOMPARE(hotkey->itemText(index), HotKey::presets.at(index).name);
        QCOMPARE(hotkey->currentText(), QStringLiteral("Ctrl+Alt+Space"));
        QCOMPARE(child<QComboBox>(view, "openPanel")->currentText(),
                 QStringLiteral("Bottom center"));
        QVERIFY(child<QCheckBox>(view, "closeAfterLaunch")->isChecked());
        QVERIFY(!child<QCheckBox>(view, "launchAtLogin")->isChecked());
        QVERIFY(!child<QLabel>(view, "loginError")->isVisible());
        QCOMPARE(child<QLabel>(view, "version")->text(), QStringLiteral("Traymate 1.0"));
        QVERIFY(!child<QLabel>(view, "updateStatus")->isVisible());
        QVERIFY(child<QPushButton>(view, "checkForUpdates")->isVisible());
        QVERIFY(!child<QPushButton>(view, "download")->isVisible());

        for (const QString& key :
             {Preferences::hotkeyIndex, Preferences::panelPosition, Preferences::closeAfterLaunch})
            QVERIFY2(!Preferences::contains(key), qPrintable(key));
        QVERIFY(!QFileInfo::exists(LoginItem::entryPath()));
    }

    void storedValuesAreShownAndReadAgainOnEachShowing()
    {
        Preferences::setValue(Preferences::hotkeyIndex, 3);
        Preferences::setValue(Preferences::panelPosition, 1);
        Preferences::setValue(Preferences::closeAfterLaunch, false);
        SettingsView view;
        view.show();
        auto* hotkey = child<QComboBox>(view, "hotkey");
        QCOMPARE(hotkey->currentText(), QStringLiteral("Ctrl+Alt+D"));
        QCOMPARE(child<QComboBox>(view, "openPanel")->currentText(), QStringLiteral("At mouse"));
        QVERIFY(!child<QCheckBox>(view, "closeAfterLaunch")->isChecked());

        view.hide();
        Preferences::setValue(Preferences::hotkeyIndex, 7);
        Preferences::setValue(Preferences::closeAfterLaunch, true);
        QCOMPARE(LoginItem::registerItem(), LoginItem::isAvailable());
        view.show();
        QCOMPARE(hotkey->currentText(), QStringLiteral("Ctrl+Alt+Space"));
        QCOMPARE(Preferences::intValue(Preferences::hotkeyIndex, 0), 7);
        QVERIFY(child<QCheckBox>(view, "closeAfterLaunch")->isChecked());
        QCOMPARE(child<QCheckBox>(view, "launchAtLogin")->isChecked(), LoginItem::isAvailable());
    }

    void controlsWriteTheirKeysAtOnce()
    {
        SettingsView view;
        view.show();
        // The shell applies the chosen key; the view only names it, once stored.
        QList<int> storedAtChoice;
        connect(&view, &SettingsView::hotKeyChosen, this, [&](int index) {
            QCOMPARE(Preferences::value(Preferences::hotkeyIndex).toInt(), index);
            storedAtChoice << index;
        });
        auto* hotkey = child<QComboBox>(view, "hotkey");
        hotkey->setCurrentIndex(hotkey->findText(QStringLiteral("Super+Alt+D")));
        QCOMPARE(Preferences::value(Preferences::hotkeyIndex).toInt(), 4);
        hotkey->setCurrentIndex(1);
        QCOMPARE(Preferences::value(Preferences::hotkeyIndex).toInt(), 1);
        QCOMPARE(storedAtChoice, QList<int>({4, 1}));

        auto* openPanel = child<QComboBox>(view, "openPanel");
        openPanel->setCurrentIndex(openPanel->findText(QStringLiteral("At mouse")));
        QCOMPARE(Preferences::intValue(Preferences::panelPosition, -1), 1);

        child<QCheckBox>(view, "closeAfterLaunch")->click();
        QCOMPARE(Preferences::boolValue(Preferences::closeAfterLaunch), std::optional(false));
        child<QCheckBox>(view, "closeAfterLaunch")->click();
        QCOMPARE(Preferences::boolValue(Preferences::closeAfterLaunch), std::optional(true));

        // The file the README names, which benchmarks and users prepare by hand.
        QFile written(qEnvironmentVariable("XDG_CONFIG_HOME") + "/Traymate/Traymate.ini");
        QVERIFY(written.open(QIODevice::ReadOnly));
        const QByteArray text = written.readAll();
        QVERIFY(text.contains("[General]"));
        QVERIFY(text.contains("closeAfterLaunch=true"));
        QVERIFY(text.contains("panelPosition=1"));
    }

    void loginToggleFollowsTheEntry()
    {
        if (!LoginItem::isAvailable())
            QSKIP("no login item on this desktop");
        SettingsView view;
        view.show();
        auto* toggle = child<QCheckBox>(view, "launchAtLogin");
        toggle->click();
        QVERIFY(toggle->isChecked() && view.loginOn());
        QVERIFY(LoginItem::isEnabled());
        toggle->click();
        QVERIFY(!toggle->isChecked() && !view.loginOn());
        QVERIFY(!QFileInfo::exists(LoginItem::entryPath()));
        QVERIFY(!view.loginError());
    }

    void failedRegistrationShowsTheCaptionUntilTheNextAttempt()
    {
        if (!LoginItem::isAvailable())
            QSKIP("no login item on this desktop");
        SettingsView view;
        view.show();
        auto* toggle = child<QCheckBox>(view, "launchAtLogin");
        auto* caption = child<QLabel>(view, "loginError");
        blockAutostartFolder();
        toggle->click();
        QVERIFY(!toggle->isChecked());
        QVERIFY(view.loginError());
        QVERIFY(caption->isVisible());
        QCOMPARE(
            caption->text(),
            QStringLiteral("Could not change the autostart entry. Check that ~/.config/autostart "
                           "can be written and try again."));
        QVERIFY(caption->palette().color(QPalette::WindowText).red() > 200);
        QPalette dark = view.palette();
        dark.setColor(QPalette::PlaceholderText, QColor(0x90, 0x91, 0x92));
        view.setPalette(dark);
        QCOMPARE(child<QLabel>(view, "updateStatus")->palette().color(QPalette::WindowText),
                 QColor(0x90, 0x91, 0x92));
        QVERIFY(caption->palette().color(QPalette::WindowText).red() > 200);

        // Still failing: the caption stays for this attempt's failure.
        toggle->click();
        QVERIFY(!toggle->isChecked() && caption->isVisible());

        QFile::remove(autostartFolder());
        toggle->click();
        QVERIFY(toggle->isChecked());
        QVERIFY(!caption->isVisible() && !view.loginError());

        // A removal that fails keeps the toggle on the real status.
        QVERIFY(QFile::remove(LoginItem::entryPath()));
        QVERIFY(QDir().mkpath(LoginItem::entryPath() + QStringLiteral("/keep")));
        view.setLogin(false);
        QVERIFY(view.loginError() && caption->isVisible());
        QCOMPARE(toggle->isChecked(), LoginItem::isEnabled());
    }

    void webAddressesAreOnlyHttpAndHttps_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("web");
        QTest::newRow("https") << "https://example.org/download?v=2" << true;
        QTest::newRow("http") << "http://example.org" << true;
        QTest::newRow("upper case scheme") << "HTTPS://example.org" << true;
        QTest::newRow("surrounding spaces") << "  https://example.org  " << true;
        QTest::newRow("file") << "file:///etc/passwd" << false;
        QTest::newRow("ftp") << "ftp://example.org/x" << false;
        QTest::newRow("javascript") << "javascript:alert(1)" << false;
        QTest::newRow("no host") << "https://" << false;
        QTest::newRow("no scheme") << "example.org" << false;
        QTest::newRow("spaces inside") << "https://exa mple.org" << false;
        QTest::newRow("empty") << "" << false;
    }

    void webAddressesAreOnlyHttpAndHttps()
    {
        QFETCH(QString, text);
        QFETCH(bool, web);
        QCOMPARE(webAddress(text).has_value(), web);
    }

    void downloadShowsOnlyWhileANewerVersionIsKnown()
    {
        FeedServer server;
        QVERIFY(server.listening());
        qputenv("TRAYMATE_UPDATE_FEED", server.url().toUtf8());
        UpdateChecker::shared().setFetchProgram(QStringLiteral(TRAYMATE_FETCH_FEED));
        OpenedPages opened;
        SettingsView view;
        view.show();
        auto* status = child<QLabel>(view, "updateStatus");
        auto* download = child<QPushButton>(view, "download");
        auto* check = child<QPushButton>(view, "checkForUpdates");

        server.serveJson("{\"version\":\"9.0\",\"url\":\"https://example.org/get\"}", 200);
        check->click();
        QCOMPARE(status->text(), QStringLiteral("Checking..."));
        QVERIFY(!download->isVisible());
        QTRY_COMPARE(status->text(), QStringLiteral("Version 9.0 is available"));
        QVERIFY(download->isVisible());
        download->click();
        QCOMPARE(opened.pages, QList<QUrl>{QUrl(QStringLiteral("https://example.org/get"))});

        // Other schemes are never handed to the desktop.
        server.serveJson("{\"version\":\"9.1\",\"url\":\"file:///etc/passwd\"}");
        check->click();
        QTRY_COMPARE(status->text(), QStringLiteral("Version 9.1 is available"));
        download->click();
        QCOMPARE(opened.pages.size(), 1);

        server.serveJson("{\"version\":\"1.0\"}");
        check->click();
        QTRY_COMPARE(status->text(), QStringLiteral("You are up to date"));
        QVERIFY(!download->isVisible());
        qunsetenv("TRAYMATE_UPDATE_FEED");
    }
};

TRAYMATE_TEST_MAIN(SettingsViewTest)
#include "tst_settings_view.moc"
