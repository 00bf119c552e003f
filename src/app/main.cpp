#include "model/store.h"

#include <QApplication>
#include <QCommandLineParser>

int main(int argc, char* argv[])
{
    QApplication::setDesktopFileName(QStringLiteral("traymate"));
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Traymate"));
    QApplication::setApplicationVersion(QStringLiteral(TRAYMATE_VERSION));
    QApplication::setQuitOnLastWindowClosed(false);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Keeps groups of applications, documents and folders in a tray panel."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.process(app);

    Store& store = Store::shared();
    store.pruneMissing();
    return app.exec();
}
