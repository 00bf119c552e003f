#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// Plasma's task managers and their "launchers" lists, in the order of the shell's panels()
// and each panel's widgets().
struct PlasmaTaskManager {
    int panelId = 0;
    int widgetId = 0;
    QStringList launchers;

    bool operator==(const PlasmaTaskManager&) const = default;
};

namespace PlasmaTaskManagers {

// The two applets that keep pinned launchers.
bool isTaskManager(const QString& pluginId);

// Read from the shell's own configuration, `~/.config/plasma-org.kde.plasma.desktop-appletsrc`,
// for when plasmashell is not running: the task managers of every panel containment (plugin
// "org.kde.panel"), panels and widgets by ascending id. Nothing when the file cannot be read.
std::optional<std::vector<PlasmaTaskManager>> readAppletsFile(const QString& path);
QString appletsFilePath();

// KConfig's list encoding: items joined by ",", with "\" and "," escaped by "\".
QStringList splitList(const QString& value);

} // namespace PlasmaTaskManagers
