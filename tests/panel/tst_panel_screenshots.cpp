#include "desktop_session.h"
#include "test_environment.h"

#include <QDir>
#include <QImage>
#include <QProcess>

namespace {

const QString appsId = QStringLiteral("0B0C2C3D-4E5F-4071-8293-A4B5C6D7E801");
const QString workId = QStringLiteral("0B0C2C3D-4E5F-4071-8293-A4B5C6D7E802");
const QString emptyId = QStringLiteral("0B0C2C3D-4E5F-4071-8293-A4B5C6D7E803");
constexpr int patience = 10000;

// Desktop entries and folders that a Debian machine with the test packages has.
QStringList installedEntries()
{
    QStringList found;
    for (const QString& name :
         QDir(QStringLiteral("/usr/share/applications"))
             .entryList({QStringLiteral("*.desktop")}, QDir::Files, QDir::Name))
        found << QStringLiteral("/usr/share/applications/") + name;
    return found;
}

QString jsonList(const QStringList& paths)
{
    QStringList quoted;
    for (const QString& path : paths)
        quoted << QLatin1Char('"') + path + QLatin1Char('"');
    return QLatin1Char('[') + quoted.join(QLatin1Char(',')) + QLatin1Char(']');
}

} // namespace

// The real program's panel on a real X desktop, photographed for people to look at: the full
// panel with icons, another tab selected, a search, the compact panel and an empty group.
class PanelScreenshotTest : public QObject {
    Q_OBJECT

    DesktopSession m_desktop;
    QProcess m_traymate;
    xcb_window_t m_panel = XCB_WINDOW_NONE;
    QString m_folder = QStringLiteral(TRAYMATE_SCREENSHOT_DIR);
    int m_appsCount = 0;
    // Run again at large text or at scale 2 (see CMakeLists.txt): the pictures carry the
    // variant's name, and the window's pixels are the points times the scale.
    QString m_variant = qEnvironmentVariable("TRAYMATE_SCREENSHOT_VARIANT");
    qreal m_scale = scale();

    // Qt scales the whole window by QT_SCALE_FACTOR, and by a forced font DPI unless told not
    // to scale at all; then only the text grows.
    static qreal scale()
    {
        if (qEnvironmentVariable("QT_ENABLE_HIGHDPI_SCALING") == QLatin1String("0"))
            return 1;
        qreal factor = qEnvironmentVariableIsSet("QT_SCALE_FACTOR")
                           ? qEnvironmentVariable("QT_SCALE_FACTOR").toDouble()
                           : 1;
        if (qEnvironmentVariableIsSet("QT_FONT_DPI"))
            factor *= qEnvironmentVariableIntValue("QT_FONT_DPI") / 96.0;
        return factor;
    }
    // The window's size for a size in points; a fractional scale may round either way.
    bool hasPoints(QSize points) const
    {
        const QSize size = m_desktop.rootGeometry(m_panel).size();
        const QSizeF want = QSizeF(points) * m_scale;
        return std::abs(size.width() - want.width()) <= 1 &&
               std::abs(size.height() - want.height()) <= 1;
    }

    bool panelShown() const { return m_desktop.isViewable(m_panel); }
    bool waitShown(bool shown) const
    {
        return DesktopSession::waitFor([&] { return panelShown() == shown; }, patience);
    }
    int runSecond(const QStringList& arguments)
    {
        QProcess second;
        second.setProcessEnvironment(m_desktop.environment());
        second.start(QStringLiteral(TRAYMATE_PROGRAM), arguments);
        return second.waitForFinished(patience) ? second.exitCode() : -1;
    }
    // The panel and a margin of the backdrop around it, as the X server shows them.
    QImage shot() const
    {
        const QRect area = m_desktop.rootGeometry(m_panel).adjusted(-24, -24, 24, 24) &
                           QRect(0, 0, DesktopSession::width, DesktopSession::height);
        xcb_connection_t* c = m_desktop.connection();
        xcb_get_image_reply_t* reply =
            xcb_get_image_reply(c,
                                xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, m_desktop.root(),
                                              area.x(), area.y(), area.width(), area.height(), ~0u),
                                nullptr);
        if (!reply)
            return {};
        const QImage image(xcb_get_image_data(reply), area.width(), area.height(), area.width() * 4,
                           QImage::Format_RGB32);
        QImage copy = image.copy();
        std::free(reply);
        return copy;
    }
    void save(const QString& name)
    {
        QTest::qWait(400); // the tiles' glide and the compositor settle
        const QImage image = shot();
        QVERIFY(!image.isNull());
        QVERIFY(QDir().mkpath(m_folder));
        QVERIFY(image.save(m_folder + QStringLiteral("/panel-") + name +
                           (m_variant.isEmpty() ? QString() : QLatin1Char('-') + m_variant) +
                           QStringLiteral(".png")));
        // Not a blank frame: the panel has drawn something of its own.
        QVERIFY(image.pixel(image.width() / 2, image.height() / 2) != image.pixel(2, 2));
    }
    void openGroup(const QString& id)
    {
        if (panelShown()) {
            QVERIFY(m_desktop.xdotool({"key", "Escape"}));
            QVERIFY(waitShown(false));
        }
        QVERIFY(m_desktop.xdotool({"mousemove", "720", "450"}));
        QCOMPARE(runSecond({QStringLiteral("traymate://group/") + id}), 0);
        QVERIFY(waitShown(true));
    }

