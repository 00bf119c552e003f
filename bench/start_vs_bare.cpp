// Start-up, hot key and memory of the real program side by side with a bare Qt tray program,
// rofi where it is installed, and raw X key grabs, on a private X desktop (Xvfb, openbox, trayer,
// xcompmgr) with a session bus. Run by hand: build/bench/start_vs_bare [runs] [traymate program]
// [second traymate program]. The programs take turns (A B A B), so load from other work on the
// machine falls on both; each ratio compares medians of the same run. With a second program (an
// earlier build, say), both builds take turns too, and their ratios to each other are printed:
// the way to see a change smaller than what varies between runs.
#include "desktop_session.h"
#include "session_bus.h"
#include "settings/preferences.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QUuid>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <poll.h>
#include <string>
#include <vector>

namespace {

constexpr int groupCount = 6;
constexpr int entriesPerGroup = 6;
constexpr int idleMs = 3000;
constexpr int timeoutMs = 10000;

struct Samples {
    std::string name;
    const char* unit;
    std::vector<double> values;

    double median() const
    {
        if (values.empty())
            return 0;
        std::vector<double> sorted = values;
        std::sort(sorted.begin(), sorted.end());
        const std::size_t middle = sorted.size() / 2;
        return sorted.size() % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
    }

    void print() const
    {
        if (values.empty()) {
            std::printf("  %-44s no samples\n", name.c_str());
            return;
        }
        const auto [low, high] = std::minmax_element(values.begin(), values.end());
        std::printf("  %-44s median %7.2f %s  (n=%zu, min %.2f, max %.2f)\n", name.c_str(),
                    median(), unit, values.size(), *low, *high);
    }
};

double residentMegabytes(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
    }
    return 0;
}

QByteArray loadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed() : QByteArray("?");
}

// A connection of its own that hears every window the root's children map: the frames of
// managed windows and override-redirect windows alike. Time is taken when the event is read.
class MapWatcher {
public:
    MapWatcher(const DesktopSession& desktop)
        : m_desktop(desktop)
        , m_connection(xcb_connect(qPrintable(desktop.display()), nullptr))
    {
        const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_connection, desktop.root(), XCB_CW_EVENT_MASK, &mask);
        xcb_aux_sync();
    }
    ~MapWatcher() { xcb_disconnect(m_connection); }

    void drain()
    {
        xcb_aux_sync();
        while (xcb_generic_event_t* event = xcb_poll_for_event(m_connection))
            std::free(event);
    }

    // Milliseconds from `clock`'s start to the mapping of a top level holding a window titled
    // `title` at least 100 pixels wide; none after the timeout.
    std::optional<double> waitForMapped(const QElapsedTimer& clock, const QString& title)
    {
        while (clock.elapsed() < timeoutMs) {
            xcb_generic_event_t* event = xcb_poll_for_event(m_connection);
            if (!event) {
                pollfd descriptor{xcb_get_file_descriptor(m_connection), POLLIN, 0};
                ::poll(&descriptor, 1, 100);
                continue;
            }
            const double at = double(clock.nsecsElapsed()) / 1e6;
            const bool isMap = (event->response_type & 0x7f) == XCB_MAP_NOTIFY;
            const xcb_window_t mapped =
                isMap ? reinterpret_cast<xcb_map_notify_event_t*>(event)->window : 0;
            std::free(event);
            if (isMap && holds(mapped, title))
                return at;
        }
        return std::nullopt;
    }

private:
    void xcb_aux_sync()
    {
        std::free(
            xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr));
    }

    bool holds(xcb_window_t topLevel, const QString& title) const
    {
        for (const xcb_window_t window : m_desktop.windowsTitled(title)) {
            if ((window == topLevel || m_desktop.topLevelOf(window) == topLevel) &&
                m_desktop.rootGeometry(window).width() >= 100)
                return true;
        }
        return false;
    }

    const DesktopSession& m_desktop;
    xcb_connection_t* m_connection;
};

