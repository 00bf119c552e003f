#include "dock/dock.h"

#include "dock/file_dock_preferences.h"
#include "dock/pinned_entries_dock.h"
#include "dock/tool_dock_preferences.h"

namespace {

std::unique_ptr<Dock>& currentDock()
{
    static std::unique_ptr<Dock> dock;
    return dock;
}

} // namespace

Dock& Dock::current()
{
    std::unique_ptr<Dock>& dock = currentDock();
    if (!dock)
        dock = makePlatformDock();
    return *dock;
}

std::unique_ptr<Dock> Dock::setCurrent(std::unique_ptr<Dock> dock)
{
    std::unique_ptr<Dock> previous = std::move(currentDock());
    currentDock() = std::move(dock);
    return previous;
}

std::unique_ptr<Dock> makePlatformDock()
{
#if defined(Q_OS_MACOS)
    return std::make_unique<ToolDockPreferences>();
#else
    if (std::unique_ptr<PinnedEntries> entries = makeDesktopPinnedEntries())
        return std::make_unique<PinnedEntriesDock>(std::move(entries));
    return std::make_unique<FileDockPreferences>();
#endif
}