private Q_SLOTS:
    void initTestCase()
    {
        QString error;
        QVERIFY2(m_desktop.start(&error), qPrintable(error));
        // A calm backdrop, so the translucent panel shows how it sits on a desktop: the
        // compositor paints the root from the pixmap named in _XROOTPMAP_ID.
        xcb_connection_t* c = m_desktop.connection();
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
        const xcb_pixmap_t backdrop = xcb_generate_id(c);
        xcb_create_pixmap(c, screen->root_depth, backdrop, m_desktop.root(), DesktopSession::width,
                          DesktopSession::height);
        const xcb_gcontext_t gc = xcb_generate_id(c);
        const std::uint32_t colour = 0x4f6d8f;
        xcb_create_gc(c, gc, backdrop, XCB_GC_FOREGROUND, &colour);
        const xcb_rectangle_t all{0, 0, DesktopSession::width, DesktopSession::height};
        xcb_poly_fill_rectangle(c, backdrop, gc, 1, &all);
        const char name[] = "_XROOTPMAP_ID";
        xcb_intern_atom_reply_t* atom =
            xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, sizeof name - 1, name), nullptr);
        QVERIFY(atom);
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, m_desktop.root(), atom->atom, XCB_ATOM_PIXMAP,
                            32, 1, &backdrop);
        std::free(atom);
        xcb_change_window_attributes(c, m_desktop.root(), XCB_CW_BACK_PIXMAP, &backdrop);
        xcb_clear_area(c, 0, m_desktop.root(), 0, 0, 0, 0);
        xcb_flush(c);

        QStringList apps = installedEntries().mid(0, 6);
        m_appsCount = int(apps.size()) + 3;
        apps << QStringLiteral("/usr/share") << QStringLiteral("/etc/os-release")
             << QStringLiteral("/usr/share/doc/a-file-that-is-gone.pdf");
        const QStringList work{QStringLiteral("/usr/bin"), QStringLiteral("/etc/hostname"),
                               QStringLiteral("/usr/share/icons")};
        // A detailed picture for the Work group, to show it sharp at every scale.
        const QString workPicture =
            QStringLiteral("/usr/share/icons/Adwaita/256x256/places/user-trash.png");
        QVERIFY2(QFile::exists(workPicture), "adwaita-icon-theme is missing");
        const QString folder = qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/Traymate");
        QVERIFY(QDir().mkpath(folder));
        QFile groups(folder + QStringLiteral("/groups.json"));
        QVERIFY(groups.open(QIODevice::WriteOnly));
        groups.write(QStringLiteral(R"([{"id":"%1","name":"Apps","apps":%2},)"
                                    R"({"id":"%3","name":"Work","apps":%4,"icon":"%6"},)"
                                    R"({"id":"%5","name":"Empty","apps":[]}])")
                         .arg(appsId, jsonList(apps), workId, jsonList(work), emptyId, workPicture)
                         .toUtf8());
        groups.close();

        m_traymate.setProcessEnvironment(m_desktop.environment());
        m_traymate.setProcessChannelMode(QProcess::ForwardedChannels);
        m_traymate.start(QStringLiteral(TRAYMATE_PROGRAM), QStringList());
        QVERIFY(m_traymate.waitForStarted());
        QVERIFY(DesktopSession::waitFor(
            [&] { return (m_panel = m_desktop.clientTitled(QStringLiteral("Traymate"))) != 0; },
            patience));
    }

    void cleanupTestCase()
    {
        m_traymate.terminate();
        if (!m_traymate.waitForFinished(3000))
            m_traymate.kill();
        m_traymate.waitForFinished(3000);
    }

    void fullPanelWithIcons()
    {
        // Once the tray icon is in place start-up is over, and nothing takes the focus away.
        QVERIFY(m_desktop.xdotool({"mousemove", "100", "100"}));
        DesktopSession::waitFor(
            [&] { return m_desktop.trayIconTitled(QStringLiteral("Traymate")) != 0; }, patience);
        QTest::qWait(500);
        // The first start opens the full panel by itself; otherwise it is asked for.
        if (!panelShown())
            QCOMPARE(runSecond({QStringLiteral("--toggle")}), 0);
        QVERIFY(waitShown(true));
        QVERIFY(
            DesktopSession::waitFor([&] { return m_desktop.activeWindow() == m_panel; }, patience));
        QVERIFY(hasPoints(QSize(400, 440)));
        save(QStringLiteral("full"));
    }

    void fullPanelSearching()
    {
        QVERIFY(panelShown());
        QVERIFY(m_desktop.xdotool({"type", "--delay", "30", "e"}));
        save(QStringLiteral("search"));
        QVERIFY(m_desktop.xdotool({"key", "BackSpace"}));
    }

    void compactPanel()
    {
        openGroup(appsId);
        const int rows = (m_appsCount + 3) / 4;
        QVERIFY(hasPoints(QSize(384, rows * 84 + 70)));
        save(QStringLiteral("compact"));
    }

    void selectedTabAfterAllGroups()
    {
        openGroup(workId);
        const QRect panel = m_desktop.rootGeometry(m_panel);
        QVERIFY(hasPoints(QSize(296, 154)));
        // "All groups" sits left of "Close" at the right end of the header.
        const QPoint allGroups(panel.right() - qRound((16 + 24 + 6 + 12) * m_scale),
                               panel.top() + qRound((16 + 12) * m_scale));
        QVERIFY(m_desktop.xdotool({"mousemove", QString::number(allGroups.x()),
                                   QString::number(allGroups.y()), "click", "1"}));
        QVERIFY(DesktopSession::waitFor([&] { return hasPoints(QSize(400, 440)); }, patience));
        save(QStringLiteral("full-selected-tab"));
    }

    void emptyGroup()
    {
        openGroup(emptyId);
        QVERIFY(hasPoints(QSize(296, 154)));
        save(QStringLiteral("empty-group"));
    }
};

TRAYMATE_TEST_MAIN(PanelScreenshotTest)
#include "tst_panel_screenshots.moc"
