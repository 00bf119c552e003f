#pragma once

#include <QIcon>
#include <QString>

// The tray icon: a 2 by 2 grid of rounded squares, drawn at whatever size the tray asks for, so
// it stays crisp at every scale. Light squares with a dark rim read on light and dark panels.
namespace TrayIcon {

QIcon make();

// "Traymate", and below it why the groups are not saved while a save problem stands.
QString toolTip(const QString& saveProblem);

} // namespace TrayIcon
