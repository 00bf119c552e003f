#include "soak_driver.h"

#include "model/groups_file.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QThread>
#include <csignal>

namespace {

const char* const kCategories[] = {"Development", "Office", "Game",    "Network",
                                   "Graphics",    "Audio",  "Utility", "Education"};

void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

// Desktop entries of several categories, all in a stand-in Dock; returns their paths.
QStringList makeDock(const QString& root, const QString& dockFile)
{
    QStringList apps;
    QByteArray tiles;
    for (int i = 0; i < 24; ++i) {
        const QString path = root + QStringLiteral("/applications/app%1.desktop").arg(i);
        writeFile(path, QByteArray("[Desktop Entry]\nType=Application\nName=App ") +
                            QByteArray::number(i) + "\nExec=true\nCategories=" +
                            kCategories[i % std::size(kCategories)] + ";\n");
        apps.append(path);
        tiles += "<dict><key>tile-data</key><dict><key>file-data</key><dict>"
                 "<key>_CFURLString</key><string>" +
                 path.toHtmlEscaped().toUtf8() +
                 "</string><key>_CFURLStringType</key><integer>15</integer></dict></dict>"
                 "<key>tile-type</key><string>file-tile</string></dict>";
    }
    writeFile(dockFile, "<?xml version=\"1.0\" encoding=\"UTF-8\"?><plist version=\"1.0\">"
                        "<dict><key>persistent-apps</key><array>" +
                            tiles + "</array></dict></plist>");
    return apps;
}

QProcessEnvironment environmentUnder(const QString& home)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home);
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/config"));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/data"));
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), home + QStringLiteral("/cache"));
    environment.insert(QStringLiteral("GSETTINGS_BACKEND"), QStringLiteral("memory"));
    return environment;
}

bool firstImportDone(const QString& home)
{
    QFile file(home + QStringLiteral("/config/Traymate/Traymate.ini"));
    return file.open(QIODevice::ReadOnly) && file.readAll().contains("didFirstImport=true");
}

// One start of the worker over `home`, killed at a random moment (or left to end, to check).
void runWorker(const QString& worker, const QString& home, const QStringList& extra,
               int killAfterMs)
{
    QProcess process;
    process.setProcessEnvironment(environmentUnder(home));
    process.start(worker, QStringList{home + QStringLiteral("/data/Traymate"),
                                      home + QStringLiteral("/dock.plist")} +
                              extra);
    if (!process.waitForStarted())
        return;
    if (killAfterMs >= 0) {
        QThread::msleep(ulong(killAfterMs));
        ::kill(process.processId(), SIGKILL);
    }
    process.waitForFinished(30000);
}

// The files beside the groups file: temporaries of killed saves, copies set aside.
int filesBesideTheGroupsFile(const QString& home)
{
    QStringList names = QDir(home + QStringLiteral("/data/Traymate"))
                            .entryList(QDir::Files | QDir::Hidden | QDir::System);
    names.removeAll(QStringLiteral("groups.json"));
    return int(names.size());
}

} // namespace

namespace Soak {

Figures run(const QString& worker, const QString& root, int kills, int killsPerStart, quint32 seed)
{
    Figures figures;
    QRandomGenerator random(seed);
    QString home;
    QStringList dockApps;
    QSet<QUuid> known;
    for (int kill = 0; kill < kills; ++kill) {
        if (kill % killsPerStart == 0) {
            if (!home.isEmpty()) {
                runWorker(worker, home, {QStringLiteral("0"), QStringLiteral("--check")}, -1);
                figures.leftovers += filesBesideTheGroupsFile(home);
            }
            home = root + QStringLiteral("/start%1").arg(figures.firstStarts++);
            dockApps = makeDock(home, home + QStringLiteral("/dock.plist"));
            known.clear();
        }
        // Early kills fall into the start and its first import; later ones into the edits.
        const int delay = random.bounded(2) ? random.bounded(5, 120) : random.bounded(120, 400);
        runWorker(worker, home, {QString::number(random.generate())}, delay);
        ++figures.kills;

        QFile file(home + QStringLiteral("/data/Traymate/groups.json"));
        if (!file.open(QIODevice::ReadOnly)) {
            if (firstImportDone(home))
                figures.lostItems += int(dockApps.size());
            continue;
        }
        const std::optional<QList<AppGroup>> groups = GroupsFile::decode(file.readAll());
        if (!groups) {
            ++figures.undecodable;
            continue;
        }
        QSet<QString> items;
        QSet<QUuid> ids;
        for (const AppGroup& group : *groups) {
            ids.insert(group.id);
            for (const QString& app : group.apps)
                items.insert(app);
        }
        // Before the mark the file holds the seed or the whole import, never a part of it.
        const bool imported = firstImportDone(home) || items.size() > 0;
        if (imported) {
            for (const QString& app : dockApps)
                figures.lostItems += items.contains(app) ? 0 : 1;
        }
        if (firstImportDone(home)) {
            for (const QUuid& id : known)
                figures.lostGroups += ids.contains(id) ? 0 : 1;
            known = ids;
        }
    }
    if (!home.isEmpty()) {
        runWorker(worker, home, {QStringLiteral("0"), QStringLiteral("--check")}, -1);
        figures.leftovers += filesBesideTheGroupsFile(home);
    }
    return figures;
}

} // namespace Soak
