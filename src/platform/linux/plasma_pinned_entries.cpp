#include "platform/linux/plasma_pinned_entries.h"

#include "platform/linux/plasma_launchers.h"

#include <QDBusMessage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>
#include <functional>

namespace {

const QString kService = QStringLiteral("org.kde.plasmashell");
const QString kPath = QStringLiteral("/PlasmaShell");
const QString kInterface = QStringLiteral("org.kde.PlasmaShell");
// A busy shell may take a moment, but a hung one must not hold the program up for long.
constexpr int kTimeoutMs = 10000;
// Another program editing the same list between our read and write makes us read again.
constexpr int kAttempts = 3;

// readConfig returns the raw text unless its default is a list; with [] it returns the items.
const QString kReadScript =
    QStringLiteral("var found = [];\n"
                   "panels().forEach(function (panel) {\n"
                   "    panel.widgets().forEach(function (widget) {\n"
                   "        if (widget.type == 'org.kde.plasma.icontasks' ||\n"
                   "            widget.type == 'org.kde.plasma.taskmanager') {\n"
                   "            widget.currentConfigGroup = ['General'];\n"
                   "            found.push({panel: panel.id, widget: widget.id,\n"
                   "                        launchers: widget.readConfig('launchers', [])});\n"
                   "        }\n"
                   "    });\n"
                   "});\n"
                   "print(JSON.stringify(found));\n");

// A key the administrator made immutable ignores writeConfig silently, so every list is read
// back, and on any refusal the lists written already are put back.
const QString kWriteScript = QStringLiteral(
    "var changes = %1;\n"
    "function widgetOf(change) {\n"
    "    var widget = panelById(change.panel).widgetById(change.widget);\n"
    "    widget.currentConfigGroup = ['General'];\n"
    "    return widget;\n"
    "}\n"
    "function holds(change, list) {\n"
    "    return JSON.stringify(widgetOf(change).readConfig('launchers', [])) ==\n"
    "           JSON.stringify(list);\n"
    "}\n"
    "var result = 'written';\n"
    "if (!changes.every(function (change) { return holds(change, change.before); })) {\n"
    "    result = 'stale';\n"
    "} else {\n"
    "    changes.forEach(function (change) {\n"
    "        widgetOf(change).writeConfig('launchers', change.after);\n"
    "    });\n"
    "    if (!changes.every(function (change) { return holds(change, change.after); })) {\n"
    "        changes.forEach(function (change) {\n"
    "            if (!holds(change, change.before))\n"
    "                widgetOf(change).writeConfig('launchers', change.before);\n"
    "        });\n"
    "        result = 'refused';\n"
    "    }\n"
    "}\n"
    "print(result);\n");

std::optional<std::vector<PlasmaTaskManager>> taskManagersOf(const QString& json)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError || !document.isArray())
        return std::nullopt;
    std::vector<PlasmaTaskManager> found;
    for (const QJsonValue& value : document.array()) {
        const QJsonObject object = value.toObject();
        PlasmaTaskManager taskManager{object.value(QLatin1String("panel")).toInt(),
                                      object.value(QLatin1String("widget")).toInt(),
                                      {}};
        for (const QJsonValue& item : object.value(QLatin1String("launchers")).toArray())
            taskManager.launchers.append(item.toString());
        found.push_back(taskManager);
    }
    return found;
}

bool isPinnedIn(const std::vector<PlasmaTaskManager>& taskManagers, const QString& entryPath)
{
    for (const PlasmaTaskManager& taskManager : taskManagers) {
        for (const QString& item : taskManager.launchers) {
            if (PlasmaLaunchers::standsFor(item, entryPath))
                return true;
        }
    }
    return false;
}

} // namespace

PlasmaPinnedEntries::PlasmaPinnedEntries(QDBusConnection bus, QString appletsFile)
    : m_bus(std::move(bus))
    , m_appletsFile(std::move(appletsFile))
{
}

