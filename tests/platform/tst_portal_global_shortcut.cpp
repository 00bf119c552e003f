#include "fake_portal.h"
#include "platform/desktop.h"
#include "platform/linux/portal_global_shortcut.h"
#include "private_bus.h"
#include "settings/hot_key.h"
#include "settings/settings_view.h"
#include "test_environment.h"

#include <QLabel>
#include <QProcessEnvironment>
#include <QSignalSpy>
#include <QStandardPaths>
#include <cstdio>
#include <memory>
#include <signal.h>

// The portal hot key against a fake portal on a private session bus.
class PortalGlobalShortcutTest : public QObject {
    Q_OBJECT

    std::unique_ptr<FakePortal> m_portal;

    // A fresh client, as at a new start of the program; `presses` counts its key presses.
    std::unique_ptr<PortalGlobalShortcut> client(int* presses)
    {
        auto shortcut = std::make_unique<PortalGlobalShortcut>();
        shortcut->pressed = [presses] { ++*presses; };
        return shortcut;
    }

    static bool grabPreset(PortalGlobalShortcut& shortcut, int index)
    {
        const HotKeyPreset& preset = HotKey::presetAt(index);
        return shortcut.grab(preset.key, preset.mods);
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_portal = std::make_unique<FakePortal>();
        QVERIFY(m_portal->start());
        QVERIFY(PortalGlobalShortcut::isOffered());
    }

    // A client gone at the end of a test closes its session on the way out: let that arrive
    // before the next test looks at the calls.
    void cleanup() { QTest::qWait(200); }

    // One run of the program after another: the first binds, the second finds the key listed.
    void firstStartBindsLaterStartsOnlyList()
    {
        m_portal->reset({});
        m_portal->forgetBound();
        int presses = 0;
        {
            auto shortcut = client(&presses);
            QVERIFY(grabPreset(*shortcut, 0));
            QTRY_VERIFY(shortcut->isBound());
            QCOMPARE(m_portal->calls(),
                     (QStringList{"Register traymate", "CreateSession", "ListShortcuts",
                                  "BindShortcuts CTRL+ALT+space"}));
            // KDE Plasma 5.27 takes the list from CreateSession's options only.
            QCOMPARE(m_portal->sessionOptionTrigger(), QStringLiteral("CTRL+ALT+space"));

            m_portal->activate(m_portal->currentSession(), QStringLiteral("toggle-panel"));
            QTRY_COMPARE(presses, 1);
            m_portal->activate(m_portal->currentSession(), QStringLiteral("other"));
            m_portal->activate(QStringLiteral("/org/freedesktop/portal/desktop/session/x/y"),
                               QStringLiteral("toggle-panel"));
            QTest::qWait(100);
            QCOMPARE(presses, 1);
        }
        QTRY_COMPARE(m_portal->calls().constLast(), QStringLiteral("Close"));

        m_portal->reset({});
        auto again = client(&presses);
        QVERIFY(grabPreset(*again, 0));
        QTRY_VERIFY(again->isBound());
        QTest::qWait(100);
        QCOMPARE(m_portal->calls(),
                 (QStringList{"Register traymate", "CreateSession", "ListShortcuts"}));
        m_portal->activate(m_portal->currentSession(), QStringLiteral("toggle-panel"));
        QTRY_COMPARE(presses, 2);
    }

    void changingThePresetBindsItInANewSession()
    {
        m_portal->reset({});
        int presses = 0;
        auto shortcut = client(&presses);
        QVERIFY(grabPreset(*shortcut, 0));
        QTRY_VERIFY(shortcut->isBound());

        // The same preset again changes nothing.
        QVERIFY(grabPreset(*shortcut, 0));
        QVERIFY(grabPreset(*shortcut, 4));
        QVERIFY(!shortcut->isBound());
        QTRY_VERIFY(shortcut->isBound());
        QTest::qWait(100);
        const QStringList calls = m_portal->calls();
        // Registered once per run; the id is listed already, yet the new trigger is bound.
        QCOMPARE(calls.count(QStringLiteral("Register traymate")), 1);
        QCOMPARE(
            calls.mid(calls.indexOf(QStringLiteral("Close"))),
            (QStringList{"Close", "CreateSession", "ListShortcuts", "BindShortcuts LOGO+ALT+d"}));
        QCOMPARE(m_portal->sessionOptionTrigger(), QStringLiteral("LOGO+ALT+d"));

        m_portal->activate(m_portal->currentSession(), QStringLiteral("toggle-panel"));
        QTRY_COMPARE(presses, 1);
        QTest::qWait(100);
        QCOMPARE(presses, 1);
    }

