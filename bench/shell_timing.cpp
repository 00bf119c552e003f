// Start-up and hot-key timing of the real program on a private X desktop (Xvfb, openbox,
// trayer, xcompmgr), and its resident memory. Run by hand: build/bench/shell_timing [runs].
#include "desktop_session.h"
#include "settings/preferences.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

struct Samples {
    const char* name;
    const char* unit;
    std::vector<double> values;

    void print() const
    {
        if (values.empty()) {
            std::printf("%-28s no samples\n", name);
            return;
        }
        std::vector<double> sorted = values;
        std::sort(sorted.begin(), sorted.end());
        const auto at = [&](double q) {
            return sorted[std::size_t(q * double(sorted.size() - 1) + 0.5)];
        };
        std::printf("%-28s n=%zu  median %.2f  min %.2f  p90 %.2f  max %.2f %s\n", name,
                    sorted.size(), at(0.5), sorted.front(), at(0.9), sorted.back(), unit);
    }
};

double statusKilobytes(qint64 pid, const char* field)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qstrlen(field)).trimmed().split(' ').first().toDouble();
    }
    return 0;
}

// The panel window exists, unmapped, from the start: 400 by 440 and not in the tray.
xcb_window_t findPanel(const DesktopSession& desktop)
{
    for (const xcb_window_t window : desktop.windowsTitled("Traymate")) {
        if (desktop.rootGeometry(window).size() == QSize(400, 440))
            return window;
    }
    return XCB_WINDOW_NONE;
}

bool spinUntil(const std::function<bool()>& condition, int timeoutMs)
{
    QElapsedTimer elapsed;
    elapsed.start();
    while (!condition()) {
        if (elapsed.elapsed() > timeoutMs)
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 20;

    DesktopSession desktop;
    QString error;
    if (!desktop.start(&error)) {
        std::fprintf(stderr, "shell_timing: %s\n", qPrintable(error));
        return 1;
    }

    Samples startToTray{"start to tray icon", "ms", {}};
    Samples hotKeyToPanel{"hot key to panel mapped", "ms", {}};
    Samples hotKeyToHidden{"hot key to panel unmapped", "ms", {}};
    Samples residentAfterStart{"resident after start", "MB", {}};
    Samples peakResident{"peak resident (panel shown)", "MB", {}};

    for (int run = 0; run < runs; ++run) {
        // A fresh user each time, past the first launch, so start-up opens no panel.
        QTemporaryDir home;
        QProcessEnvironment environment = desktop.environment();
        for (const char* folder : {"config", "data", "cache", "runtime"})
            QDir().mkpath(home.path() + '/' + folder);
        QFile::setPermissions(home.path() + "/runtime",
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        environment.insert("HOME", home.path());
        environment.insert("XDG_CONFIG_HOME", home.path() + "/config");
        environment.insert("XDG_DATA_HOME", home.path() + "/data");
        environment.insert("XDG_CACHE_HOME", home.path() + "/cache");
        environment.insert("XDG_RUNTIME_DIR", home.path() + "/runtime");
        QSettings preferences(home.path() + "/config/" + Preferences::fileInConfigFolder,
                              QSettings::IniFormat);
        preferences.setValue(Preferences::didFirstImport, true);
        preferences.sync();
        if (preferences.status() != QSettings::NoError)
            return 1;

        QProcess traymate;
        traymate.setProcessEnvironment(environment);
        traymate.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        traymate.setStandardOutputFile(QProcess::nullDevice());
        QElapsedTimer clock;
        clock.start();
        traymate.start(TRAYMATE_PROGRAM, QStringList());
        const bool trayShown = spinUntil(
            [&] {
                const xcb_window_t icon = desktop.trayIconTitled("Traymate");
                return icon && desktop.isViewable(icon);
            },
            10000);
        if (trayShown)
            startToTray.values.push_back(double(clock.nsecsElapsed()) / 1e6);
        else
            std::fprintf(stderr, "run %d: no tray icon\n", run + 1);

        DesktopSession::waitFor([&] { return findPanel(desktop) != XCB_WINDOW_NONE; }, 5000);
        const xcb_window_t panel = findPanel(desktop);
        if (!panel)
            std::fprintf(stderr, "run %d: no panel window\n", run + 1);
        QThread::msleep(300); // let start-up settle before the key
        residentAfterStart.values.push_back(statusKilobytes(traymate.processId(), "VmRSS:") / 1024);

        if (panel) {
            clock.restart();
            desktop.pressKeys("ctrl+alt+space");
            if (spinUntil([&] { return desktop.isViewable(panel); }, 5000))
                hotKeyToPanel.values.push_back(double(clock.nsecsElapsed()) / 1e6);
            else
                std::fprintf(stderr, "run %d: no panel after the hot key\n", run + 1);
            QThread::msleep(200);
            clock.restart();
            desktop.pressKeys("ctrl+alt+space");
            if (spinUntil([&] { return !desktop.isViewable(panel); }, 5000))
                hotKeyToHidden.values.push_back(double(clock.nsecsElapsed()) / 1e6);
        }
        peakResident.values.push_back(statusKilobytes(traymate.processId(), "VmHWM:") / 1024);

        traymate.terminate();
        if (!traymate.waitForFinished(3000))
            traymate.kill();
        traymate.waitForFinished(3000);
    }

    std::printf("Traymate shell timing on Xvfb %dx%d with openbox, trayer, xcompmgr; %d runs\n",
                DesktopSession::width, DesktopSession::height, runs);
    for (const Samples* samples :
         {&startToTray, &hotKeyToPanel, &hotKeyToHidden, &residentAfterStart, &peakResident})
        samples->print();
    return 0;
}
