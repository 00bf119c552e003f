#pragma once

#include "dock/dock.h"

#include <QByteArray>
#include <QString>

// A dock that keeps its tiles in the property-list domain "com.apple.dock" (the macOS Dock, the
// stand-in file), reached through four operations only. The launcher operations are written
// once over them: a removal exports, edits a private copy, and imports it back.
class DockPreferences : public Dock {
public:
    // The whole domain as a property list in any format; empty when it cannot be read.
    virtual QByteArray exportDomain() = 0;
    // Appends one tile, given as property-list text, to the end of "persistent-apps".
    virtual void appendTile(const QString& tileText) = 0;
    // Replaces the whole domain with the property list in `file`.
    virtual void importDomain(const QString& file) = 0;

    QStringList items() override;
    void addLauncher(const QString& bundle) override;
    bool removeItems(const QString& path) override;
};
