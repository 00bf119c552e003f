#include "platform/linux/cinnamon_applets.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>
#include <gio/gio.h>
#include <tuple>

QString CinnamonApplet::listKey() const
{
    return isWindowList() ? QStringLiteral("pinned-apps") : QStringLiteral("launcherList");
}

bool CinnamonApplet::isWindowList() const
{
    return uuid == QLatin1String(CinnamonApplets::windowListUuid);
}

namespace CinnamonApplets {

namespace {

const QStringList kZones{QStringLiteral("left"), QStringLiteral("center"), QStringLiteral("right")};

std::optional<CinnamonApplet> appletOf(const QString& definition)
{
    const QStringList parts = definition.split(QLatin1Char(':'));
    if (parts.size() < 5 || !parts.at(0).startsWith(QLatin1String("panel")))
        return std::nullopt;
    CinnamonApplet applet;
    bool ok = false;
    applet.panel = parts.at(0).mid(5).toInt(&ok);
    if (!ok)
        return std::nullopt;
    applet.zone = int(std::max<qsizetype>(0, kZones.indexOf(parts.at(1))));
    applet.order = parts.at(2).toInt();
    // A leading "!" marks an applet loaded even when its uuid is disabled.
    applet.uuid = parts.at(3).startsWith(QLatin1Char('!')) ? parts.at(3).mid(1) : parts.at(3);
    applet.instanceId = parts.at(4);
    if (applet.instanceId.isEmpty() || applet.instanceId.contains(QLatin1Char('/')) ||
        applet.instanceId.startsWith(QLatin1Char('.')))
        return std::nullopt;
    if (applet.uuid != QLatin1String(windowListUuid) && applet.uuid != QLatin1String(launchersUuid))
        return std::nullopt;
    return applet;
}

} // namespace

std::vector<CinnamonApplet> launcherApplets(const QStringList& enabledApplets)
{
    std::vector<CinnamonApplet> applets;
    for (const QString& definition : enabledApplets) {
        if (std::optional<CinnamonApplet> applet = appletOf(definition))
            applets.push_back(*applet);
    }
    std::stable_sort(
        applets.begin(), applets.end(), [](const CinnamonApplet& a, const CinnamonApplet& b) {
            return std::tie(a.panel, a.zone, a.order) < std::tie(b.panel, b.zone, b.order);
        });
    return applets;
}

std::optional<QStringList> enabledApplets()
{
    GSettingsSchemaSource* source = g_settings_schema_source_get_default();
    GSettingsSchema* schema =
        source ? g_settings_schema_source_lookup(source, "org.cinnamon", TRUE) : nullptr;
    if (!schema)
        return std::nullopt;
    std::optional<QStringList> definitions;
    if (g_settings_schema_has_key(schema, "enabled-applets")) {
        GSettings* settings = g_settings_new_full(schema, nullptr, nullptr);
        gchar** values = g_settings_get_strv(settings, "enabled-applets");
        definitions.emplace();
        for (gchar** value = values; *value; ++value)
            definitions->append(QString::fromUtf8(*value));
        g_strfreev(values);
        g_object_unref(settings);
    }
    g_settings_schema_unref(schema);
    return definitions;
}

QString settingsFileOf(const CinnamonApplet& applet)
{
    const QString name = QLatin1Char('/') + applet.uuid + QLatin1Char('/') + applet.instanceId +
                         QStringLiteral(".json");
    const QString current =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
        QStringLiteral("/cinnamon/spices") + name;
    const QString legacy = QDir::homePath() + QStringLiteral("/.cinnamon/configs") + name;
    return !QFileInfo::exists(current) && QFileInfo::exists(legacy) ? legacy : current;
}

QString customLaunchersFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/cinnamon/panel-launchers");
}

} // namespace CinnamonApplets
