#pragma once

#include "dock/dock_preferences.h"

#include <QString>

// The macOS Dock through its own tools: "defaults" reads and writes the domain, "killall Dock"
// restarts the Dock, which then reads it again. The tool paths can be pointed elsewhere so the
// exact calls can be checked with stand-in tools.
class ToolDockPreferences : public DockPreferences {
public:
    explicit ToolDockPreferences(QString defaultsTool = QStringLiteral("/usr/bin/defaults"),
                                 QString killallTool = QStringLiteral("/usr/bin/killall"));

    QByteArray exportDomain() override;
    void appendTile(const QString& tileText) override;
    void importDomain(const QString& file) override;
    void reload() override;

private:
    QString m_defaults;
    QString m_killall;
};
