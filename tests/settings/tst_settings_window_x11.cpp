#include "desktop_test_main.h"
#include "feed_server.h"
#include "platform/linux/x11_key_map.h"
#include "platform/login_item.h"
#include "settings/hot_key.h"
#include "settings/preferences.h"
#include "settings/settings_view.h"
#include "settings/update_checker.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <cstdlib>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

namespace {

// A second X client that asks for the same passive grab as a hot key: the server refuses it
// exactly while another client (the settings' hot key) holds that combination.
class GrabProbe {
public:
    GrabProbe()
        : m_connection(xcb_connect(nullptr, nullptr))
    {
    }
    ~GrabProbe() { xcb_disconnect(m_connection); }

    bool isHeldElsewhere(const HotKeyPreset& preset)
    {
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(m_connection);
        xcb_keycode_t* codes =
            xcb_key_symbols_get_keycode(symbols, X11KeyMap::keysym(preset.key).value_or(0));
        const xcb_keycode_t code = codes ? codes[0] : 0;
        std::free(codes);
        xcb_key_symbols_free(symbols);
        const std::uint16_t modifiers = X11KeyMap::modifiers(preset.mods);
        xcb_generic_error_t* error = xcb_request_check(
            m_connection, xcb_grab_key_checked(m_connection, 0, root, modifiers, code,
                                               XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
        const bool refused = error && error->error_code == 10; // BadAccess
        std::free(error);
        if (!refused)
            xcb_request_check(m_connection,
                              xcb_ungrab_key_checked(m_connection, code, root, modifiers));
        return refused;
    }

    // Takes the preset's combination for this client, as an input method or a window manager
    // holds its key; false when someone else had it already.
    bool hold(const HotKeyPreset& preset)
    {
        const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(m_connection);
        xcb_keycode_t* codes =
            xcb_key_symbols_get_keycode(symbols, X11KeyMap::keysym(preset.key).value_or(0));
        const xcb_keycode_t code = codes ? codes[0] : 0;
        std::free(codes);
        xcb_key_symbols_free(symbols);
        xcb_generic_error_t* error = xcb_request_check(
            m_connection,
            xcb_grab_key_checked(m_connection, 0, root, X11KeyMap::modifiers(preset.mods), code,
                                 XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
        std::free(error);
        return !error;
    }

    bool connected() const { return !xcb_connection_has_error(m_connection); }

private:
    xcb_connection_t* m_connection;
};

// The settings window as the shell makes it: a fixed 420 by 540 window around the view,
// whose chosen preset goes to `hotKey`.
struct SettingsWindow {
    explicit SettingsWindow(HotKey* hotKey = nullptr)
        : window(nullptr, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                              Qt::CustomizeWindowHint)
    {
        window.setWindowTitle(QStringLiteral("Traymate Settings"));
        window.setFixedSize(420, 540);
        auto* layout = new QVBoxLayout(&window);
        layout->setContentsMargins(0, 0, 0, 0);
        view = new SettingsView(hotKey);
        if (hotKey)
            QObject::connect(view, &SettingsView::hotKeyChosen, hotKey, &HotKey::apply);
        layout->addWidget(view);
    }

    QWidget window;
    SettingsView* view = nullptr;
};

// Every visible control lies wholly inside the window and none is squeezed below its size.
void verifyEverythingFits(SettingsView& view)
{
    QVERIFY(view.minimumSizeHint().width() <= 420);
    QVERIFY(view.minimumSizeHint().height() <= 540);
    for (QWidget* widget : view.findChildren<QWidget*>()) {
        if (!widget->isVisible())
            continue;
        const QRect inView(widget->mapTo(&view, QPoint(0, 0)), widget->size());
        QVERIFY2(view.rect().contains(inView), qPrintable(widget->objectName()));
        QVERIFY2(widget->width() >= widget->minimumSizeHint().width(),
                 qPrintable(widget->metaObject()->className()));
        if (auto* label = qobject_cast<QLabel*>(widget); label && label->wordWrap())
            QVERIFY2(label->height() >= label->heightForWidth(label->width()),
                     qPrintable(label->text()));
    }
}

void saveShot(QWidget& window, const QString& name)
{
    QTest::qWait(200);
    const QRect frame = window.frameGeometry();
    const QPixmap shot =
        window.screen()->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
    QVERIFY(!shot.isNull());
    QDir().mkpath(QStringLiteral(TRAYMATE_SCREENSHOT_DIR));
    const QString path = QStringLiteral(TRAYMATE_SCREENSHOT_DIR "/") + name;
    QVERIFY(shot.save(path));
    qInfo("screenshot: %s", qPrintable(path));
}

} // namespace

class SettingsWindowX11Test : public QObject {
    Q_OBJECT

    HotKey m_hotKey; // the shell's, which the window's choices move

private Q_SLOTS:
    void initTestCase() { QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb")); }

    void laysOutAtTheWindowSizeInEveryState()
    {
        SettingsWindow settings;
        settings.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&settings.window));
        verifyEverythingFits(*settings.view);
        saveShot(settings.window, QStringLiteral("settings-window.png"));

        // Everything shown at once: the red caption, a status line and "Download".
        FeedServer server;
        qputenv("TRAYMATE_UPDATE_FEED", server.url().toUtf8());
        UpdateChecker::shared().setFetchProgram(QStringLiteral(TRAYMATE_FETCH_FEED));
        server.serveJson("{\"version\":\"99.0\",\"url\":\"https://example.org\"}");
        QDir().mkpath(QFileInfo(QFileInfo(LoginItem::entryPath()).path()).path());
        QFile blocker(QFileInfo(LoginItem::entryPath()).path());
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        settings.view->setLogin(true);
        settings.view->findChild<QPushButton*>(QStringLiteral("checkForUpdates"))->click();
        QTRY_VERIFY(UpdateChecker::shared().latest().has_value());
        QVERIFY(settings.view->findChild<QPushButton*>(QStringLiteral("download"))->isVisible());
        QVERIFY(settings.view->findChild<QLabel*>(QStringLiteral("loginError"))->isVisible());
        verifyEverythingFits(*settings.view);
        saveShot(settings.window, QStringLiteral("settings-window-all.png"));
        QVERIFY(blocker.remove());
        qunsetenv("TRAYMATE_UPDATE_FEED");
    }

    void choosingAPresetMovesTheHotKeyAtOnce()
    {
        GrabProbe probe;
        QVERIFY(probe.connected());
        m_hotKey.apply(Preferences::intValue(Preferences::hotkeyIndex, 0));
        QVERIFY(m_hotKey.isActive());
        QVERIFY(probe.isHeldElsewhere(HotKey::presets.at(0)));
        QVERIFY(!probe.isHeldElsewhere(HotKey::presets.at(4)));

        SettingsView view(&m_hotKey);
        connect(&view, &SettingsView::hotKeyChosen, &m_hotKey, &HotKey::apply);
        view.show();
        auto* hotkey = view.findChild<QComboBox*>(QStringLiteral("hotkey"));
        hotkey->setCurrentIndex(hotkey->findText(QStringLiteral("Super+Alt+D")));
        QCOMPARE(Preferences::intValue(Preferences::hotkeyIndex, -1), 4);
        QVERIFY(m_hotKey.isActive());
        QVERIFY(!probe.isHeldElsewhere(HotKey::presets.at(0)));
        QVERIFY(probe.isHeldElsewhere(HotKey::presets.at(4)));
        QVERIFY(!view.findChild<QLabel*>(QStringLiteral("hotkeyRefused"))->isVisible());
    }

    void aKeyTakenByAnotherProgramIsNamedUnderThePicker()
    {
        m_hotKey.apply(4);
        GrabProbe inputMethod;
        QVERIFY(inputMethod.hold(HotKey::presets.at(1))); // Ctrl+Space, as an input method does

        SettingsWindow settings(&m_hotKey);
        settings.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&settings.window));
        auto* hotkey = settings.view->findChild<QComboBox*>(QStringLiteral("hotkey"));
        auto* refused = settings.view->findChild<QLabel*>(QStringLiteral("hotkeyRefused"));
        QVERIFY(!refused->isVisible());
        hotkey->setCurrentIndex(hotkey->findText(QStringLiteral("Ctrl+Space")));
        QVERIFY(!m_hotKey.isActive());
        QVERIFY(refused->isVisible());
        QVERIFY(refused->text().contains(QStringLiteral("Ctrl+Space")));
        QTest::qWait(50);
        verifyEverythingFits(*settings.view);
        saveShot(settings.window, QStringLiteral("settings-window-key-refused.png"));

        // Shown again when the window comes back, and gone with a key that is free.
        settings.window.hide();
        settings.window.show();
        QVERIFY(refused->isVisible());
        hotkey->setCurrentIndex(hotkey->findText(QStringLiteral("Ctrl+Alt+D")));
        QVERIFY(m_hotKey.isActive());
        QVERIFY(!refused->isVisible());
    }
};

TRAYMATE_DESKTOP_TEST_MAIN(SettingsWindowX11Test)
#include "tst_settings_window_x11.moc"
