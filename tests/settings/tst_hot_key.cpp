#include "platform/linux/x11_key_map.h"
#include "settings/hot_key.h"
#include "test_environment.h"

#include <xcb/xproto.h>

// The preset table, its fallback, and the mapping of its keys to X11.
class HotKeyTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void presetsInPickerOrder()
    {
        QStringList names;
        for (const HotKeyPreset& preset : HotKey::presets)
            names << preset.name;
        QCOMPARE(names, QStringList({"Ctrl+Alt+Space", "Ctrl+Space", "Alt+Space", "Ctrl+Alt+D",
                                     "Super+Alt+D"}));
        QCOMPARE(HotKey::presets.at(4).key, 2u);
        QCOMPARE(HotKey::presets.at(4).mods, 0x900u);
    }

    void outOfRangeIndexesFallBackToTheFirst()
    {
        for (int index : {-1, 5, 7, INT_MIN, INT_MAX})
            QCOMPARE(&HotKey::presetAt(index), &HotKey::presets.at(0));
        for (int index = 0; index < 5; ++index)
            QCOMPARE(&HotKey::presetAt(index), &HotKey::presets.at(index));
    }

    void keysMapToX11()
    {
        QCOMPARE(X11KeyMap::keysym(49), std::optional<std::uint32_t>(0x20)); // space
        QCOMPARE(X11KeyMap::keysym(2), std::optional<std::uint32_t>(0x64));  // d
        QVERIFY(!X11KeyMap::keysym(0));

        QCOMPARE(X11KeyMap::modifiers(0x1800),
                 std::uint16_t(XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1));
        QCOMPARE(X11KeyMap::modifiers(0x1000), std::uint16_t(XCB_MOD_MASK_CONTROL));
        QCOMPARE(X11KeyMap::modifiers(0x800), std::uint16_t(XCB_MOD_MASK_1));
        QCOMPARE(X11KeyMap::modifiers(0x900), std::uint16_t(XCB_MOD_MASK_4 | XCB_MOD_MASK_1));
        QCOMPARE(X11KeyMap::modifiers(0x200), std::uint16_t(XCB_MOD_MASK_SHIFT));
    }

    void applyWithoutX11GrabsNothingAndDoesNotCrash()
    {
        // The offscreen platform has an X11 interface with no connection behind it.
        HotKey hotKey;
        hotKey.apply(0);
        QVERIFY(!hotKey.isActive());
        QVERIFY(hotKey.isRefused());
        hotKey.apply(9);
        QVERIFY(!hotKey.isActive());
    }
};

TRAYMATE_TEST_MAIN(HotKeyTest)
#include "tst_hot_key.moc"
