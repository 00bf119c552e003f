#include "desktop_test_main.h"
#include "settings/hot_key.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <cstdlib>
#include <xcb/xcb_keysyms.h>
#include <xcb/xtest.h>

namespace {

// Another X client, with keys of its own: it holds combinations and types through XTest.
class OtherClient {
public:
    OtherClient()
        : m_connection(xcb_connect(nullptr, nullptr))
    {
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        m_symbols = xcb_key_symbols_alloc(m_connection);
    }
    ~OtherClient()
    {
        xcb_key_symbols_free(m_symbols);
        xcb_disconnect(m_connection);
    }

    xcb_keycode_t code(std::uint32_t keysym) const
    {
        xcb_keycode_t* codes = xcb_key_symbols_get_keycode(m_symbols, keysym);
        const xcb_keycode_t result = codes ? codes[0] : 0;
        std::free(codes);
        return result;
    }
    bool grab(std::uint16_t modifiers, std::uint32_t keysym)
    {
        const xcb_void_cookie_t cookie =
            xcb_grab_key_checked(m_connection, 1, m_root, modifiers, code(keysym),
                                 XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
        xcb_generic_error_t* error = xcb_request_check(m_connection, cookie);
        std::free(error);
        return error == nullptr;
    }
    void ungrabAll()
    {
        xcb_ungrab_key(m_connection, XCB_GRAB_ANY, m_root, XCB_MOD_MASK_ANY);
        xcb_flush(m_connection);
    }
    // Presses the keys in order and releases them in reverse.
    void press(std::initializer_list<std::uint32_t> keysyms)
    {
        down(keysyms);
        up(keysyms);
    }
    void down(std::initializer_list<std::uint32_t> keysyms)
    {
        // The first press waits a few milliseconds in the server, as a person's would: a press
        // in the very millisecond of the last release is what X's own key repeat sends, and
        // the hot key rightly takes it for one.
        std::uint32_t delayMs = 5;
        for (const std::uint32_t keysym : keysyms) {
            xcb_test_fake_input(m_connection, XCB_KEY_PRESS, code(keysym), delayMs, m_root, 0, 0,
                                0);
            delayMs = XCB_CURRENT_TIME;
        }
        xcb_flush(m_connection);
    }
    void up(std::initializer_list<std::uint32_t> keysyms)
    {
        for (auto it = std::rbegin(keysyms); it != std::rend(keysyms); ++it)
            xcb_test_fake_input(m_connection, XCB_KEY_RELEASE, code(*it), XCB_CURRENT_TIME, m_root,
                                0, 0, 0);
        xcb_flush(m_connection);
    }
    // Whether the server repeats a held key (`xset r on`).
    bool repeatsHeldKeys() const
    {
        xcb_get_keyboard_control_reply_t* control = xcb_get_keyboard_control_reply(
            m_connection, xcb_get_keyboard_control(m_connection), nullptr);
        const bool repeats = control && control->global_auto_repeat != 0;
        std::free(control);
        return repeats;
    }

private:
    xcb_connection_t* m_connection;
    xcb_window_t m_root = 0;
    xcb_key_symbols_t* m_symbols = nullptr;
};

constexpr std::uint32_t ctrl = 0xffe3, alt = 0xffe9, super = 0xffeb, space = 0x20, keyD = 0x64,
                        numLock = 0xff7f, capsLock = 0xffe5;

} // namespace

// The global key on a real X server: grabs, presses, replacement and refusal.
class X11HotKeyTest : public QObject {
    Q_OBJECT

    OtherClient m_other;
    HotKey m_hotKey;

    // Whether the hot key reports a press for the keys pressed.
    bool posts(std::initializer_list<std::uint32_t> keysyms, int waitMs = 1000)
    {
        QSignalSpy pressed(&m_hotKey, &HotKey::pressed);
        m_other.press(keysyms);
        return pressed.wait(waitMs);
    }

private Q_SLOTS:
    void initTestCase() { QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb")); }

    void firstPresetToggles()
    {
        m_hotKey.apply(0);
        QVERIFY(m_hotKey.isActive());
        QVERIFY(posts({ctrl, alt, space}));
        QVERIFY(!posts({ctrl, space}, 300));
        QVERIFY(!posts({alt, space}, 300));
    }

    void lockKeysDoNotMatter()
    {
        m_hotKey.apply(0);
        m_other.press({numLock});
        QVERIFY(posts({ctrl, alt, space}));
        m_other.press({capsLock});
        QVERIFY(posts({ctrl, alt, space}));
        m_other.press({numLock});
        QVERIFY(posts({ctrl, alt, space}));
        m_other.press({capsLock});
    }

    void replacingThePresetReleasesTheOldKey()
    {
        m_hotKey.apply(0);
        m_hotKey.apply(4);
        QVERIFY(m_hotKey.isActive());
        QVERIFY(!posts({ctrl, alt, space}, 300));
        QVERIFY(posts({super, alt, keyD}));
        // Released for real: another client can take the old combination now.
        QVERIFY(m_other.grab(XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1, space));
        m_other.ungrabAll();

        m_hotKey.apply(-1); // falls back to Ctrl+Alt+Space
        QVERIFY(posts({ctrl, alt, space}));
        QVERIFY(!posts({super, alt, keyD}, 300));
    }

    void aRefusedGrabLeavesNoHotKey()
    {
        QVERIFY(m_other.grab(XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1, keyD));
        m_hotKey.apply(3);
        QVERIFY(!m_hotKey.isActive());
        // Nothing of the refused preset stays grabbed by us, and the old key is gone too.
        QVERIFY(!posts({ctrl, alt, space}, 300));
        m_other.ungrabAll();
        QVERIFY(!posts({ctrl, alt, keyD}, 300));

        m_hotKey.apply(3);
        QVERIFY(m_hotKey.isActive());
        QVERIFY(posts({ctrl, alt, keyD}));
    }

    void holdingTheKeyTogglesOnce()
    {
        QVERIFY2(m_other.repeatsHeldKeys(), "the X server repeats no held key");
        m_hotKey.apply(0);
        QSignalSpy posted(&m_hotKey, &HotKey::pressed);
        // Held for two seconds, well past the server's repeat delay, then held again.
        for (int press = 1; press <= 2; ++press) {
            m_other.down({ctrl, alt, space});
            QTest::qWait(2000);
            m_other.up({ctrl, alt, space});
            QTest::qWait(300);
            QCOMPARE(posted.count(), press);
        }
    }

    void otherKeysReachTheFocusedField()
    {
        m_hotKey.apply(0);
        QLineEdit field;
        field.show();
        field.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&field));
        m_other.press({keyD});
        QTRY_COMPARE(field.text(), QStringLiteral("d"));
        QVERIFY(posts({ctrl, alt, space}));
        QCOMPARE(field.text(), QStringLiteral("d"));
    }
};

TRAYMATE_DESKTOP_TEST_MAIN(X11HotKeyTest)
#include "tst_x11_hot_key.moc"
