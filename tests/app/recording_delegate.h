#pragma once

#include "app/app_delegate.h"
#include "model/store.h"

#include <QStringList>
#include <functional>

// A delegate whose launch steps are recorded, whose pointer and screens are set by the test,
// and which starts nothing outside the process (no hot key, no update check, no Dock).
class RecordingDelegate : public AppDelegate {
public:
    using AppDelegate::AppDelegate;

    QStringList calls;
    QPointF pointer{700, 450};
    QList<ScreenGeometry> screenList{{QRect(0, 0, 1440, 900), QRect(0, 25, 1440, 875)}};
    int mainScreen = 0;
    // Whether the panel was visible when the Dock import ran.
    bool panelVisibleAtImport = false;
    // Runs in place of the Dock import.
    std::function<void()> onImport;
    // Lets the update check really start, at the feed $TRAYMATE_UPDATE_FEED names.
    bool checksForUpdates = false;

protected:
    void buildMainMenu() override
    {
        calls << "buildMainMenu";
        AppDelegate::buildMainMenu();
    }
    void buildPanel() override
    {
        calls << "buildPanel";
        AppDelegate::buildPanel();
    }
    void buildStatusItem() override
    {
        calls << "buildStatusItem";
        AppDelegate::buildStatusItem();
    }
    // No desktop to wait for: the icon is made at once.
    void whenTrayReady(std::function<void()> make) override { make(); }
    void observeHotKey() override
    {
        calls << "observeHotKey";
        AppDelegate::observeHotKey();
    }
    void applyHotKey(int index) override { calls << QStringLiteral("applyHotKey %1").arg(index); }
    void pruneMissing() override { calls << "pruneMissing"; }
    void checkForUpdates() override
    {
        calls << "checkForUpdates";
        if (checksForUpdates)
            AppDelegate::checkForUpdates();
    }
    void importDock() override
    {
        calls << "importDock";
        panelVisibleAtImport = panel() && panel()->isVisible();
        if (onImport)
            onImport();
    }
    QPointF pointerPosition() const override { return pointer; }
    QList<ScreenGeometry> screens(int* main) const override
    {
        *main = mainScreen;
        return screenList;
    }
};
