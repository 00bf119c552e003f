#pragma once

#include "platform/pinned_entries.h"

#include <QString>
#include <memory>

typedef struct _GSettingsSchemaSource GSettingsSchemaSource;

// Which dock the program edits on Linux.
enum class DockKind { Gnome, Plank, Xfce, Mate, Plasma, Cinnamon, File };

// What the choice looks at.
struct DockSurroundings {
    QString requested;      // TRAYMATE_DOCK: "gnome", "plank", "xfce", "mate", "plasma",
                            // "cinnamon" or "file"
    QString currentDesktop; // XDG_CURRENT_DESKTOP, a ":"-separated list
    bool gnomeShellSchema = false;
    bool plankFolder = false;
    bool plankRunning = false;
};

// The dock asked for by name; else GNOME Shell's dash on GNOME with its schema installed; else
// Plank when its launcher folder exists or it runs; else the panel of Xfce, MATE, KDE Plasma or
// Cinnamon on those desktops; else the stand-in file.
DockKind chooseDock(const DockSurroundings& surroundings);

// The surroundings of this process; the schema is looked up in `source` (the default one when
// null). Whether Plank runs is asked of the session bus only when nothing before decides.
DockSurroundings observeDockSurroundings(GSettingsSchemaSource* source = nullptr);

// Whether Plank holds its name on the session bus.
bool plankIsRunning();

// The pinned entries of that kind's panel; none for the stand-in file.
std::unique_ptr<PinnedEntries> makePinnedEntries(DockKind kind);
