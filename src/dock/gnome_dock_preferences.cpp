#include "dock/gnome_dock_preferences.h"

#include <QFileInfo>
#include <QLoggingCategory>

GnomeDockPreferences::GnomeDockPreferences(GSettingsSchemaSource* source)
    : m_settings(
          LinuxDock::settingsFor(source ? source : LinuxDock::defaultSchemaSource(), schemaId, key))
{
    if (!m_settings)
        qWarning("The GNOME dash cannot be used: the org.gnome.shell schema is not installed");
}

QStringList GnomeDockPreferences::favorites() const
{
    return m_settings ? LinuxDock::stringList(m_settings.get(), key) : QStringList();
}

QByteArray GnomeDockPreferences::exportDomain()
{
    if (!m_settings)
        return {};
    std::vector<PropertyList::Node> tiles;
    for (const QString& id : favorites()) {
        std::optional<QString> location = LinuxDock::desktopFilePath(id);
        if (location)
            location = LinuxDock::tileLocation(*location);
        tiles.push_back(LinuxDock::makeTile(location, idKey, id));
    }
    return LinuxDock::domainOf(std::move(tiles));
}

void GnomeDockPreferences::appendTile(const QString& tileText)
{
    if (!m_settings)
        return;
    // The entry is written before its id goes in: the dash hides an id it cannot resolve.
    const std::optional<QString> entry = LinuxDock::launcherEntryOfTile(tileText);
    if (!entry)
        return;
    const QString id = QFileInfo(*entry).fileName();
    QStringList ids = favorites();
    if (ids.contains(id))
        return;
    ids.append(id);
    LinuxDock::setStringList(m_settings.get(), key, ids);
}

void GnomeDockPreferences::importDomain(const QString& file)
{
    if (!m_settings)
        return;
    if (const std::optional<QStringList> ids = LinuxDock::tileValuesIn(file, idKey))
        LinuxDock::setStringList(m_settings.get(), key, *ids);
}
