// The baseline for start_vs_bare: the least a Qt Widgets tray program does before its window is
// on screen. A tray icon and one frameless window, shown at start. With --text the window
// also shows one line of text, which is what it costs to load the fonts. With --grab the window
// starts hidden, and a raw X key grab of ctrl+alt+space shows and hides it, the way Traymate's
// hot key does: what Qt itself costs between the key and the map. Prints "ready" once the grab
// holds.
#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QSystemTrayIcon>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

namespace {

class KeyGrab : public QAbstractNativeEventFilter {
public:
    explicit KeyGrab(QWidget& window)
        : m_window(window)
    {
    }

    bool grab()
    {
        auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
        xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
        if (!connection)
            return false;
        xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
        xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(connection);
        xcb_keycode_t* codes = xcb_key_symbols_get_keycode(symbols, 0x20 /* XK_space */);
        xcb_key_symbols_free(symbols);
        if (!codes || codes[0] == XCB_NO_SYMBOL)
            return false;
        m_key = codes[0];
        std::free(codes);
        xcb_generic_error_t* error = xcb_request_check(
            connection,
            xcb_grab_key_checked(connection, 1, screen->root, XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1,
                                 m_key, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
        std::free(error);
        return !error;
    }

    bool nativeEventFilter(const QByteArray&, void* message, qintptr*) override
    {
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        if ((event->response_type & 0x7f) != XCB_KEY_PRESS ||
            static_cast<const xcb_key_press_event_t*>(message)->detail != m_key)
            return false;
        // Like the program: the window is shown once the filter has returned.
        QMetaObject::invokeMethod(
            &m_window, [this] { m_window.setVisible(!m_window.isVisible()); },
            Qt::QueuedConnection);
        return true;
    }

private:
    QWidget& m_window;
    xcb_keycode_t m_key = 0;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("BareQt"));
    QApplication::setQuitOnLastWindowClosed(false);
    const QStringList arguments = QCoreApplication::arguments();

    QPixmap pixmap(22, 22);
    pixmap.fill(Qt::darkCyan);
    QSystemTrayIcon tray{QIcon(pixmap)};
    tray.show();

    QWidget window(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    window.setWindowTitle(QStringLiteral("BareQtWindow"));
    window.resize(400, 440);
    if (arguments.contains(QStringLiteral("--text")))
        (new QLabel(QStringLiteral("Group 1"), &window))->move(20, 20);

    KeyGrab grab(window);
    if (arguments.contains(QStringLiteral("--grab"))) {
        window.winId(); // made, as the program makes its panel at start, but not shown
        if (!grab.grab())
            return 1;
        app.installNativeEventFilter(&grab);
        std::printf("ready\n");
        std::fflush(stdout);
    } else {
        window.show();
    }
    return app.exec();
}