    void everyActivationTogglesWhateverTheTimesAndReleases()
    {
        m_portal->reset({});
        int presses = 0;
        auto shortcut = client(&presses);
        QVERIFY(grabPreset(*shortcut, 0));
        QTRY_VERIFY(shortcut->isBound());
        const QString session = m_portal->currentSession();
        const QString id = QStringLiteral("toggle-panel");

        // As KDE's portal 5.27 reports three separate presses: the release carries the time of
        // its press, one release never comes, and the times are the desktop's last input time,
        // not the key's. Telling repeats by them lost the third press.
        m_portal->activate(session, id, 3877825);
        m_portal->deactivate(session, id, 3877825);
        m_portal->activate(session, id, 3877835);
        m_portal->activate(session, id, 3877837);
        m_portal->deactivate(session, id, 3877837);
        QTRY_COMPARE(presses, 3);
        QTest::qWait(100);
        QCOMPARE(presses, 3);
    }

    void refusedBindLeavesNoKeyAndNoMessage()
    {
        m_portal->reset({.hasRegistry = true, .bindCode = 1});
        m_portal->forgetBound();
        // Its own connection, so the registry sees a new client.
        QDBusConnection other =
            QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("refusing"));
        int presses = 0;
        {
            QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
            PortalGlobalShortcut shortcut(other);
            shortcut.pressed = [&presses] { ++presses; };
            QVERIFY(grabPreset(shortcut, 1));
            QTRY_VERIFY2(m_portal->calls().contains(QStringLiteral("Close")),
                         qPrintable(m_portal->calls().join(" / ")));
            QVERIFY(!shortcut.isBound());
            QCOMPARE(m_portal->calls(),
                     (QStringList{"Register traymate", "CreateSession", "ListShortcuts",
                                  "BindShortcuts CTRL+space", "Close"}));
            m_portal->activate(m_portal->currentSession(), QStringLiteral("toggle-panel"));
            QTest::qWait(100);
            QCOMPARE(presses, 0);
        }
        QDBusConnection::disconnectFromBus(QStringLiteral("refusing"));
    }

    void portalWithoutTheRegistryStillBinds()
    {
        m_portal->reset({.hasRegistry = false});
        m_portal->forgetBound();
        // Its own connection, so the registry sees a new client.
        QDBusConnection old =
            QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("old"));
        {
            PortalGlobalShortcut shortcut(old);
            QVERIFY(grabPreset(shortcut, 3));
            QTRY_VERIFY(shortcut.isBound());
            QCOMPARE(m_portal->calls(),
                     (QStringList{"CreateSession", "ListShortcuts", "BindShortcuts CTRL+ALT+d"}));
        }
        QDBusConnection::disconnectFromBus(QStringLiteral("old"));
    }

    // The whole path the program takes: the choice, HotKey::apply(), the press.
    void hotKeyPressReportsThePress()
    {
        m_portal->reset({});
        qputenv("TRAYMATE_HOTKEY", "portal");
        QVERIFY(Desktop::canRegisterGlobalShortcut());
        SettingsView view;
        QVERIFY(!view.findChild<QLabel*>(QStringLiteral("hotkeyFallback")));
        HotKey hotKey;
        QSignalSpy pressed(&hotKey, &HotKey::pressed);
        hotKey.apply(2);
        QVERIFY(hotKey.isActive());
        QTRY_VERIFY(m_portal->calls().contains(QStringLiteral("ListShortcuts")));
        QTest::qWait(100);
        m_portal->activate(m_portal->currentSession(), QStringLiteral("toggle-panel"));
        QTRY_COMPARE(pressed.count(), 1);
    }
};

// Runs itself again inside a session bus of its own, where the fake portal takes the real
// portal's name without touching the user's session.
TRAYMATE_PRIVATE_BUS_TEST_MAIN(PortalGlobalShortcutTest, QApplication)

#include "tst_portal_global_shortcut.moc"
