#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// The Cinnamon applets that pin applications, as the "enabled-applets" key of "org.cinnamon"
// lists them: "panel1:left:2:grouped-window-list@cinnamon.org:7" is panel, zone, order, uuid
// and instance id.
struct CinnamonApplet {
    int panel = 0;
    int zone = 0; // left, center, right
    int order = 0;
    QString uuid;
    QString instanceId;

    // The setting that holds its pinned desktop ids.
    QString listKey() const;
    bool isWindowList() const;
};

namespace CinnamonApplets {

inline constexpr const char* windowListUuid = "grouped-window-list@cinnamon.org";
inline constexpr const char* launchersUuid = "panel-launchers@cinnamon.org";

// The window lists and panel launchers among `enabledApplets`, from the first panel's left
// end to the last panel's right end. Entries without an instance id (not yet upgraded by
// Cinnamon) have no settings file and are left out.
std::vector<CinnamonApplet> launcherApplets(const QStringList& enabledApplets);

// The key, read through GSettings; nothing when the org.cinnamon schema is not installed.
std::optional<QStringList> enabledApplets();

// The instance's settings file: `~/.config/cinnamon/spices/<uuid>/<instance>.json`, or the one
// in `~/.cinnamon/configs`, which Cinnamon still uses when it is the only one.
QString settingsFileOf(const CinnamonApplet& applet);

// Where the panel launchers applet keeps launchers made for it, by file name.
QString customLaunchersFolder();

} // namespace CinnamonApplets
