#include "panel/panel_services.h"

#include "dock/launchers.h"
#include "panel/file_chooser.h"
#include "panel/prompts.h"
#include "platform/item_opening.h"

#include <QCoreApplication>

PanelServices PanelServices::desktop()
{
    PanelServices s;
    s.open = ItemOpening::open;
    s.reveal = ItemOpening::reveal;
    s.prompt = promptText;
    s.confirm = confirmAction;
    s.choose = runFileChooser;
    s.launcherRenamed = Launchers::renamed;
    s.launcherRemoved = Launchers::removed;
    s.launcherRefresh = Launchers::refreshNow;
    s.addToDock = Launchers::addToDock;
    // The shell binds these to itself when it builds the panel; alone, a panel has none.
    s.hidePanel = [] {};
    s.showSettings = [] {};
    s.clearAnchor = [] {};
    s.resizePanel = [] {};
    s.hoverChanged = [](bool) {};
    s.quit = [] { QCoreApplication::quit(); };
    return s;
}
