#include "app/traymate_main.h"

#include "app/app_delegate.h"
#include "app/panel_requests.h"
#include "app/single_instance.h"
#include "app/startup_timeline.h"
#include "app/translations.h"
#include "platform/desktop.h"
#include "settings/update_checker.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>
#include <cstdio>
#include <memory>

namespace {

struct Arguments {
    QStringList requests;
    bool quit = false;
    int exitCode = 0;
};

Arguments parseArguments(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QCoreApplication::translate(
        "TraymateMain",
        "Keeps groups of applications, documents and folders in a tray panel.\n\n"
        "With a running Traymate, every request goes to it and this command exits at once.\n"
        "Where the desktop lets no program grab a global key (Wayland sessions), bind a\n"
        "keyboard shortcut of the desktop to \"traymate --toggle\"."));
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")},
                                  QCoreApplication::translate("TraymateMain", "Shows this help."));
    const QCommandLineOption version(
        QStringList{QStringLiteral("v"), QStringLiteral("version")},
        QCoreApplication::translate("TraymateMain", "Shows the version."));
    const QCommandLineOption toggle(
        QStringLiteral("toggle"),
        QCoreApplication::translate("TraymateMain",
                                    "Shows the panel, or hides it when it is open."));
    parser.addOption(help);
    parser.addOption(version);
    parser.addOption(toggle);
    parser.addPositionalArgument(
        QStringLiteral("url"),
        QCoreApplication::translate("TraymateMain",
                                    "traymate://group/<UUID>: opens that group's panel."),
        QStringLiteral("[url...]"));

    Arguments result;
    if (!parser.parse(arguments)) {
        std::fprintf(stderr, "%s\n", qPrintable(parser.errorText()));
        result.quit = true;
        result.exitCode = 2;
        return result;
    }
    if (parser.isSet(help) || parser.isSet(version)) {
        const QString text = parser.isSet(help) ? parser.helpText()
                                                : QStringLiteral("Traymate " TRAYMATE_VERSION "\n");
        std::fputs(qPrintable(text), stdout);
        result.quit = true;
        return result;
    }
    for (const QString& url : parser.positionalArguments())
        result.requests.append(PanelRequests::open(url));
    if (parser.isSet(toggle))
        result.requests.append(PanelRequests::toggle());
    if (result.requests.isEmpty())
        result.requests.append(PanelRequests::show());
    if (!SingleInstance::fitsOneMessage(result.requests)) {
        std::fprintf(
            stderr, "%s\n",
            qPrintable(QCoreApplication::translate(
                           "TraymateMain", "traymate: too many URLs: at most %1, %2 bytes in all.")
                           .arg(SingleInstance::maxRequests)
                           .arg(SingleInstance::maxMessageBytes)));
        result.quit = true;
        result.exitCode = 2;
    }
    return result;
}

} // namespace

int TraymateMain::main(int argc, char* argv[])
{
    StartupTimeline::mark("main");
    Desktop::chooseDisplayServer();

    // The hand-over comes before any GUI object: a later start costs a few milliseconds and
    // never shows a thing.
    std::unique_ptr<SingleInstance> instance;
    Arguments arguments;
    {
        QCoreApplication bare(argc, argv);
        const Translations bareTranslations; // --help and messages in the user's language
        arguments = parseArguments(QCoreApplication::arguments());
        if (arguments.quit)
            return arguments.exitCode;
        // The token goes first, so that in a batch from several starts the last one's wins;
        // it is left out rather than pushing a full hand-over over the limits.
        const QString token = PanelRequests::activation(Desktop::startupToken());
        if (!token.isEmpty() &&
            SingleInstance::fitsOneMessage(arguments.requests + QStringList{token}))
            arguments.requests.prepend(token);
        instance = std::make_unique<SingleInstance>(SingleInstance::privateFolder());
        switch (instance->claim(arguments.requests)) {
        case SingleInstance::Role::Secondary: return 0;
        case SingleInstance::Role::Failed:
            std::fprintf(stderr, "%s\n",
                         qPrintable(QCoreApplication::translate(
                             "TraymateMain", "traymate: the running instance does not answer.")));
            return 1;
        case SingleInstance::Role::NoPrivateFolder:
            std::fprintf(
                stderr, "%s\n",
                qPrintable(QCoreApplication::translate(
                               "TraymateMain",
                               "traymate: cannot start: no private folder for the lock that "
                               "keeps Traymate to one instance.\n"
                               "$XDG_RUNTIME_DIR is unset or not a folder of this user's with "
                               "mode 0700, and %1 is not one either\n"
                               "(it must belong to you, have mode 0700 and not be a link).")
                               .arg(SingleInstance::cacheFolder())));
            return 1;
        case SingleInstance::Role::Primary: break;
        }
    }
    StartupTimeline::mark("single instance claimed");

    QApplication::setDesktopFileName(QStringLiteral("traymate"));
    QApplication app(argc, argv);
    StartupTimeline::mark("QApplication");
    const Translations translations;
    StartupTimeline::mark("translations");
    QApplication::setApplicationName(QStringLiteral("Traymate"));
    QApplication::setApplicationVersion(QStringLiteral(TRAYMATE_VERSION));
    QApplication::setQuitOnLastWindowClosed(false);
    UpdateChecker::shared().setFetchProgram(
        UpdateChecker::fetchProgramFor(QCoreApplication::applicationDirPath()));

    AppDelegate delegate;
    StartupTimeline::mark("delegate");
    // Requests are taken in batches: all that arrived before the event loop comes round give
    // one panel at most, however many there are.
    PanelRequests batch;
    QTimer applyBatch;
    applyBatch.setSingleShot(true);
    applyBatch.setInterval(0);
    QObject::connect(&applyBatch, &QTimer::timeout, &delegate,
                     [&batch, &delegate] { batch.applyTo(delegate); });
    QObject::connect(instance.get(), &SingleInstance::received, &delegate,
                     [&batch, &applyBatch](const QStringList& requests) {
                         batch.add(requests);
                         if (!applyBatch.isActive())
                             applyBatch.start();
                     });
    instance->listen();
    // What this start was asked for counts as arriving before launch finished.
    arguments.requests.removeAll(PanelRequests::show());
    PanelRequests own;
    own.add(arguments.requests);
    own.applyTo(delegate);

    QTimer::singleShot(0, &delegate, [&delegate] {
        // Before the hot key is applied: the desktop portal knows the program by this entry,
        // which also tells the desktop where traymate:// URLs go. Cheap when unchanged.
        StartupTimeline::mark("event loop");
        Desktop::registerUrlScheme(QCoreApplication::applicationFilePath());
        StartupTimeline::mark("url scheme registered");
        delegate.applicationDidFinishLaunching();
    });
    return app.exec();
}