// A user past the first launch, with six groups of desktop entries.
class UserFolders {
public:
    explicit UserFolders(const QProcessEnvironment& base)
        : m_environment(base)
    {
        const QString root = m_home.path();
        for (const char* folder : {"home", "config", "data/Traymate", "cache", "state"})
            QDir().mkpath(root + '/' + folder);
        m_environment.insert("HOME", root + "/home");
        m_environment.insert("XDG_CONFIG_HOME", root + "/config");
        m_environment.insert("XDG_DATA_HOME", root + "/data");
        m_environment.insert("XDG_CACHE_HOME", root + "/cache");
        m_environment.insert("XDG_STATE_HOME", root + "/state");
        m_environment.insert("TRAYMATE_DOCK", "file");
        m_environment.insert("GSETTINGS_BACKEND", "memory");
        m_environment.remove("XDG_CURRENT_DESKTOP");
        m_environment.remove("DESKTOP_SESSION");

        QSettings preferences(root + "/config/" + Preferences::fileInConfigFolder,
                              QSettings::IniFormat);
        preferences.setValue(Preferences::didFirstImport, true);
        preferences.sync();

        const QStringList entries =
            QDir(QStringLiteral("/usr/share/applications"))
                .entryList({QStringLiteral("*.desktop")}, QDir::Files, QDir::Name);
        QJsonArray groups;
        for (int group = 0; group < groupCount; ++group) {
            QJsonArray apps;
            for (int item = 0; item < entriesPerGroup && !entries.isEmpty(); ++item)
                apps.append(QString(QStringLiteral("/usr/share/applications/") +
                                    entries.at((group * entriesPerGroup + item) % entries.size())));
            groups.append(QJsonObject{
                {"id", QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper()},
                {"name", QStringLiteral("Group %1").arg(group + 1)},
                {"apps", apps},
            });
        }
        QFile file(root + "/data/Traymate/groups.json");
        m_ok = preferences.status() == QSettings::NoError && file.open(QIODevice::WriteOnly) &&
               file.write(QJsonDocument(groups).toJson()) > 0;
    }

    bool ok() const { return m_ok; }

    // The user's environment in a new session: its own runtime folder (instance lock and
    // socket), since a killed program leaves its lock behind.
    QProcessEnvironment newSession()
    {
        // On tmpfs, as a session's /run/user folder is: the instance lock syncs its file.
        m_runtime = std::make_unique<QTemporaryDir>(
            QDir(QStringLiteral("/dev/shm")).exists()
                ? QStringLiteral("/dev/shm/traymate-bench-XXXXXX")
                : QDir::tempPath() + QStringLiteral("/traymate-bench-XXXXXX"));
        QFile::setPermissions(m_runtime->path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QProcessEnvironment environment = m_environment;
        environment.insert("XDG_RUNTIME_DIR", m_runtime->path());
        return environment;
    }

private:
    QTemporaryDir m_home;
    std::unique_ptr<QTemporaryDir> m_runtime;
    QProcessEnvironment m_environment;
    bool m_ok = false;
};

void stop(QProcess& process)
{
    process.terminate();
    if (!process.waitForFinished(3000))
        process.kill();
    process.waitForFinished(3000);
}

void start(QProcess& process, const QProcessEnvironment& environment, const QString& program,
           const QStringList& arguments)
{
    process.setProcessEnvironment(environment);
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(program, arguments);
}

// The ratio of the medians, and whether it meets `goal` when there is one.
void ratio(const char* name, const Samples& ours, const Samples& baseline,
           std::optional<double> goal)
{
    if (ours.values.empty() || baseline.values.empty() || baseline.median() == 0) {
        std::printf("  %-44s no samples\n", name);
        return;
    }
    const double value = ours.median() / baseline.median();
    if (goal)
        std::printf("  %-44s %.2f  (goal <= %.2f: %s)\n", name, value, *goal,
                    value <= *goal ? "met" : "NOT met");
    else
        std::printf("  %-44s %.3f\n", name, value);
}

// What is measured of one Traymate build.
struct TraymateSamples {
    explicit TraymateSamples(const std::string& name)
        : exec{name + " --toggle: exec to mapped panel", "ms", {}}
        , key{name + ": hot key to mapped panel", "ms", {}}
        , laterKey{name + ": hot key, a later opening", "ms", {}}
        , idle{name + ": resident 3 s after start", "MB", {}}
        , shown{name + ": resident after the panel showed", "MB", {}}
        , toggleShown{name + " --toggle: resident 3 s after", "MB", {}}
    {
    }

