// Kills a program doing every kind of move, rename and import at random moments, hundreds of
// times, and prints what was lost and left behind: build/bench/soak_bench [kills] [seed].
#include "soak_driver.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    const int kills = arguments.size() > 1 ? arguments[1].toInt() : 500;
    const quint32 seed =
        arguments.size() > 2 ? arguments[2].toUInt() : QRandomGenerator::global()->generate();
    QTemporaryDir dir;
    const Soak::Figures f =
        Soak::run(QStringLiteral(SOAK_WORKER_PATH), dir.path(), kills, 25, seed);
    std::printf("seed %u\nkills %d (first starts %d)\nundecodable %d\nlost groups %d\n"
                "lost items %d\nleftover files %d\n",
                seed, f.kills, f.firstStarts, f.undecodable, f.lostGroups, f.lostItems,
                f.leftovers);
    return f.undecodable + f.lostGroups + f.lostItems + f.leftovers == 0 ? 0 : 1;
}
