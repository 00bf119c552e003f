// Where Xfce's and MATE's panels get a new launcher, and in what order their launchers are
// read, from settings laid out as the panels store them.
#include "platform/linux/mate_panel_entries.h"
#include "platform/linux/xfce_panel_entries.h"
#include "test_environment.h"

#include <QTest>

namespace {

using Xfce = XfcePanelEntries;
using Mate = MatePanelEntries;

QVariantList ints(std::initializer_list<int> values)
{
    QVariantList list;
    for (int value : values)
        list.append(value);
    return list;
}

// Two panels as Xfce 4.18 lays them out by default, the launchers of the bottom one with
// their items.
QVariantMap xfceDefaults()
{
    return {
        {"/panels", ints({1, 2})},
        {"/panels/panel-1/plugin-ids", ints({1, 2, 3, 4, 5, 6})},
        {"/panels/panel-2/plugin-ids", ints({15, 16, 17, 18, 21, 22})},
        {"/plugins/plugin-1", "applicationsmenu"},
        {"/plugins/plugin-2", "tasklist"},
        {"/plugins/plugin-2/grouping", 1},
        {"/plugins/plugin-3", "separator"},
        {"/plugins/plugin-4", "pager"},
        {"/plugins/plugin-5", "separator"},
        {"/plugins/plugin-6", "systray"},
        {"/plugins/plugin-15", "showdesktop"},
        {"/plugins/plugin-16", "separator"},
        {"/plugins/plugin-17", "launcher"},
        {"/plugins/plugin-17/items", QVariantList{"xfce4-terminal-emulator.desktop"}},
        {"/plugins/plugin-18", "launcher"},
        {"/plugins/plugin-18/items", QVariantList{"16700000001.desktop", "16700000002.desktop"}},
        {"/plugins/plugin-21", "separator"},
        {"/plugins/plugin-22", "directorymenu"},
        {"/plugins/plugin-22/base-directory", "/home/me"},
    };
}

Mate::Object object(const char* id, const char* type, const char* toplevel, int position,
                    bool fromEnd = false, const char* iid = "")
{
    Mate::Object o;
    o.id = id;
    o.type = type;
    o.toplevel = toplevel;
    o.position = position;
    o.fromEnd = fromEnd;
    o.appletIid = iid;
    return o;
}

// MATE's default layout with a launcher of the user's on each panel.
QList<Mate::Object> mateDefaults()
{
    return {
        object("clock", "applet", "top", 0, true, "ClockAppletFactory::ClockApplet"),
        object("menu-bar", "menu-bar", "top", 0),
        object("notification-area", "applet", "top", 10, true,
               "NotificationAreaAppletFactory::NotificationArea"),
        object("show-desktop", "applet", "bottom", 0, false, "WnckletFactory::ShowDesktopApplet"),
        object("window-list", "applet", "bottom", 20, false, "WnckletFactory::WindowListApplet"),
        object("workspace-switcher", "applet", "bottom", 0, true,
               "WnckletFactory::WorkspaceSwitcherApplet"),
        object("object-0", "launcher", "top", 120),
        object("object-1", "launcher", "top", 60),
        object("object-2", "launcher", "top", 5, true),
    };
}

QStringList ids(const QList<Mate::Object>& objects)
{
    QStringList list;
    for (const Mate::Object& o : objects)
        list.append(o.id);
    return list;
}

} // namespace

class PanelLayoutsTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void xfcePanelsAndPluginsInTheirOrder()
    {
        const QList<Xfce::Panel> panels = Xfce::panelsOf(xfceDefaults());
        QCOMPARE(panels.size(), 2);
        QCOMPARE(panels[1].id, 2);
        QCOMPARE(panels[1].plugins.size(), 6);
        QCOMPARE(panels[1].plugins[3].id, 18);
        QCOMPARE(panels[1].plugins[3].type, QStringLiteral("launcher"));
        QCOMPARE(panels[1].plugins[3].items,
                 QStringList({"16700000001.desktop", "16700000002.desktop"}));
        // A plugin listed without settings has no type.
        QVariantMap broken = xfceDefaults();
        broken.remove("/plugins/plugin-4");
        QCOMPARE(Xfce::panelsOf(broken)[0].plugins[3].type, QString());
        QVERIFY(Xfce::panelsOf({}).isEmpty());
    }

    void xfceLaunchersGoNextToTheTaskList()
    {
        QList<Xfce::Panel> panels = Xfce::panelsOf(xfceDefaults());
        // The task list is on the first panel, which has no launcher yet.
        QCOMPARE(Xfce::panelForLaunchers(panels), &panels[0]);
        QCOMPARE(Xfce::insertionIndex(panels[0]), 2);
        // With a launcher after the task list, after that one.
        panels[0].plugins.insert(4, {30, "launcher", {"a.desktop"}});
        QCOMPARE(Xfce::insertionIndex(panels[0]), 5);
        // Without a task list anywhere: the first panel, at its end.
        panels[0].plugins.removeAt(1);
        panels[0].plugins.removeAt(3);
        QCOMPARE(Xfce::panelForLaunchers(panels), &panels[0]);
        QCOMPARE(Xfce::insertionIndex(panels[0]), int(panels[0].plugins.size()));
        // The task list on the second panel only: that one, after its last launcher.
        panels[1].plugins.append({31, "tasklist", {}});
        QCOMPARE(Xfce::panelForLaunchers(panels), &panels[1]);
        QCOMPARE(Xfce::insertionIndex(panels[1]), 4);
        QCOMPARE(Xfce::panelForLaunchers({}), nullptr);
    }

    void xfceNewPluginIdsAreFree()
    {
        QVariantMap settings = xfceDefaults();
        QCOMPARE(Xfce::unusedPluginId(settings), 23);
        // An id a panel lists without settings of its own is taken too.
        settings["/panels/panel-2/plugin-ids"] = ints({15, 40});
        QCOMPARE(Xfce::unusedPluginId(settings), 41);
        QCOMPARE(Xfce::unusedPluginId({}), 1);
    }

    void mateObjectsInTheOrderTheyShow()
    {
        const QStringList order =
            ids(Mate::inShownOrder(mateDefaults(), {"top", "bottom", "unlisted"}));
        QCOMPARE(order,
                 QStringList({"menu-bar", "object-1", "object-0", "notification-area", "object-2",
                              "clock", "show-desktop", "window-list", "workspace-switcher"}));
        // Objects on a panel that is not listed come last.
        QList<Mate::Object> stray = mateDefaults();
        stray.prepend(object("stray", "launcher", "gone", 0));
        QCOMPARE(ids(Mate::inShownOrder(stray, {"top", "bottom"})).last(), QStringLiteral("stray"));
    }

    void mateLaunchersGoNextToTheWindowList()
    {
        QList<Mate::Object> objects = mateDefaults();
        QCOMPARE(Mate::toplevelForLaunchers(objects, {"top", "bottom"}), QStringLiteral("bottom"));
        QCOMPARE(Mate::positionForLauncher(objects, "bottom"), 21);
        // After the last launcher counted from the start; one at the far end does not count.
        QCOMPARE(Mate::positionForLauncher(objects, "top"), 121);
        objects.removeIf([](const Mate::Object& o) { return o.id == "window-list"; });
        QCOMPARE(Mate::toplevelForLaunchers(objects, {"top", "bottom"}), QStringLiteral("top"));
        QCOMPARE(Mate::positionForLauncher(objects, "bottom"), 0);
        QCOMPARE(Mate::toplevelForLaunchers(objects, {}), QString());
    }

    void mateNewObjectIdsAreFree()
    {
        QCOMPARE(Mate::unusedId({"object-0", "object-1", "object-3"}), QStringLiteral("object-2"));
        QCOMPARE(Mate::unusedId({}), QStringLiteral("object-0"));
    }
};

TRAYMATE_TEST_MAIN(PanelLayoutsTest)
#include "tst_panel_layouts.moc"
