// The baseline for start_vs_bare: the least a Qt Widgets tray program does before its window is
// on screen. A tray icon and one frameless window, shown at start. With --text the window
// also shows one line of text, which is what it costs to load the fonts.
#include <QApplication>
#include <QLabel>
#include <QPixmap>
#include <QSystemTrayIcon>
#include <QWidget>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("BareQt"));
    QApplication::setQuitOnLastWindowClosed(false);

    QPixmap pixmap(22, 22);
    pixmap.fill(Qt::darkCyan);
    QSystemTrayIcon tray{QIcon(pixmap)};
    tray.show();

    QWidget window(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    window.setWindowTitle(QStringLiteral("BareQtWindow"));
    window.resize(400, 440);
    if (QCoreApplication::arguments().contains(QStringLiteral("--text")))
        (new QLabel(QStringLiteral("Group 1"), &window))->move(20, 20);
    window.show();
    return app.exec();
}
