#include "dock/pinned_entries_dock.h"

#include "dock/launcher_files.h"
#include "dock/launchers.h"
#include "model/canonical_text.h"
#include "platform/desktop_entries.h"

#include <QFileInfo>

std::optional<QString> launcherBundleOf(const QString& desktopFile)
{
    return DesktopEntries::value(desktopFile, "X-Traymate-Bundle");
}

PinnedEntriesDock::PinnedEntriesDock(std::unique_ptr<PinnedEntries> entries)
    : m_entries(std::move(entries))
{
}

QStringList PinnedEntriesDock::items()
{
    QStringList paths;
    for (const QString& entry : m_entries->entries().value_or(QStringList()))
        paths.append(launcherBundleOf(entry).value_or(entry));
    return paths;
}

void PinnedEntriesDock::addLauncher(const QString& bundle)
{
    // The bundle's script names its group, and the group id names the desktop entry.
    const std::optional<QUuid> group = Launchers::scriptGroup(bundle);
    if (!group)
        return;
    const QString entry = Launchers::desktopEntryPath(*group);
    if (QFileInfo(entry).isFile())
        m_entries->pin(entry);
}

bool PinnedEntriesDock::removeItems(const QString& path)
{
    QStringList matching;
    for (const QString& entry : m_entries->entries().value_or(QStringList())) {
        if (!matching.contains(entry) &&
            CanonicalText::equal(launcherBundleOf(entry).value_or(entry), path))
            matching.append(entry);
    }
    bool removed = false;
    for (const QString& entry : std::as_const(matching))
        removed = m_entries->unpin(entry) || removed;
    return removed;
}
