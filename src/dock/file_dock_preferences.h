#pragma once

#include "dock/dock_preferences.h"

#include <QString>
#include <plist/plist.h>

// A stand-in for the Dock on desktops without one: the domain kept as an XML property list in
// a file of its own. A missing file is an empty domain; there is nothing to reload.
class FileDockPreferences : public DockPreferences {
public:
    // "$XDG_CONFIG_HOME/Traymate/com.apple.dock.plist".
    static QString defaultPath();

    explicit FileDockPreferences(QString path = defaultPath());

    QString path() const { return m_path; }

    QByteArray exportDomain() override;
    void appendTile(const QString& tileText) override;
    void importDomain(const QString& file) override;
    void reload() override {}

private:
    bool store(plist_t domain) const;

    QString m_path;
};
