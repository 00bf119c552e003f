#include "dock/launchers.h"

#include "dock/dock_preferences.h"
#include "dock/launcher_files.h"
#include "model/canonical_text.h"
#include "model/safe_file.h"
#include "model/store.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <sys/stat.h>

namespace Launchers {

namespace {

bool existsAt(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// Deletes the bundle; a link in its place goes, never what it points to.
void deleteBundle(const QString& bundle)
{
    const QFileInfo info(bundle);
    if (info.isSymLink() || !info.isDir())
        QFile::remove(bundle);
    else
        QDir(bundle).removeRecursively();
}

} // namespace

QString root()
{
    return QDir::homePath() + QStringLiteral("/Applications/Traymate Groups");
}

QString bundleURL(const QString& name)
{
    return root() + QLatin1Char('/') + bundleSafeName(name) + QStringLiteral(".app");
}

QString desktopEntryPath(const QUuid& id)
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/applications/traymate-group-") + groupIdText(id) +
           QStringLiteral(".desktop");
}

std::optional<QString> make(const AppGroup& group)
{
    const QString bundle = bundleURL(group.name);
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
    setBundleIcon(icon(group), group, bundle);
    return bundle;
}

void refreshExisting(const QList<AppGroup>& groups)
{
    QString current = signature(groups);
    if (current == lastSignature)
        return;
    lastSignature = std::move(current);
    for (const AppGroup& group : groups) {
        const QString bundle = bundleURL(group.name);
        if (existsAt(bundle))
            setBundleIcon(icon(group), group, bundle);
    }
}

void refreshNow(const QUuid& id)
{
    const AppGroup* group = Store::shared().group(id);
    if (!group)
        return;
    const QString bundle = bundleURL(group->name);
    if (!existsAt(bundle))
        return;
    setBundleIcon(icon(*group), *group, bundle);
    lastSignature.clear();
    DockPreferences::current().reload();
}

void renamed(const AppGroup& from, const AppGroup& to)
{
    if (CanonicalText::equal(from.name, to.name))
        return;
    const QString bundle = bundleURL(from.name);
    if (!existsAt(bundle))
        return;
    removeFromDock(bundle);
    deleteBundle(bundle);
    QFile::remove(desktopEntryPath(from.id));
    addToDock(to);
}

void removed(const AppGroup& group)
{
    const QString bundle = bundleURL(group.name);
    if (existsAt(bundle)) {
        removeFromDock(bundle);
        deleteBundle(bundle);
    }
    // The group goes away, so its entry in the application grid must not stay behind.
    QFile::remove(desktopEntryPath(group.id));
}

} // namespace Launchers
