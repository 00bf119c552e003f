#include "dock/launchers.h"

#include "dock/dock.h"
#include "dock/dock_import.h"
#include "dock/launcher_files.h"
#include "dock/launcher_icon.h"
#include "model/canonical_text.h"
#include "model/safe_file.h"
#include "model/store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <sys/stat.h>

namespace Launchers {

namespace {

// Deletes the bundle; a link in its place goes, never what it points to.
void deleteBundle(const QString& bundle)
{
    const QFileInfo info(bundle);
    if (info.isSymLink() || !info.isDir())
        QFile::remove(bundle);
    else
        QDir(bundle).removeRecursively();
}

struct Launcher {
    QString bundle;
    QUuid id;
};

// Every bundle in the launcher folder with the group its script opens. The name alone says
// nothing: groups may share a name, and a bundle may be left from before a rename.
QList<Launcher> launchersOnDisk()
{
    QList<Launcher> found;
    const QDir folder(root());
    const QStringList names = folder.entryList(
        {QStringLiteral("*.app")},
        QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
    for (const QString& name : names) {
        const QString bundle = folder.filePath(name);
        if (const std::optional<QUuid> id = scriptGroup(bundle))
            found.append({bundle, *id});
    }
    return found;
}

QStringList bundlesOf(const QUuid& id, const QList<Launcher>& launchers)
{
    QStringList bundles;
    for (const Launcher& launcher : launchers) {
        if (launcher.id == id)
            bundles.append(launcher.bundle);
    }
    return bundles;
}

// Whether a bundle's file name is one that `name` gives, with or without a copy number.
bool isNamedFor(const QString& fileName, const QString& name)
{
    if (CanonicalText::equal(fileName, bundleFileName(name)))
        return true;
    static const QRegularExpression numbered(QStringLiteral(" ([0-9]{1,6})\\.app$"));
    const QRegularExpressionMatch match = numbered.match(fileName);
    const int copy = match.hasMatch() ? match.captured(1).toInt() : 0;
    return copy > 1 && CanonicalText::equal(fileName, bundleFileName(name, copy));
}

// Where the group's launcher goes: its own bundle when that already carries the name,
// otherwise the first of "<name>.app", "<name> 2.app", ... that is no other group's launcher.
// A bundle that opens no group (one whose building was cut short) is finished, not avoided.
QString placeFor(const AppGroup& group)
{
    for (const QString& own : bundlesOf(group.id, launchersOnDisk())) {
        if (isNamedFor(QFileInfo(own).fileName(), group.name))
            return own;
    }
    QString candidate = bundleURL(group.name);
    for (int copy = 2; scriptGroup(candidate); ++copy)
        candidate = root() + QLatin1Char('/') + bundleFileName(group.name, copy);
    return candidate;
}

} // namespace

QString root()
{
    return QDir::homePath() + QStringLiteral("/Applications/Traymate Groups");
}

QString bundleURL(const QString& name)
{
    return root() + QLatin1Char('/') + bundleFileName(name);
}

QStringList bundlesOf(const QUuid& id)
{
    return bundlesOf(id, launchersOnDisk());
}

QString desktopEntryPath(const QUuid& id)
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/applications/traymate-group-") + groupIdText(id) +
           QStringLiteral(".desktop");
}

namespace {

struct Built {
    QString bundle;
    bool iconWritten = false;
};

// The bundle's files and picture, without the desktop entry that leads to them.
std::optional<Built> build(const AppGroup& group)
{
    const QString bundle = placeFor(group);
    const QByteArray plist = infoPlist(group);
    const QByteArray script = launchScript(group);

    if (!QDir().mkpath(bundle + QStringLiteral("/Contents/MacOS")))
        return std::nullopt;
    const QString scriptFile = scriptPath(bundle);
    if (!writeFileAtomically(scriptFile, script))
        return std::nullopt;
    if (::chmod(QFile::encodeName(scriptFile).constData(), 0755) != 0)
        return std::nullopt;
    if (!writeFileAtomically(bundle + QStringLiteral("/Contents/Info.plist"), plist))
        return std::nullopt;
    return Built{bundle, writeBundleIcon(icon(group), bundle)};
}

} // namespace

std::optional<QString> make(const AppGroup& group)
{
    const std::optional<Built> built = build(group);
    if (!built)
        return std::nullopt;
    if (built->iconWritten)
        writeDesktopEntry(group, built->bundle);
    return built->bundle;
}

void refreshExisting(const QList<AppGroup>& groups)
{
    QString current = signature(groups);
    if (current == lastSignature)
        return;
    lastSignature = std::move(current);
    const QList<Launcher> launchers = launchersOnDisk();
    QSet<QUuid> seen;
    for (const AppGroup& group : groups) {
        if (seen.contains(group.id))
            continue; // a group is the first with its id
        seen.insert(group.id);
        for (const QString& bundle : bundlesOf(group.id, launchers))
            setBundleIcon(icon(group), group, bundle);
    }
}

void refreshNow(const QUuid& id)
{
    const AppGroup* group = Store::shared().group(id);
    if (!group)
        return;
    const QStringList bundles = bundlesOf(id);
    if (bundles.isEmpty())
        return;
    for (const QString& bundle : bundles)
        setBundleIcon(icon(*group), *group, bundle);
    lastSignature.clear();
    Dock::current().reload();
}

void renamed(const AppGroup& from, const AppGroup& to)
{
    // Another normalisation of the same name keeps the launcher it has.
    if (CanonicalText::equal(from.name, to.name))
        return;
    const QStringList previous = bundlesOf(from.id);
    if (previous.isEmpty())
        return;
    // The new launcher first: when it cannot be built the old one stays as it was.
    const std::optional<Built> built = build(to);
    if (!built)
        return;
    // Out of the Dock while the desktop entry still leads there: docks that list entries find
    // the tile through it.
    for (const QString& old : previous) {
        if (old != built->bundle)
            removeFromDock(old);
    }
    writeDesktopEntry(to, built->bundle);
    for (const QString& old : previous) {
        if (old != built->bundle)
            deleteBundle(old);
    }
    putInDock(built->bundle);
}

void removed(const AppGroup& group)
{
    for (const QString& bundle : bundlesOf(group.id)) {
        removeFromDock(bundle);
        deleteBundle(bundle);
    }
    // The group goes away, so its entry in the application grid must not stay behind.
    QFile::remove(desktopEntryPath(group.id));
}

void addToDock(const AppGroup& group)
{
    if (const std::optional<QString> bundle = make(group))
        putInDock(*bundle);
}

void putInDock(const QString& bundle)
{
    Dock& dock = Dock::current();
    if (!CanonicalText::contains(DockImport::dockApps(), bundle))
        dock.addLauncher(bundle);
    dock.reload();
}

void removeFromDock(const QString& path)
{
    Dock& dock = Dock::current();
    if (dock.removeItems(path))
        dock.reload();
}

} // namespace Launchers
