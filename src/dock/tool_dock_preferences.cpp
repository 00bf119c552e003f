#include "dock/tool_dock_preferences.h"

#include "dock/tool_runner.h"

namespace {

const QString kDomain = QStringLiteral("com.apple.dock");

} // namespace

ToolDockPreferences::ToolDockPreferences(QString defaultsTool, QString killallTool)
    : m_defaults(std::move(defaultsTool))
    , m_killall(std::move(killallTool))
{
}

QByteArray ToolDockPreferences::exportDomain()
{
    return runTool(m_defaults, {QStringLiteral("export"), kDomain, QStringLiteral("-")});
}

void ToolDockPreferences::appendTile(const QString& tileText)
{
    runTool(m_defaults, {QStringLiteral("write"), kDomain, QStringLiteral("persistent-apps"),
                         QStringLiteral("-array-add"), tileText});
}

void ToolDockPreferences::importDomain(const QString& file)
{
    runTool(m_defaults, {QStringLiteral("import"), kDomain, file});
}

void ToolDockPreferences::reload()
{
    runTool(m_killall, {QStringLiteral("Dock")});
}
