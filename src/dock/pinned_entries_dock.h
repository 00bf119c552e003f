#pragma once

#include "dock/dock.h"
#include "platform/pinned_entries.h"

#include <QString>
#include <memory>
#include <optional>

// The launcher bundle a desktop entry of this program's launchers stands for (its
// "X-Traymate-Bundle" key); nothing for any other entry.
std::optional<QString> launcherBundleOf(const QString& desktopFile);

// A Linux desktop's panel or dock as the Dock: its pinned desktop entries, with each entry of
// the program's launchers standing for the launcher's bundle. Desktops show their changes by
// themselves, so there is nothing to reload.
class PinnedEntriesDock : public Dock {
public:
    explicit PinnedEntriesDock(std::unique_ptr<PinnedEntries> entries);

    PinnedEntries& entries() const { return *m_entries; }

    QStringList items() override;
    // Pins the bundle's desktop entry; nothing for a bundle without one.
    void addLauncher(const QString& bundle) override;
    bool removeItems(const QString& path) override;
    void reload() override {}

private:
    std::unique_ptr<PinnedEntries> m_entries;
};
