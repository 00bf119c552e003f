#include "platform/desktop.h"
#include "platform/linux/portal_trigger.h"
#include "platform/linux/shortcut_choice.h"
#include "settings/hot_key.h"
#include "settings/settings_view.h"
#include "test_environment.h"

#include <QLabel>

using ShortcutChoice::Service;

class ShortcutChoiceTest : public QObject {
    Q_OBJECT

    static ShortcutChoice::Choice choose(const QString& override, bool wayland, bool x11,
                                         bool portal, int* asked = nullptr)
    {
        return ShortcutChoice::choose({override, wayland, x11}, [portal, asked] {
            if (asked)
                ++*asked;
            return portal;
        });
    }

private Q_SLOTS:
    void waylandUsesThePortalWhenItOffersShortcuts()
    {
        const auto choice = choose({}, true, true, true);
        QCOMPARE(choice.service, Service::Portal);
        QVERIFY(choice.desktopWide);
    }

    void waylandWithoutThePortalFallsBackToXWaylandAndSaysSo()
    {
        const auto choice = choose({}, true, true, false);
        QCOMPARE(choice.service, Service::X11);
        QVERIFY(!choice.desktopWide);
        QCOMPARE(choose({}, true, false, false).service, Service::None);
    }

    void x11SessionNeverAsksThePortal()
    {
        int asked = 0;
        const auto choice = choose({}, false, true, true, &asked);
        QCOMPARE(choice.service, Service::X11);
        QVERIFY(choice.desktopWide);
        QCOMPARE(asked, 0);
        QCOMPARE(choose({}, false, false, true, &asked).service, Service::None);
        QCOMPARE(asked, 0);
    }

    void overrideDecides()
    {
        int asked = 0;
        QCOMPARE(choose("x11", true, true, true, &asked).service, Service::X11);
        QCOMPARE(asked, 0);
        QCOMPARE(choose("x11", false, false, true).service, Service::None);
        QCOMPARE(choose("portal", false, true, true).service, Service::Portal);
        // Forced onto a portal that is not there: no key, and the user is told.
        const auto missing = choose("portal", false, true, false);
        QCOMPARE(missing.service, Service::None);
        QVERIFY(!missing.desktopWide);
    }

    void presetsInTheShortcutSyntax()
    {
        const QStringList expected = {"CTRL+ALT+space", "CTRL+space", "ALT+space", "CTRL+ALT+d",
                                      "LOGO+ALT+d"};
        QCOMPARE(HotKey::presets.size(), expected.size());
        for (int index = 0; index < expected.size(); ++index) {
            const HotKeyPreset& preset = HotKey::presets.at(index);
            QCOMPARE(PortalTrigger::text(preset.key, preset.mods), expected.at(index));
        }
        QCOMPARE(PortalTrigger::text(2, 0x1200), QStringLiteral("CTRL+SHIFT+d"));
        QVERIFY(PortalTrigger::text(0x7f, 0x1000).isEmpty());
    }

    // Offscreen, outside any Wayland session: neither an X11 grab nor the portal.
    void settingsNameTheToggleCommandWhereNoKeyCanBeSet()
    {
        qunsetenv("WAYLAND_DISPLAY");
        qunsetenv("XDG_SESSION_TYPE");
        qunsetenv("TRAYMATE_HOTKEY");
        QVERIFY(!Desktop::canRegisterGlobalShortcut());
        SettingsView view;
        const auto* fallback = view.findChild<QLabel*>(QStringLiteral("hotkeyFallback"));
        QVERIFY(fallback);
        QCOMPARE(fallback->text(), QStringLiteral("The desktop does not let Traymate set a global "
                                                  "key; bind a shortcut to: traymate --toggle"));
    }
};

TRAYMATE_TEST_MAIN(ShortcutChoiceTest)
#include "tst_shortcut_choice.moc"
