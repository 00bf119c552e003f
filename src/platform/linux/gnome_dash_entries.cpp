#include "platform/linux/gnome_dash_entries.h"

#include "platform/linux/desktop_file_ids.h"

#include <QFileInfo>

GnomeDashEntries::GnomeDashEntries(GSettingsSchemaSource* source)
    : m_settings(GSettingsLists::settingsFor(
          source ? source : GSettingsLists::defaultSchemaSource(), schemaId, key))
{
    if (!m_settings)
        qWarning("The GNOME dash cannot be used: the org.gnome.shell schema is not installed");
}

QStringList GnomeDashEntries::favorites() const
{
    return m_settings ? GSettingsLists::stringList(m_settings.get(), key) : QStringList();
}

std::optional<QStringList> GnomeDashEntries::entries()
{
    if (!m_settings)
        return std::nullopt;
    QStringList paths;
    for (const QString& id : favorites()) {
        if (std::optional<QString> path = DesktopFileIds::pathOf(id))
            paths.append(*path);
    }
    return paths;
}

bool GnomeDashEntries::pin(const QString& entryPath)
{
    if (!m_settings)
        return false;
    // The dash hides an id it cannot resolve, so only an entry it finds by its id goes in.
    const std::optional<QString> id = DesktopFileIds::idOf(entryPath);
    if (!id || DesktopFileIds::pathOf(*id) != QFileInfo(entryPath).absoluteFilePath())
        return false;
    QStringList ids = favorites();
    if (ids.contains(*id))
        return true;
    ids.append(*id);
    return GSettingsLists::setStringList(m_settings.get(), key, ids);
}

bool GnomeDashEntries::unpin(const QString& entryPath)
{
    if (!m_settings)
        return false;
    const QString path = QFileInfo(entryPath).absoluteFilePath();
    const std::optional<QString> ownId = DesktopFileIds::idOf(path);
    QStringList ids = favorites();
    // An id stands for the entry when it leads there, or, once the file is gone, by its name.
    const qsizetype dropped = ids.removeIf([&](const QString& id) {
        const std::optional<QString> found = DesktopFileIds::pathOf(id);
        return found ? *found == path : id == ownId;
    });
    return dropped == 0 || GSettingsLists::setStringList(m_settings.get(), key, ids);
}
