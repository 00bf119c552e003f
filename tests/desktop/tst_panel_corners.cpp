#include "desktop_test_main.h"
#include "model/store.h"
#include "panel/floating_panel.h"

#include <QProcess>
#include <QTemporaryDir>
#include <cstdlib>
#include <xcb/xcb.h>

namespace {

constexpr int patience = 10000;

// Whether a compositor holds the screen's selection, asked over a connection of the test's own.
bool compositing()
{
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    const QByteArray name = QByteArrayLiteral("_NET_WM_CM_S0");
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, name.size(), name.constData()), nullptr);
    xcb_get_selection_owner_reply_t* owner =
        atom ? xcb_get_selection_owner_reply(
                   connection, xcb_get_selection_owner(connection, atom->atom), nullptr)
             : nullptr;
    const bool owned = owner && owner->owner != XCB_WINDOW_NONE;
    std::free(owner);
    std::free(atom);
    xcb_disconnect(connection);
    return owned;
}

// Cut to its rounded shape: the corner is outside, the middle inside.
bool shaped(const FloatingPanel& panel)
{
    const QRegion mask = panel.mask();
    return !mask.isEmpty() && !mask.contains(QPoint(0, 0)) && mask.contains(panel.rect().center());
}

} // namespace

// The panel window on a real X server that starts without a compositor.
class TestPanelCorners : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void theCornersFollowTheCompositorAtEachShowing()
    {
        QTemporaryDir folder;
        Store store(folder.path());
        FloatingPanel panel(store);
        const auto showing = [&] {
            panel.show();
            return QTest::qWaitForWindowExposed(&panel, patience);
        };

        QVERIFY(!compositing());
        QVERIFY(showing());
        QVERIFY2(shaped(panel), "without a compositor the corners are cut");
        panel.orderOut();

        QProcess compositor;
        compositor.start(QStringLiteral("xcompmgr"), QStringList());
        QVERIFY(compositor.waitForStarted(patience));
        QVERIFY(DesktopSession::waitFor(compositing, patience));
        QVERIFY(showing());
        QVERIFY2(panel.mask().isEmpty(), "a compositor blends the translucent corners");
        panel.orderOut();

        compositor.kill();
        QVERIFY(compositor.waitForFinished(patience));
        QVERIFY(DesktopSession::waitFor([] { return !compositing(); }, patience));
        QVERIFY(showing());
        QVERIFY(shaped(panel));
    }
};

TRAYMATE_DESKTOP_TEST_MAIN_WITH(TestPanelCorners, (DesktopSession::Pieces{.compositor = false}))
#include "tst_panel_corners.moc"