    std::vector<const Samples*> all() const
    {
        return {&exec, &key, &laterKey, &idle, &shown, &toggleShown};
    }

    Samples exec, key, laterKey, idle, shown, toggleShown;
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 10;
    const QString program =
        argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral(TRAYMATE_PROGRAM);
    const QString second = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QString();

    DesktopSession desktop;
    QString error;
    if (!desktop.start(&error)) {
        std::fprintf(stderr, "start_vs_bare: %s\n", qPrintable(error));
        return 1;
    }
    // Every desktop session has a bus; without one, Qt's first event loop would try to start
    // one (dbus-launch) and the programs would time that instead.
    SessionBus bus;
    if (!bus.start(false, desktop.environment(), QString(), &error)) {
        std::fprintf(stderr, "start_vs_bare: %s\n", qPrintable(error));
        return 1;
    }
    MapWatcher watcher(desktop);
    const QByteArray loadBefore = loadAverage();

    Samples bareExec{"bare Qt: exec to mapped window", "ms", {}};
    Samples bareTextExec{"bare Qt + a text label: exec to mapped", "ms", {}};
    Samples rofiExec{"rofi -show run: exec to mapped window", "ms", {}};
    const QString rofi = QStandardPaths::findExecutable(QStringLiteral("rofi"));
    Samples rawKey{"raw xcb grab: key to mapped window", "ms", {}};
    Samples rawPanelKey{"raw xcb grab: key to mapped panel-like window", "ms", {}};
    Samples bareKey{"bare Qt grab + text: key to first mapping", "ms", {}};
    Samples bareLaterKey{"bare Qt grab + text: key, a later mapping", "ms", {}};
    Samples bareIdle{"bare Qt: resident 3 s after start", "MB", {}};
    TraymateSamples ours("Traymate");
    TraymateSamples theirs("Traymate B");

    // A returning user: what only a first start does (writing the URL scheme's desktop entry,
    // say) is done once here, unmeasured.
    QProcessEnvironment session = desktop.environment();
    session.insert("DBUS_SESSION_BUS_ADDRESS", bus.address());
    UserFolders user(session);
    if (!user.ok())
        return 1;
    {
        QProcess traymate;
        start(traymate, user.newSession(), program, {});
        QThread::msleep(idleMs);
        stop(traymate);
    }

