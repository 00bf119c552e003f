#include "platform/linux/xfce_panel_entries.h"

#include "platform/linux/desktop_file_ids.h"
#include "platform/linux/xfconf_channel.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <QThread>
#include <QUrl>
#include <gio/gio.h>

namespace {

const QString kLauncher = QStringLiteral("launcher");
const QString kTaskList = QStringLiteral("tasklist");
const QString kPanelService = QStringLiteral("org.xfce.Panel");

QString panelIdsProperty(int panel)
{
    return QStringLiteral("/panels/panel-%1/plugin-ids").arg(panel);
}

QString pluginProperty(int plugin)
{
    return QStringLiteral("/plugins/plugin-%1").arg(plugin);
}

QList<int> intsOf(const QVariant& value)
{
    QList<int> ints;
    for (const QVariant& item : value.toList()) {
        bool ok = false;
        const int n = item.toInt(&ok);
        if (ok)
            ints.append(n);
    }
    return ints;
}

QVariantList variantsOf(const QList<int>& ints)
{
    QVariantList list;
    for (int n : ints)
        list.append(n);
    return list;
}

// The "X-XFCE-Source" of a launcher's copy, as a local path.
std::optional<QString> sourceOf(const QString& copy)
{
    GKeyFile* file = g_key_file_new();
    std::optional<QString> source;
    if (g_key_file_load_from_file(file, QFile::encodeName(copy).constData(), G_KEY_FILE_NONE,
                                  nullptr)) {
        if (gchar* uri =
                g_key_file_get_string(file, G_KEY_FILE_DESKTOP_GROUP, "X-XFCE-Source", nullptr)) {
            if (gchar* local = g_filename_from_uri(uri, nullptr, nullptr)) {
                source = QFile::decodeName(local);
                g_free(local);
            }
            g_free(uri);
        }
    }
    g_key_file_free(file);
    return source;
}

// The entry as the panel's own copy: the same keys, plus where it came from.
std::optional<QByteArray> copyOf(const QString& entryPath)
{
    GKeyFile* file = g_key_file_new();
    std::optional<QByteArray> copy;
    const QByteArray path = QFile::encodeName(entryPath);
    if (g_key_file_load_from_file(
            file, path.constData(),
            GKeyFileFlags(G_KEY_FILE_KEEP_COMMENTS | G_KEY_FILE_KEEP_TRANSLATIONS), nullptr) &&
        g_key_file_has_group(file, G_KEY_FILE_DESKTOP_GROUP)) {
        if (gchar* uri = g_filename_to_uri(path.constData(), nullptr, nullptr)) {
            g_key_file_set_string(file, G_KEY_FILE_DESKTOP_GROUP, "X-XFCE-Source", uri);
            g_free(uri);
            gsize length = 0;
            gchar* data = g_key_file_to_data(file, &length, nullptr);
            copy = QByteArray(data, qsizetype(length));
            g_free(data);
        }
    }
    g_key_file_free(file);
    return copy;
}

bool writeAtomically(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

// The running panel reads its plugin lists again only when it starts. Its own restart starts
// the new panel before the old one has left the bus, and the new one then quits as a second
// instance; so the old one is asked to quit, and the new one started once the name is free.
void restartRunningPanel()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    QDBusConnectionInterface* names = bus.isConnected() ? bus.interface() : nullptr;
    if (!names || !names->isServiceRegistered(kPanelService).value())
        return;
    QDBusMessage quit = QDBusMessage::createMethodCall(
        kPanelService, QStringLiteral("/org/xfce/Panel"), QStringLiteral("org.xfce.Panel"),
        QStringLiteral("Terminate"));
    quit.setArguments({false});
    if (bus.call(quit, QDBus::Block, 5000).type() != QDBusMessage::ReplyMessage)
        return;
    QDeadlineTimer deadline(5000);
    while (names->isServiceRegistered(kPanelService).value() && !deadline.hasExpired())
        QThread::msleep(50);
    if (!QProcess::startDetached(QStringLiteral("xfce4-panel"), {}))
        return;
    // Until the new panel holds its name, an edit right after this one (a rename is two)
    // could not restart it and might come after it read its settings.
    deadline.setRemainingTime(5000);
    while (!names->isServiceRegistered(kPanelService).value() && !deadline.hasExpired())
        QThread::msleep(50);
}

bool isLocked(const XfconfChannel& settings, int panel)
{
    // A channel locked as a whole locks each of its properties (xfconfd takes no "/" here).
    return settings.isLocked(QStringLiteral("/panels")) ||
           settings.isLocked(panelIdsProperty(panel));
}

} // namespace

