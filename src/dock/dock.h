#pragma once

#include <QString>
#include <QStringList>
#include <memory>

// What the program does with the Dock, in the terms of its launchers: read what is pinned, pin
// a launcher, unpin it. Each desktop's dock is one subclass.
class Dock {
public:
    virtual ~Dock() = default;

    // Where each pinned item points, in the dock's order, duplicates kept: a desktop entry's or
    // any other file's path, or for the program's own launchers the launcher bundle's path.
    // Items that point nowhere are left out; empty when the dock cannot be read.
    virtual QStringList items() = 0;
    // Pins a built launcher bundle at the end.
    virtual void addLauncher(const QString& bundle) = 0;
    // Unpins every item whose path is `path`; every other item keeps its place. True when an
    // item went, so that the dock must be made to show it.
    virtual bool removeItems(const QString& path) = 0;
    // Makes the dock show what is stored.
    virtual void reload() = 0;

    // The process-wide dock; made on first use for the platform the program runs on.
    static Dock& current();
    // Puts another dock in place (tests do) and hands back the one it replaces.
    static std::unique_ptr<Dock> setCurrent(std::unique_ptr<Dock> dock);
};

// The dock for this platform: the preferences tools on macOS, elsewhere the desktop's pinned
// entries, or the stand-in file where the desktop gives none.
std::unique_ptr<Dock> makePlatformDock();
