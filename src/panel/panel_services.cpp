#include "panel/panel_services.h"

#include "app/app_delegate.h"
#include "dock/launchers.h"
#include "dock/text_utilities.h"
#include "panel/desktop_items.h"
#include "panel/file_chooser.h"

#include <QCoreApplication>

PanelServices PanelServices::desktop()
{
    PanelServices s;
    s.open = DesktopItems::open;
    s.reveal = DesktopItems::reveal;
    s.prompt = promptText;
    s.confirm = confirmAction;
    s.choose = runFileChooser;
    s.launcherRenamed = Launchers::renamed;
    s.launcherRemoved = Launchers::removed;
    s.launcherRefresh = Launchers::refreshNow;
    s.addToDock = Launchers::addToDock;
    s.hidePanel = [] {
        if (AppDelegate* delegate = AppDelegate::current())
            delegate->hidePanel();
    };
    s.showSettings = [] {
        if (AppDelegate* delegate = AppDelegate::current())
            delegate->showSettings();
    };
    s.clearAnchor = [] {
        if (AppDelegate* delegate = AppDelegate::current())
            delegate->clearAnchor();
    };
    s.resizePanel = [] {
        if (AppDelegate* delegate = AppDelegate::current())
            delegate->resizePanel();
    };
    s.hoverChanged = [](bool inside) {
        if (AppDelegate* delegate = AppDelegate::current())
            delegate->hoverChanged(inside);
    };
    s.quit = [] { QCoreApplication::quit(); };
    return s;
}
