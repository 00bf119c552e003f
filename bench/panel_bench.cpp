// The panel on every keystroke and every redraw: a search over 5,000 distinct items in 100
// groups, and a full redraw of a 40-item group.
#include "model/store.h"
#include "panel/display_names.h"
#include "panel/panel_model.h"
#include "panel/panel_view.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

const char* const kWords[] = {"Calendar", "Notes",  "Safari", "Terminal", "Files", "Music",
                              "Photos",   "Editor", "Mail",   "Maps",     "Clock", "Weather"};

// Real items on disk, as the user's would be: desktop entries (in `apps`), documents and
// folders.
QString makeItem(const QString& root, const QString& apps, int index)
{
    const QString word = QString::fromLatin1(kWords[index % 12]);
    switch (index % 4) {
    case 0: {
        const QString path =
            QStringLiteral("%1/org.example.%2%3.desktop").arg(apps, word).arg(index);
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(
            QStringLiteral(
                "[Desktop Entry]\nType=Application\nExec=true\nIcon=text-editor\nName=%1 %2\n")
                .arg(word)
                .arg(index)
                .toUtf8());
        return path;
    }
    case 1:
        QDir().mkpath(QStringLiteral("%1/folders/%2 Projects %3").arg(root, word).arg(index));
        return QStringLiteral("%1/folders/%2 Projects %3").arg(root, word).arg(index);
    default: {
        const QString path =
            QStringLiteral("%1/documents/%2 report %3.txt").arg(root, word).arg(index);
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        return path;
    }
    }
}

struct Fixture {
    QTemporaryDir dir;
    std::unique_ptr<Store> store;

    // Desktop entries in a folder of their own, or `installed` in the user's application folder,
    // whose changes the desktop reports.
    explicit Fixture(int groupCount, int itemsPerGroup, bool installed = false)
    {
        const QString apps =
            installed ? qEnvironmentVariable("XDG_DATA_HOME") + QStringLiteral("/applications")
                      : dir.path() + QStringLiteral("/apps");
        QDir().mkpath(apps);
        for (const char* folder : {"folders", "documents"})
            QDir().mkpath(dir.path() + QLatin1Char('/') + QLatin1String(folder));
        store = std::make_unique<Store>(dir.path() + QStringLiteral("/Traymate"));
        QList<AppGroup> groups;
        int index = 0;
        for (int g = 0; g < groupCount; ++g) {
            AppGroup group;
            group.name = QStringLiteral("Group %1").arg(g);
            for (int i = 0; i < itemsPerGroup; ++i)
                group.apps.append(makeItem(dir.path(), apps, index++));
            groups.append(group);
        }
        store->setGroups(groups);
        store->setSelected(groups.first().id);
    }
};

// One keystroke: the query changes, the panel recomputes its results and paints them.
void searchKeystroke(benchmark::State& state)
{
    Fixture fx(100, 50);
    PanelView view(*fx.store);
    view.resize(view.panelSize());
    view.show();
    QApplication::processEvents();
    const QString queries[] = {QStringLiteral("no"), QStringLiteral("not")};
    fx.store->setQuery(queries[0]); // the first search meets every name once
    int n = 0;
    for (auto _ : state) {
        fx.store->setQuery(queries[++n % 2]);
        QApplication::processEvents(); // paints what the key changed, as the event loop would
    }
    state.counters["results"] = double(view.results().size());
}

// The search alone, without the grid: the same 5,000 items; their desktop entries in a folder
// of their own, so each is looked at again at every search, or installed, so each is trusted
// until the desktop reports a change.
void searchResultsOnly(benchmark::State& state)
{
    Fixture fx(100, 50, state.range(0) != 0);
    const QString queries[] = {QStringLiteral("no"), QStringLiteral("not")};
    PanelModel::results(fx.store->groups(), queries[0], DisplayNames::entry);
    int n = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            PanelModel::results(fx.store->groups(), queries[++n % 2], DisplayNames::entry));
    }
}

// A full redraw of the panel showing a 40-item group, after the store announced a change.
void redraw40(benchmark::State& state)
{
    Fixture fx(2, 40);
    PanelView view(*fx.store);
    view.resize(view.panelSize());
    view.show();
    QApplication::processEvents();
    QImage image(view.size() * view.devicePixelRatioF(), QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(view.devicePixelRatioF());
    const QUuid groups[] = {fx.store->groups()[0].id, fx.store->groups()[1].id};
    view.render(&image); // icons are loaded once per path
    fx.store->setSelected(groups[1]);
    view.render(&image);
    int n = 0;
    for (auto _ : state) {
        fx.store->setSelected(groups[++n % 2]);
        image.fill(Qt::transparent);
        view.render(&image);
        benchmark::ClobberMemory();
    }
}

BENCHMARK(searchKeystroke)->Unit(benchmark::kMillisecond);
BENCHMARK(searchResultsOnly)->ArgName("installed")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(redraw40)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    // Own folders, never the user's, and no display needed.
    QTemporaryDir home;
    for (const char* variable : {"HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME"})
        qputenv(variable, QFile::encodeName(home.path()));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.path() + QStringLiteral("/data")));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