QString XfcePanelEntries::defaultConfigFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/xfce4/panel");
}

XfcePanelEntries::XfcePanelEntries(QString configFolder)
    : m_configFolder(std::move(configFolder))
{
}

QList<XfcePanelEntries::Panel> XfcePanelEntries::panelsOf(const QVariantMap& properties)
{
    QList<Panel> panels;
    for (int id : intsOf(properties.value(QStringLiteral("/panels")))) {
        Panel panel;
        panel.id = id;
        for (int pluginId : intsOf(properties.value(panelIdsProperty(id)))) {
            Plugin plugin;
            plugin.id = pluginId;
            plugin.type = properties.value(pluginProperty(pluginId)).toString();
            for (const QVariant& item :
                 properties.value(pluginProperty(pluginId) + QStringLiteral("/items")).toList())
                plugin.items.append(item.toString());
            panel.plugins.append(plugin);
        }
        panels.append(panel);
    }
    return panels;
}

const XfcePanelEntries::Panel* XfcePanelEntries::panelForLaunchers(const QList<Panel>& panels)
{
    for (const Panel& panel : panels) {
        for (const Plugin& plugin : panel.plugins) {
            if (plugin.type == kTaskList)
                return &panel;
        }
    }
    return panels.isEmpty() ? nullptr : &panels.first();
}

int XfcePanelEntries::insertionIndex(const Panel& panel)
{
    int taskList = -1;
    for (qsizetype i = panel.plugins.size() - 1; i >= 0; --i) {
        if (panel.plugins[i].type == kLauncher)
            return int(i) + 1;
        if (taskList < 0 && panel.plugins[i].type == kTaskList)
            taskList = int(i);
    }
    return taskList >= 0 ? taskList + 1 : int(panel.plugins.size());
}

int XfcePanelEntries::unusedPluginId(const QVariantMap& properties)
{
    static const QString prefix = QStringLiteral("/plugins/plugin-");
    int highest = 0;
    for (auto it = properties.cbegin(); it != properties.cend(); ++it) {
        if (it.key().startsWith(prefix))
            highest =
                qMax(highest, it.key().mid(prefix.size()).section(QLatin1Char('/'), 0, 0).toInt());
        if (it.key().endsWith(QLatin1String("/plugin-ids"))) {
            for (int id : intsOf(it.value()))
                highest = qMax(highest, id);
        }
    }
    return highest + 1;
}

QString XfcePanelEntries::launcherFolder(int pluginId) const
{
    return m_configFolder + QStringLiteral("/launcher-%1").arg(pluginId);
}

std::optional<QString> XfcePanelEntries::resolve(int pluginId, const QString& item) const
{
    // The panel itself skips anything that is not a desktop file.
    if (!item.endsWith(QLatin1String(".desktop")))
        return std::nullopt;
    QString path;
    if (QDir::isAbsolutePath(item)) {
        path = item;
    } else if (const QUrl url(item); url.isLocalFile()) {
        path = url.toLocalFile();
    } else {
        path = launcherFolder(pluginId) + QLatin1Char('/') + item;
        if (!QFileInfo(path).isFile())
            return DesktopFileIds::pathOf(item);
    }
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    if (const std::optional<QString> source = sourceOf(path); source && QFileInfo(*source).isFile())
        return source;
    return path;
}

