// Decode, encode and save of a large group list: 100 groups of 100 items.
#include "model/groups_file.h"
#include "model/store.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

QList<AppGroup> largeList()
{
    QList<AppGroup> groups;
    for (int g = 0; g < 100; ++g) {
        AppGroup group;
        group.name = QStringLiteral("Group %1 caf\u00e9").arg(g);
        for (int i = 0; i < 100; ++i)
            group.apps.append(QStringLiteral("/usr/share/applications/org.example.App%1x%2.desktop")
                                  .arg(g)
                                  .arg(i));
        if (g % 3 == 0)
            group.icon = QStringLiteral("/home/user/.local/share/Traymate/icons/%1-1700000000.png")
                             .arg(group.idText());
        groups.append(group);
    }
    return groups;
}

void encode(benchmark::State& state)
{
    const QList<AppGroup> groups = largeList();
    for (auto _ : state)
        benchmark::DoNotOptimize(GroupsFile::encode(groups));
    state.SetBytesProcessed(state.iterations() * GroupsFile::encode(groups).size());
}

void decode(benchmark::State& state)
{
    const QByteArray bytes = GroupsFile::encode(largeList());
    for (auto _ : state)
        benchmark::DoNotOptimize(GroupsFile::decode(bytes));
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

// One full save as the store does it after every change: encode, write, sync, rename.
void save(benchmark::State& state)
{
    QTemporaryDir dir;
    Store store(dir.path());
    const QList<AppGroup> groups = largeList();
    for (auto _ : state)
        store.setGroups(groups);
}

} // namespace

BENCHMARK(encode)->Unit(benchmark::kMillisecond);
BENCHMARK(decode)->Unit(benchmark::kMillisecond);
BENCHMARK(save)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}