std::optional<QString> PlasmaPinnedEntries::evaluate(const QString& script) const
{
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface,
                                                       QStringLiteral("evaluateScript"));
    call << script;
    const QDBusMessage reply = m_bus.call(call, QDBus::Block, kTimeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 1) {
        // "Widgets are locked", a kiosk policy, a script error, or no shell at all.
        if (reply.errorName() != QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown"))
            qWarning("Plasma refused the launchers script: %s", qPrintable(reply.errorMessage()));
        return std::nullopt;
    }
    return reply.arguments().constFirst().toString();
}

std::optional<std::vector<PlasmaTaskManager>> PlasmaPinnedEntries::readLive() const
{
    const std::optional<QString> printed = evaluate(kReadScript);
    return printed ? taskManagersOf(*printed) : std::nullopt;
}

PlasmaPinnedEntries::WriteResult
PlasmaPinnedEntries::write(const std::vector<Change>& changes) const
{
    QJsonArray list;
    for (const Change& change : changes) {
        list.append(QJsonObject{
            {QStringLiteral("panel"), change.before.panelId},
            {QStringLiteral("widget"), change.before.widgetId},
            {QStringLiteral("before"), QJsonArray::fromStringList(change.before.launchers)},
            {QStringLiteral("after"), QJsonArray::fromStringList(change.after)}});
    }
    const QString json = QString::fromUtf8(QJsonDocument(list).toJson(QJsonDocument::Compact));
    const std::optional<QString> printed = evaluate(kWriteScript.arg(json));
    if (!printed)
        return WriteResult::Refused;
    if (printed->trimmed() == QLatin1String("written"))
        return WriteResult::Written;
    return printed->trimmed() == QLatin1String("stale") ? WriteResult::Stale : WriteResult::Refused;
}

bool PlasmaPinnedEntries::edit(
    const std::function<std::optional<std::vector<Change>>(const std::vector<PlasmaTaskManager>&)>&
        plan) const
{
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        const std::optional<std::vector<PlasmaTaskManager>> taskManagers = readLive();
        if (!taskManagers)
            return false;
        const std::optional<std::vector<Change>> changes = plan(*taskManagers);
        if (!changes)
            return false;
        if (changes->empty())
            return true;
        switch (write(*changes)) {
        case WriteResult::Written: return true;
        case WriteResult::Refused: return false;
        case WriteResult::Stale: break;
        }
    }
    return false;
}

std::optional<QStringList> PlasmaPinnedEntries::entries()
{
    std::optional<std::vector<PlasmaTaskManager>> taskManagers = readLive();
    if (!taskManagers)
        taskManagers = PlasmaTaskManagers::readAppletsFile(m_appletsFile);
    if (!taskManagers)
        return std::nullopt;
    QStringList paths;
    for (const PlasmaTaskManager& taskManager : *taskManagers) {
        for (const QString& item : taskManager.launchers) {
            const std::optional<QString> path = PlasmaLaunchers::entryPathOf(item);
            if (path && !paths.contains(*path))
                paths.append(*path);
        }
    }
    return paths;
}

bool PlasmaPinnedEntries::pin(const QString& entryPath)
{
    return edit([&](const std::vector<PlasmaTaskManager>& taskManagers)
                    -> std::optional<std::vector<Change>> {
        if (isPinnedIn(taskManagers, entryPath))
            return std::vector<Change>{};
        if (taskManagers.empty())
            return std::nullopt;
        const PlasmaTaskManager& first = taskManagers.front();
        return std::vector<Change>{
            {first, first.launchers + QStringList{PlasmaLaunchers::launcherFor(entryPath)}}};
    });
}

bool PlasmaPinnedEntries::unpin(const QString& entryPath)
{
    return edit([&](const std::vector<PlasmaTaskManager>& taskManagers) {
        std::vector<Change> changes;
        for (const PlasmaTaskManager& taskManager : taskManagers) {
            QStringList kept = PlasmaLaunchers::without(taskManager.launchers, entryPath);
            if (kept != taskManager.launchers)
                changes.push_back({taskManager, std::move(kept)});
        }
        return std::optional<std::vector<Change>>(std::move(changes));
    });
}