bool XfcePanelEntries::stands(int pluginId, const QString& item, const QString& entryPath) const
{
    if (resolve(pluginId, item) == entryPath)
        return true;
    // A copy whose source is gone still stands for it.
    const QString copy = launcherFolder(pluginId) + QLatin1Char('/') + item;
    return !QDir::isAbsolutePath(item) && sourceOf(copy) == entryPath;
}

std::optional<QStringList> XfcePanelEntries::entries()
{
    const std::optional<QVariantMap> properties = XfconfChannel(channel).properties();
    if (!properties)
        return std::nullopt;
    QStringList paths;
    for (const Panel& panel : panelsOf(*properties)) {
        for (const Plugin& plugin : panel.plugins) {
            if (plugin.type != kLauncher)
                continue;
            for (const QString& item : plugin.items) {
                if (const std::optional<QString> path = resolve(plugin.id, item))
                    paths.append(*path);
            }
        }
    }
    return paths;
}

bool XfcePanelEntries::pin(const QString& entryPath)
{
    const XfconfChannel settings(channel);
    const std::optional<QVariantMap> properties = settings.properties();
    if (!properties || !QFileInfo(entryPath).isFile())
        return false;
    const QList<Panel> panels = panelsOf(*properties);
    for (const Panel& panel : panels) {
        for (const Plugin& plugin : panel.plugins) {
            if (plugin.type != kLauncher)
                continue;
            for (const QString& item : plugin.items) {
                if (stands(plugin.id, item, entryPath))
                    return true;
            }
        }
    }
    const Panel* panel = panelForLaunchers(panels);
    if (!panel || isLocked(settings, panel->id))
        return false;

    const int id = unusedPluginId(*properties);
    const QString name = QFileInfo(entryPath).fileName();
    const std::optional<QByteArray> copy = copyOf(entryPath);
    if (!copy || !writeAtomically(launcherFolder(id) + QLatin1Char('/') + name, *copy))
        return false;
    QList<int> ids;
    for (const Plugin& plugin : panel->plugins)
        ids.append(plugin.id);
    ids.insert(insertionIndex(*panel), id);
    const bool written =
        settings.set(pluginProperty(id), kLauncher) &&
        settings.set(pluginProperty(id) + QStringLiteral("/items"), QVariantList{name}) &&
        settings.set(panelIdsProperty(panel->id), variantsOf(ids));
    if (!written) {
        settings.reset(pluginProperty(id), true);
        QDir(launcherFolder(id)).removeRecursively();
        return false;
    }
    restartRunningPanel();
    return true;
}

bool XfcePanelEntries::unpin(const QString& entryPath)
{
    const XfconfChannel settings(channel);
    const std::optional<QVariantMap> properties = settings.properties();
    if (!properties)
        return false;
    bool panelsChanged = false;
    for (const Panel& panel : panelsOf(*properties)) {
        QList<int> ids;
        bool dropped = false;
        for (const Plugin& plugin : panel.plugins) {
            QStringList kept = plugin.items;
            if (plugin.type == kLauncher)
                kept.removeIf(
                    [&](const QString& item) { return stands(plugin.id, item, entryPath); });
            if (kept.size() == plugin.items.size()) {
                ids.append(plugin.id);
                continue;
            }
            if (isLocked(settings, panel.id))
                return false;
            if (!kept.isEmpty()) {
                // A launcher that holds other items as well keeps them; it follows at once.
                QVariantList items;
                for (const QString& item : std::as_const(kept))
                    items.append(item);
                if (!settings.set(pluginProperty(plugin.id) + QStringLiteral("/items"), items))
                    return false;
                ids.append(plugin.id);
                continue;
            }
            dropped = true;
        }
        if (!dropped)
            continue;
        if (!settings.set(panelIdsProperty(panel.id), variantsOf(ids)))
            return false;
        panelsChanged = true;
        for (const Plugin& plugin : panel.plugins) {
            if (!ids.contains(plugin.id)) {
                settings.reset(pluginProperty(plugin.id), true);
                QDir(launcherFolder(plugin.id)).removeRecursively();
            }
        }
    }
    if (panelsChanged)
        restartRunningPanel();
    return true;
}
