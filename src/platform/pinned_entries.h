#pragma once

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

// The panels and docks of Linux desktops pin desktop entries: GNOME's dash, Plank, Xfce's
// launcher plugins, Plasma's task managers, Cinnamon's window list, MATE's launchers. Each is
// one implementation of this interface, named by absolute desktop-entry paths; the dock code
// above maps the program's launcher bundles to their entries.
class PinnedEntries {
public:
    virtual ~PinnedEntries() = default;

    // The pinned entries in the desktop's order, as absolute paths. Pinned items that name no
    // installed entry (an uninstalled program, a URL) are left out here, but every edit keeps
    // them where they are. Nothing when the desktop's list cannot be read.
    virtual std::optional<QStringList> entries() = 0;
    // Pins `entryPath` at the end, shown by the running desktop within a few seconds and
    // without a dialog. False when the desktop refused (locked, kiosk, no such panel), in
    // which case nothing changed.
    virtual bool pin(const QString& entryPath) = 0;
    // Unpins every item that stands for `entryPath`; all others keep their place. False when
    // the desktop refused, in which case nothing changed.
    virtual bool unpin(const QString& entryPath) = 0;
};

// The pinned entries of the panel or dock this process edits on this desktop; none where the
// program keeps its own stand-in list instead.
std::unique_ptr<PinnedEntries> makeDesktopPinnedEntries();
