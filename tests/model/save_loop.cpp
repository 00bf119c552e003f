// Saves a large, changing group list as fast as it can until killed; the crash test kills it
// at random moments and then reads what is on disk.
#include "model/store.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    Store store(QString::fromLocal8Bit(argv[1]));
    QList<AppGroup> groups;
    for (int g = 0; g < 100; ++g) {
        AppGroup group;
        group.name = QStringLiteral("Group %1").arg(g);
        for (int i = 0; i < 100; ++i)
            group.apps.append(
                QStringLiteral("/usr/share/applications/item-%1-%2.desktop").arg(g).arg(i));
        groups.append(group);
    }
    // Ready once the large list is on disk, so any kill from now on interrupts a replacement.
    store.setGroups(groups);
    fputs("ready\n", stdout);
    fflush(stdout);
    for (quint64 round = 0;; ++round) {
        groups[round % 100].name = QString::number(round);
        store.setGroups(groups);
    }
}