    for (int run = 0; run < runs; ++run) {
        QElapsedTimer clock;
        {
            // A: the bare program.
            QProcess bare;
            watcher.drain();
            clock.start();
            start(bare, user.newSession(), QStringLiteral(BARE_QT_PROGRAM), {});
            if (const auto at = watcher.waitForMapped(clock, QStringLiteral("BareQtWindow")))
                bareExec.values.push_back(*at);
            else
                std::fprintf(stderr, "run %d: the bare window never mapped\n", run + 1);
            QThread::msleep(std::max<qint64>(0, idleMs - clock.elapsed()));
            bareIdle.values.push_back(residentMegabytes(bare.processId()));
            stop(bare);
        }
        {
            // A': the bare program with one line of text, to show what fonts cost.
            QProcess bare;
            watcher.drain();
            clock.start();
            start(bare, user.newSession(), QStringLiteral(BARE_QT_PROGRAM),
                  {QStringLiteral("--text")});
            if (const auto at = watcher.waitForMapped(clock, QStringLiteral("BareQtWindow")))
                bareTextExec.values.push_back(*at);
            QThread::msleep(300);
            stop(bare);
        }
        if (!rofi.isEmpty()) {
            // A'': a launcher that draws text too, where it is installed.
            QProcess launcher;
            watcher.drain();
            clock.start();
            start(launcher, user.newSession(), rofi,
                  {QStringLiteral("-show"), QStringLiteral("run")});
            if (const auto at = watcher.waitForMapped(clock, QStringLiteral("rofi - run")))
                rofiExec.values.push_back(*at);
            QThread::msleep(300);
            stop(launcher);
        }
        // B: Traymate started by a launcher click while not running; with a second build, the
        // two take turns at going first.
        const auto toggleStart = [&](const QString& traymateProgram, TraymateSamples& samples) {
            QProcess traymate;
            watcher.drain();
            clock.start();
            start(traymate, user.newSession(), traymateProgram, {QStringLiteral("--toggle")});
            if (const auto at = watcher.waitForMapped(clock, QStringLiteral("Traymate")))
                samples.exec.values.push_back(*at);
            else
                std::fprintf(stderr, "run %d: the panel never mapped\n", run + 1);
            QThread::msleep(std::max<qint64>(0, idleMs - clock.elapsed()));
            samples.toggleShown.values.push_back(residentMegabytes(traymate.processId()));
            stop(traymate);
        };
        const bool secondFirst = !second.isEmpty() && run % 2 == 1;
        const auto eachBuild = [&](const auto& measure) {
            if (secondFirst)
                measure(second, theirs);
            measure(program, ours);
            if (!second.isEmpty() && !secondFirst)
                measure(second, theirs);
        };
        eachBuild(toggleStart);
        // A: the raw grab's key to map, of a plain window and of one like the panel.
        const auto rawGrab = [&](const QStringList& arguments, Samples& samples) {
            QProcess grab;
            grab.setProcessEnvironment(desktop.environment());
            grab.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            grab.start(QStringLiteral(RAW_XCB_GRAB_PROGRAM), arguments);
            if (grab.waitForReadyRead(5000) && grab.readLine().startsWith("ready")) {
                watcher.drain();
                clock.start();
                desktop.pressKeys(QStringLiteral("ctrl+alt+space"));
                if (const auto at = watcher.waitForMapped(clock, QStringLiteral("RawGrabWindow")))
                    samples.values.push_back(*at);
            } else {
                std::fprintf(stderr, "run %d: the raw grab did not start\n", run + 1);
            }
            stop(grab);
        };
        rawGrab({}, rawKey);
        rawGrab({QStringLiteral("--panel-like")}, rawPanelKey);
        {
            // A: the same key through Qt to a window made at start and never shown, then a
            // later opening: what Qt itself costs on this path.
            QProcess bare;
            bare.setProcessEnvironment(user.newSession());
            bare.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            bare.start(QStringLiteral(BARE_QT_PROGRAM),
                       {QStringLiteral("--grab"), QStringLiteral("--text")});
            if (bare.waitForReadyRead(5000) && bare.readLine().startsWith("ready")) {
                QThread::msleep(idleMs);
                for (Samples* samples : {&bareKey, &bareLaterKey}) {
                    watcher.drain();
                    clock.start();
                    desktop.pressKeys(QStringLiteral("ctrl+alt+space"));
                    if (const auto at =
                            watcher.waitForMapped(clock, QStringLiteral("BareQtWindow")))
                        samples->values.push_back(*at);
                    QThread::msleep(500);
                    desktop.pressKeys(QStringLiteral("ctrl+alt+space"));
                    QThread::msleep(500);
                }
            } else {
                std::fprintf(stderr, "run %d: the bare grab did not start\n", run + 1);
            }
            stop(bare);
        }
        // B: Traymate idle, then its hot key.
        eachBuild([&](const QString& traymateProgram, TraymateSamples& samples) {
            QProcess traymate;
            clock.start();
            start(traymate, user.newSession(), traymateProgram, {});
            QThread::msleep(idleMs);
            samples.idle.values.push_back(residentMegabytes(traymate.processId()));
            watcher.drain();
            clock.start();
            desktop.pressKeys(QStringLiteral("ctrl+alt+space"));
            if (const auto at = watcher.waitForMapped(clock, QStringLiteral("Traymate")))
                samples.key.values.push_back(*at);
            else
                std::fprintf(stderr, "run %d: no panel after the hot key\n", run + 1);
            QThread::msleep(500);
            desktop.pressKeys(QStringLiteral("ctrl+alt+space"));
            QThread::msleep(idleMs); // what the opening keeps, once it has settled
            samples.shown.values.push_back(residentMegabytes(traymate.processId()));
            watcher.drain();
            clock.start();
            desktop.pressKeys(QStringLiteral("ctrl+alt+space"));
            if (const auto at = watcher.waitForMapped(clock, QStringLiteral("Traymate")))
                samples.laterKey.values.push_back(*at);
            QThread::msleep(300);
            stop(traymate);
        });
        std::fprintf(stderr, "run %d of %d done\n", run + 1, runs);
    }

