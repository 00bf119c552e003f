#include "platform/linux/cinnamon_pinned_entries.h"

#include "platform/linux/cinnamon_settings_file.h"
#include "platform/linux/desktop_file_ids.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>
#include <algorithm>

namespace {

const QString kService = QStringLiteral("org.Cinnamon");
const QString kPath = QStringLiteral("/org/Cinnamon");
constexpr int kTimeoutMs = 5000;

// A panel launcher names either a desktop id or a file of its own launchers folder.
std::optional<QString> entryPathOf(const CinnamonApplet& applet, const QString& item)
{
    if (std::optional<QString> path = DesktopFileIds::pathOf(item))
        return path;
    if (applet.isWindowList() || item.isEmpty() || item.contains(QLatin1Char('/')))
        return std::nullopt;
    const QString custom = CinnamonApplets::customLaunchersFolder() + QLatin1Char('/') + item;
    return QFileInfo(custom).isFile() ? std::optional<QString>(custom) : std::nullopt;
}

bool standsFor(const CinnamonApplet& applet, const QString& item, const QString& entryPath)
{
    if (DesktopFileIds::standsFor(item, entryPath))
        return true;
    return !applet.isWindowList() && !item.contains(QLatin1Char('/')) &&
           QDir::cleanPath(CinnamonApplets::customLaunchersFolder() + QLatin1Char('/') + item) ==
               QDir::cleanPath(entryPath);
}

} // namespace

CinnamonPinnedEntries::CinnamonPinnedEntries(
    QDBusConnection bus, std::function<std::optional<QStringList>()> enabledApplets)
    : m_bus(std::move(bus))
    , m_enabledApplets(std::move(enabledApplets))
{
}

std::optional<std::vector<CinnamonPinnedEntries::Instance>> CinnamonPinnedEntries::instances() const
{
    const std::optional<QStringList> enabled = m_enabledApplets();
    if (!enabled)
        return std::nullopt;
    std::vector<Instance> found;
    for (const CinnamonApplet& applet : CinnamonApplets::launcherApplets(*enabled)) {
        Instance instance{applet, CinnamonApplets::settingsFileOf(applet), {}, {}};
        QFile file(instance.file);
        // Cinnamon writes the file when it first loads the applet; until then it has no list.
        if (!file.open(QIODevice::ReadOnly))
            continue;
        instance.content = file.readAll();
        const std::optional<QStringList> items =
            CinnamonSettingsFile::readList(instance.content, applet.listKey());
        if (!items) {
            qWarning("Cinnamon's settings file %s has no list of pinned applications",
                     qPrintable(instance.file));
            continue;
        }
        instance.items = *items;
        found.push_back(std::move(instance));
    }
    return found;
}

std::optional<QStringList> CinnamonPinnedEntries::entries()
{
    const std::optional<std::vector<Instance>> all = instances();
    if (!all)
        return std::nullopt;
    QStringList paths;
    for (const Instance& instance : *all) {
        for (const QString& item : instance.items) {
            const std::optional<QString> path = entryPathOf(instance.applet, item);
            if (path && !paths.contains(*path))
                paths.append(*path);
        }
    }
    return paths;
}

bool CinnamonPinnedEntries::pin(const QString& entryPath)
{
    const std::optional<std::vector<Instance>> all = instances();
    if (!all || all->empty())
        return false;
    for (const Instance& instance : *all) {
        for (const QString& item : instance.items) {
            if (standsFor(instance.applet, item, entryPath))
                return true;
        }
    }
    // Both applets find applications by desktop id only.
    const QString path = QDir::cleanPath(entryPath);
    const std::optional<QString> id = DesktopFileIds::idOf(path);
    if (!id || DesktopFileIds::pathOf(*id) != path)
        return false;
    const auto target = std::find_if(all->begin(), all->end(),
                                     [](const Instance& i) { return i.applet.isWindowList(); });
    const Instance& chosen = target != all->end() ? *target : all->front();
    return apply({{&chosen, chosen.items + QStringList{*id}}});
}

bool CinnamonPinnedEntries::unpin(const QString& entryPath)
{
    const std::optional<std::vector<Instance>> all = instances();
    if (!all)
        return false;
    std::vector<Change> changes;
    for (const Instance& instance : *all) {
        QStringList kept;
        for (const QString& item : instance.items) {
            if (!standsFor(instance.applet, item, entryPath))
                kept.append(item);
        }
        if (kept != instance.items)
            changes.push_back({&instance, kept});
    }
    return apply(changes);
}

bool CinnamonPinnedEntries::apply(const std::vector<Change>& changes) const
{
    // Every file's new text is made before any is written, so a file we cannot edit changes
    // nothing.
    std::vector<QByteArray> contents;
    for (const Change& change : changes) {
        const std::optional<QByteArray> edited = CinnamonSettingsFile::withList(
            change.instance->content, change.instance->applet.listKey(), change.items);
        if (!edited)
            return false;
        contents.push_back(*edited);
    }
    for (size_t i = 0; i < changes.size(); ++i) {
        if (!CinnamonSettingsFile::replaceFile(changes[i].instance->file, contents[i])) {
            qWarning("Cannot write Cinnamon's settings file %s",
                     qPrintable(changes[i].instance->file));
            return false;
        }
    }
    notifyCinnamon(changes);
    return true;
}

void CinnamonPinnedEntries::notifyCinnamon(const std::vector<Change>& changes) const
{
    if (changes.empty() || !m_bus.interface() ||
        !m_bus.interface()->isServiceRegistered(kService).value())
        return;
    // As cinnamon-settings does after writing a file: Cinnamon reads it again at once rather
    // than when its file monitor fires.
    QSet<QString> windowLists;
    for (const Change& change : changes) {
        const CinnamonApplet& applet = change.instance->applet;
        QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kService,
                                                           QStringLiteral("updateSetting"));
        call << applet.uuid << applet.instanceId << applet.listKey()
             << QString::fromUtf8(QJsonDocument(QJsonArray::fromStringList(change.items))
                                      .toJson(QJsonDocument::Compact));
        m_bus.call(call, QDBus::Block, kTimeoutMs);
        if (applet.isWindowList())
            windowLists.insert(applet.uuid);
    }
    // The window list takes its pinned applications in only when it starts.
    for (const QString& uuid : std::as_const(windowLists)) {
        QDBusMessage call =
            QDBusMessage::createMethodCall(kService, kPath, kService, QStringLiteral("ReloadXlet"));
        call << uuid << QStringLiteral("APPLET");
        m_bus.call(call, QDBus::Block, kTimeoutMs);
    }
}
