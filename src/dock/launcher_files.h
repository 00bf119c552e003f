#pragma once

#include "model/app_group.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>
#include <QUuid>
#include <optional>

// The exact content of a launcher bundle and of the texts that point at it.
namespace Launchers {

// Prefixes each launcher's bundle identifier: "org.traymate.Traymate.group.<UUID>".
inline const QString bundleIdentifierPrefix = QStringLiteral("org.traymate.Traymate");

// The group name as a single path component: every "/" becomes "-", every control character
// a space, and what XML cannot hold (U+FFFE, U+FFFF, a lone surrogate) U+FFFD.
QString bundleSafeName(const QString& name);

// The bundle's file name for a group name: the safe name, " <copy>" from the second copy on,
// and ".app", the name cut at a character boundary so that the whole fits the file system's
// 255 bytes.
QString bundleFileName(const QString& name, int copy = 1);

// The group a bundle's script opens; nothing when the bundle holds no launcher script.
std::optional<QUuid> scriptGroup(const QString& bundle);

QByteArray infoPlist(const AppGroup& group);
QByteArray launchScript(const AppGroup& group);
// "<bundle>/Contents/MacOS/launch" and "<bundle>/Contents/Resources/icon.png".
QString scriptPath(const QString& bundle);
QString iconPath(const QString& bundle);

// Name, icon path and first four items of each group: what a launcher icon shows.
QString signature(const QList<AppGroup>& groups);

// The Dock tile for a bundle, as property-list text.
QString tileText(const QString& bundlePath);

// The launcher's desktop entry: the group's name, running the bundle's script, showing the
// bundle's icon.
QByteArray desktopEntry(const AppGroup& group, const QString& bundle);

// The bundle's custom icon: the image as the bundle's PNG, then the desktop entry that shows
// it. False when the PNG could not be written (the entry is then left as it was).
bool setBundleIcon(const QImage& image, const AppGroup& group, const QString& bundle);
// The two halves of setBundleIcon.
bool writeBundleIcon(const QImage& image, const QString& bundle);
void writeDesktopEntry(const AppGroup& group, const QString& bundle);

} // namespace Launchers
