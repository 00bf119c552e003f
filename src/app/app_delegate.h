#pragma once

#include "app/tray_clicks.h"
#include "panel/floating_panel.h"
#include "settings/hot_key.h"

#include <QList>
#include <QObject>
#include <QPointF>
#include <QPointer>
#include <QRect>
#include <QSize>
#include <QStringList>
#include <QTimer>
#include <QUuid>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <thread>

class PanelView;
class QAction;
class QSystemTrayIcon;
class Store;
class TrayMenu;

// A screen in Qt's global coordinates: its whole area and the part free of panels.
struct ScreenGeometry {
    QRect geometry;
    QRect available;
};

// The one application delegate: owns the tray icon, the panel window and the settings
// window, runs the start-up sequence and opens, sizes, places and hides the panel.
class AppDelegate : public QObject {
    Q_OBJECT

public:
    // On the shared store.
    explicit AppDelegate(QObject* parent = nullptr);
    explicit AppDelegate(Store& store, QObject* parent = nullptr);
    ~AppDelegate() override;

    // The start-up sequence, once the event loop runs.
    void applicationDidFinishLaunching();
    // traymate:// URLs, as written, in the order they came.
    void openUrls(const QStringList& urls);
    // `traymate --toggle`: toggles the panel, or opens it once launch has finished.
    void toggleRequested();
    // A later start without arguments: brings the full panel up.
    void showRequested();
    void hotKeyPressed();
    // The desktop's token for the next window shown (the panel or the settings), so that it
    // gets the focus despite focus-stealing prevention; used once.
    void setActivationToken(const QString& token) { m_activationToken = token; }
    const QString& activationToken() const { return m_activationToken; }
    // Ends the launch feedback of a start that shows nothing (the panel is up already).
    void endLaunchFeedback(const QString& token);
    // A left click on the tray icon.
    void statusClicked();

    void showPanel(std::optional<QUuid> group);
    void hidePanel();
    void togglePanel();
    QSize panelSize() const;
    void position();
    void resizePanel();
    void hoverChanged(bool inside);
    void showSettings();

    FloatingPanel* panel() const { return m_panel; }
    // Null until the desktop has a tray for it.
    QSystemTrayIcon* statusItem() const { return m_statusItem; }
    TrayMenu* trayMenu() const { return m_trayMenu; }
    QWidget* settingsWindow() const { return m_settingsWindow; }
    const std::optional<QUuid>& pendingGroup() const { return m_pendingGroup; }
    // The anchor in Qt's global coordinates.
    const std::optional<QPointF>& anchor() const { return m_anchor; }
    // Forgets where the panel was summoned from, so it is placed as when opened from the tray.
    void clearAnchor() { m_anchor.reset(); }
    bool autoHidePending() const { return m_closeWork.isActive(); }
    // The view the next full opening will show, made while the panel is hidden and never shown
    // yet; null until the hide has settled, and while a compact form was the last one.
    PanelView* nextView() const;
    const QList<QAction*>& mainMenu() const { return m_mainMenu; }
    Store& store() const { return m_store; }
    HotKey& hotKey() { return m_hotKey; }

protected:
    // The launch steps and the desktop queries, in their own functions so tests can follow
    // the order and stand in for the desktop.
    virtual void buildMainMenu();
    virtual void buildPanel();
    virtual void buildStatusItem();
    // Runs `make` once a tray icon made then would land in the desktop's preferred tray.
    virtual void whenTrayReady(std::function<void()> make);
    virtual void observeHotKey();
    virtual void applyHotKey(int index);
    virtual void pruneMissing();
    virtual void checkForUpdates();
    virtual void importDock();
    // The pointer in Qt's global coordinates.
    virtual QPointF pointerPosition() const;
    // The screens in the desktop's order, and the index of the main one (-1 for none).
    virtual QList<ScreenGeometry> screens(int* mainScreen) const;

private:
    void autoHide();
    void makeStatusItem();
    // Shows, raises and activates `window` with the pending activation token.
    void present(QWidget* window);
    // Lets the view that was shown go, and has the next one made once the hide has settled.
    void panelOrderedOut();
    void prepareNextView();
    PanelView* makePanelContent(QWidget* parent = nullptr);
    QWidget* makeSettingsContent();

    Store& m_store;
    HotKey m_hotKey;
    QSystemTrayIcon* m_statusItem = nullptr; // a child of the delegate
    QPointer<FloatingPanel> m_panel;
    QPointer<QWidget> m_settingsWindow;
    std::optional<QUuid> m_pendingGroup;
    std::optional<QPointF> m_anchor;
    QTimer m_closeWork;
    QPointer<PanelView> m_nextView; // a child of the panel, outside its layout
    QTimer m_prepareWork;
    std::jthread m_fontsAhead;
    bool m_hoverEntered = false;
    bool m_pendingToggle = false;
    QList<QAction*> m_mainMenu;
    TrayMenu* m_trayMenu = nullptr; // a child of the delegate
    TrayClicks m_trayClicks;
    QString m_activationToken;
    std::unique_ptr<QObject> m_trayWatch; // looks for a tray until the icon is made
};
