#include "dock/dock_preferences.h"

#include "dock/dock_choice.h"
#include "dock/tool_dock_preferences.h"

namespace {

std::unique_ptr<DockPreferences>& currentDock()
{
    static std::unique_ptr<DockPreferences> dock;
    return dock;
}

} // namespace

DockPreferences& DockPreferences::current()
{
    std::unique_ptr<DockPreferences>& dock = currentDock();
    if (!dock)
        dock = makePlatformDockPreferences();
    return *dock;
}

std::unique_ptr<DockPreferences> DockPreferences::setCurrent(std::unique_ptr<DockPreferences> dock)
{
    std::unique_ptr<DockPreferences> previous = std::move(currentDock());
    currentDock() = std::move(dock);
    return previous;
}

std::unique_ptr<DockPreferences> makePlatformDockPreferences()
{
#if defined(Q_OS_MACOS)
    return std::make_unique<ToolDockPreferences>();
#else
    return makeChosenDockPreferences();
#endif
}
