// The launcher icon as it is composed for a group of four items (and for a custom picture),
// and the launcher refresh that runs on every hiding of the panel when nothing has changed.
#include "dock/launcher_icon.h"
#include "dock/launchers.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QImage>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

QTemporaryDir* scratch = nullptr;

// A desktop entry whose Icon is a 256 by 256 PNG, as the icons of installed programs are.
QString entryWithIcon(int n)
{
    const QString png = scratch->filePath(QStringLiteral("icon%1.png").arg(n));
    QImage image(256, 256, QImage::Format_ARGB32);
    image.fill(QColor::fromHsv(n * 70, 200, 220));
    image.save(png);
    const QString entry = scratch->filePath(QStringLiteral("app%1.desktop").arg(n));
    QFile file(entry);
    file.open(QIODevice::WriteOnly);
    file.write("[Desktop Entry]\nType=Application\nName=App\nExec=true\nIcon=" + png.toUtf8() +
               "\n");
    return entry;
}

void iconOfFourItems(benchmark::State& state)
{
    AppGroup group;
    group.name = QStringLiteral("Work");
    for (int i = 0; i < 4; ++i)
        group.apps.append(entryWithIcon(i));
    for (auto _ : state)
        benchmark::DoNotOptimize(Launchers::icon(group));
}
BENCHMARK(iconOfFourItems)->Unit(benchmark::kMillisecond);

// Items whose icons come from the icon theme through their content type.
void iconOfFourFiles(benchmark::State& state)
{
    AppGroup group;
    group.name = QStringLiteral("Files");
    group.apps = {QStringLiteral("/usr/bin"), QStringLiteral("/etc/hostname"),
                  QStringLiteral("/usr/share/applications"), QStringLiteral("/bin/sh")};
    for (auto _ : state)
        benchmark::DoNotOptimize(Launchers::icon(group));
}
BENCHMARK(iconOfFourFiles)->Unit(benchmark::kMillisecond);

void iconOfACustomPicture(benchmark::State& state)
{
    AppGroup group;
    group.name = QStringLiteral("Picture");
    group.icon = scratch->filePath(QStringLiteral("custom.png"));
    QImage image(1024, 768, QImage::Format_ARGB32);
    image.fill(Qt::darkCyan);
    image.save(*group.icon);
    for (auto _ : state)
        benchmark::DoNotOptimize(Launchers::icon(group));
}
BENCHMARK(iconOfACustomPicture)->Unit(benchmark::kMillisecond);

// 50 groups, some with launchers on disk; the refresh after the first finds nothing changed.
void unchangedRefreshOfFiftyGroups(benchmark::State& state)
{
    QList<AppGroup> groups;
    for (int g = 0; g < 50; ++g) {
        AppGroup group;
        group.name = QStringLiteral("Group %1").arg(g);
        for (int i = 0; i < 8; ++i)
            group.apps.append(QStringLiteral("/usr/share/applications/org.example.App%1x%2.desktop")
                                  .arg(g)
                                  .arg(i));
        if (g % 4 == 0)
            group.icon = QStringLiteral("/home/user/.local/share/Traymate/icons/%1-1700000000.png")
                             .arg(group.idText());
        groups.append(group);
    }
    for (int g = 0; g < 50; g += 10)
        Launchers::make(groups[g]);
    Launchers::refreshExisting(groups);
    for (auto _ : state)
        Launchers::refreshExisting(groups);
}
BENCHMARK(unchangedRefreshOfFiftyGroups)->Unit(benchmark::kMicrosecond);

// Finding a group's launcher by the id in its script, among 50 launchers, against the
// baseline of the one file-system look-up a search by name alone costs.
const QList<AppGroup>& fiftyLaunchers()
{
    static const QList<AppGroup> groups = [] {
        QList<AppGroup> made;
        for (int g = 0; g < 50; ++g) {
            AppGroup group;
            group.name = QStringLiteral("Launcher %1").arg(g);
            Launchers::make(group);
            made.append(group);
        }
        return made;
    }();
    return groups;
}

void baselineLookUpByName(benchmark::State& state)
{
    const QList<AppGroup>& groups = fiftyLaunchers();
    const QString bundle = Launchers::bundleURL(groups[25].name);
    for (auto _ : state)
        benchmark::DoNotOptimize(QFileInfo::exists(bundle));
}
BENCHMARK(baselineLookUpByName)->Unit(benchmark::kMicrosecond);

void lookUpByIdAmongFifty(benchmark::State& state)
{
    const QList<AppGroup>& groups = fiftyLaunchers();
    for (auto _ : state)
        benchmark::DoNotOptimize(Launchers::bundlesOf(groups[25].id));
}
BENCHMARK(lookUpByIdAmongFifty)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    // Launchers are written under HOME and XDG_DATA_HOME: keep them out of the user's own.
    QTemporaryDir home;
    scratch = &home;
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath(QStringLiteral("data"))));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Offscreen there is no desktop to name a theme and its folders, as a desktop session
    // would: take the ones Debian installs.
    QIcon::setThemeSearchPaths(QIcon::themeSearchPaths() << QStringLiteral("/usr/share/icons"));
    QIcon::setThemeName(QStringLiteral("Adwaita"));
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
