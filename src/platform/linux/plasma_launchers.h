#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The items of a Plasma task manager's "launchers" setting: a URL ("applications:<id>",
// "file:///…/x.desktop", "preferred://browser"), optionally after "[activity,…]\n", which
// limits the launcher to those activities (the null uuid means all of them).
namespace PlasmaLaunchers {

// The installed entry `item` shows; nothing for URLs that name no entry (preferred://, an
// uninstalled application).
std::optional<QString> entryPathOf(const QString& item);

// Whether `item` is a launcher on every activity standing for `entryPath`: the id or the file
// URL of that entry. Launchers kept to some activities are the user's choice and never match.
bool standsFor(const QString& item, const QString& entryPath);

// The item for `entryPath` on every activity: its id when the entry lies in an applications
// folder and that id names it, as Plasma writes it itself, else its file URL.
QString launcherFor(const QString& entryPath);

// `items` less those that stand for `entryPath`, the rest in order.
QStringList without(const QStringList& items, const QString& entryPath);

} // namespace PlasmaLaunchers