    std::printf("Start-up and memory against a bare Qt program; Xvfb %dx%d, openbox, trayer, "
                "xcompmgr, a session bus; %d interleaved runs, %d groups of %d desktop entries\n",
                DesktopSession::width, DesktopSession::height, runs, groupCount, entriesPerGroup);
    std::printf("Traymate: %s\n", qPrintable(program));
    if (!second.isEmpty())
        std::printf("Traymate B: %s\n", qPrintable(second));
    std::printf("load average before: %s; after: %s\n", loadBefore.constData(),
                loadAverage().constData());
    std::vector<const Samples*> rows = {&bareExec,    &bareTextExec, &rofiExec,     &rawKey,
                                        &rawPanelKey, &bareKey,      &bareLaterKey, &bareIdle};
    for (const TraymateSamples* build : {&ours, &theirs})
        for (const Samples* samples : build->all())
            if (build == &ours || !second.isEmpty())
                rows.push_back(samples);
    for (const Samples* samples : rows)
        samples->print();
    std::printf("ratios of medians:\n");
    ratio("exec to mapped: Traymate / bare Qt", ours.exec, bareExec, 1.1);
    ratio("exec to mapped: Traymate / bare Qt + text", ours.exec, bareTextExec, 1.1);
    ratio("exec to mapped: Traymate / rofi", ours.exec, rofiExec, 1.0);
    ratio("hot key to mapped: Traymate / raw grab", ours.key, rawKey, 1.1);
    ratio("later hot key: Traymate / raw grab", ours.laterKey, rawKey, 1.1);
    ratio("hot key to mapped: Traymate / panel-like grab", ours.key, rawPanelKey, 1.1);
    ratio("later hot key: Traymate / panel-like grab", ours.laterKey, rawPanelKey, 1.1);
    ratio("hot key to mapped: Traymate / bare Qt grab", ours.key, bareKey, 1.1);
    ratio("later hot key: Traymate / bare Qt grab", ours.laterKey, bareLaterKey, 1.1);
    ratio("idle resident: Traymate / bare Qt", ours.idle, bareIdle, 1.25);
    ratio("after panel resident: Traymate / bare Qt", ours.shown, bareIdle, 1.5);
    ratio("--toggle resident: Traymate / bare Qt", ours.toggleShown, bareIdle, 1.5);
    // What Qt alone costs over the baselines above: a program that shows any text, or maps
    // a window through Qt, starts from these ratios before any code of ours runs.
    std::printf("the baselines against each other:\n");
    ratio("exec to mapped: bare Qt + text / bare Qt", bareTextExec, bareExec, std::nullopt);
    ratio("hot key to mapped: bare Qt grab / raw grab", bareKey, rawKey, std::nullopt);
    ratio("later hot key: bare Qt grab / raw grab", bareLaterKey, rawKey, std::nullopt);
    if (!second.isEmpty()) {
        std::printf("Traymate / Traymate B, row by row:\n");
        const std::vector<const Samples*> mine = ours.all();
        const std::vector<const Samples*> other = theirs.all();
        for (std::size_t row = 0; row < mine.size(); ++row)
            ratio(mine[row]->name.c_str() + std::strlen("Traymate"), *mine[row], *other[row],
                  std::nullopt);
    }
    return 0;
}
