#include "app/app_delegate.h"

#include "app/edit_actions.h"
#include "app/first_import.h"
#include "app/heap_trim.h"
#include "app/startup_timeline.h"
#include "app/tray_icon.h"
#include "app/tray_menu.h"
#include "app/url_opening.h"
#include "dock/dock_import.h"
#include "model/store.h"
#include "panel/desktop_items.h"
#include "panel/floating_panel.h"
#include "panel/panel_layout.h"
#include "panel/panel_model.h"
#include "panel/panel_services.h"
#include "panel/panel_state.h"
#include "panel/panel_view.h"
#include "panel/placement.h"
#include "platform/desktop.h"
#include "settings/preferences.h"
#include "settings/settings_view.h"
#include "settings/update_checker.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QVBoxLayout>
#include <utility>

namespace {

constexpr auto statusClickGuard = std::chrono::milliseconds(250);
constexpr int autoHideDelayMs = 350;
constexpr QSize settingsSize(420, 540);
// Long enough for an opening to have painted and freed what building it took.
constexpr auto settleDelay = std::chrono::seconds(1);
// From a hide to making the next opening's view: past the unmapping and the focus change, and
// past a quick second press that reopens the panel at once.
constexpr auto prepareDelay = std::chrono::milliseconds(200);

} // namespace

AppDelegate::AppDelegate(QObject* parent)
    : AppDelegate(Store::shared(), parent)
{
}

AppDelegate::AppDelegate(Store& store, QObject* parent)
    : QObject(parent)
    , m_store(store)
    , m_trayClicks(std::chrono::milliseconds(QApplication::doubleClickInterval()))
{
    m_closeWork.setSingleShot(true);
    m_closeWork.setInterval(autoHideDelayMs);
    connect(&m_closeWork, &QTimer::timeout, this, &AppDelegate::autoHide);
    m_prepareWork.setSingleShot(true);
    m_prepareWork.setInterval(prepareDelay);
    connect(&m_prepareWork, &QTimer::timeout, this, &AppDelegate::prepareNextView);
}

AppDelegate::~AppDelegate()
{
    delete m_panel;
    delete m_settingsWindow;
}

void AppDelegate::applicationDidFinishLaunching()
{
    buildMainMenu();
    StartupTimeline::mark("main menu");
    buildPanel();
    StartupTimeline::mark("panel window");
    buildStatusItem();
    StartupTimeline::mark("status item");
    observeHotKey();
    applyHotKey(Preferences::intValue(Preferences::hotkeyIndex, 0));
    StartupTimeline::mark("hot key");
    pruneMissing();
    StartupTimeline::mark("pruned");
    checkForUpdates();
    StartupTimeline::mark("update check");

    if (FirstImport::runOnce(m_store, [this] { importDock(); }))
        showPanel(std::nullopt);
    StartupTimeline::mark("first import");

    if (m_pendingToggle) {
        m_pendingToggle = false;
        if (!m_panel->isVisible())
            showPanel(std::nullopt);
    }
    if (m_pendingGroup) {
        const QUuid id = *m_pendingGroup;
        m_pendingGroup.reset();
        showPanel(id);
    }
    QTimer::singleShot(settleDelay, this, &HeapTrim::release);
    // Off the start path, where it would compete with launch for the processor, and before
    // the first opening, which would otherwise wait for it. After a start that opened the
    // panel it finds the configuration loaded and ends at once.
    QTimer::singleShot(settleDelay, this, [this] { m_fontsAhead = Desktop::loadFontsAhead(); });
}

void AppDelegate::buildMainMenu()
{
    m_mainMenu.clear();
    auto* quit = new QAction(tr("Quit Traymate"), this);
    quit->setShortcut(QKeySequence(QStringLiteral("Ctrl+Q")));
    connect(quit, &QAction::triggered, qApp, &QCoreApplication::quit);
    m_mainMenu.append(quit);
    m_mainMenu.append(EditActions::make(this));
}

void AppDelegate::buildPanel()
{
    delete m_panel;
    m_panel = new FloatingPanel(m_store);
    m_panel->addActions(m_mainMenu);
    connect(m_panel, &FloatingPanel::orderedOut, this, &AppDelegate::panelOrderedOut);
    m_panel->winId(); // the native window exists from now on, so the desktop can find it
}

void AppDelegate::buildStatusItem()
{
    m_trayMenu = new TrayMenu(m_store, this);
    connect(m_trayMenu, &TrayMenu::panelRequested, this, [this] { showPanel(std::nullopt); });
    connect(m_trayMenu, &TrayMenu::groupRequested, this, [this](const QUuid& id) {
        // The full panel, opened on that group.
        m_store.setSelected(id);
        showPanel(std::nullopt);
    });
    connect(m_trayMenu, &TrayMenu::settingsRequested, this, &AppDelegate::showSettings);
    connect(m_trayMenu, &TrayMenu::quitRequested, qApp, &QCoreApplication::quit);

    // Without a tray the icon never comes; start-up goes on, and the hot key and
    // `traymate --toggle` still reach the panel.
    whenTrayReady([this] { makeStatusItem(); });
}

void AppDelegate::whenTrayReady(std::function<void()> make)
{
    m_trayWatch = Desktop::whenTrayReady(std::move(make));
}

void AppDelegate::makeStatusItem()
{
    if (m_statusItem)
        return;
    m_statusItem = new QSystemTrayIcon(TrayIcon::make(), this);
    m_statusItem->setToolTip(TrayIcon::toolTip(m_store.saveProblem()));
    connect(&m_store, &Store::saveProblemChanged, m_statusItem,
            [this] { m_statusItem->setToolTip(TrayIcon::toolTip(m_store.saveProblem())); });
    m_statusItem->setContextMenu(m_trayMenu->menu());
    connect(m_statusItem, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (m_trayClicks.toggles(reason, TrayClicks::Clock::now()))
                    statusClicked();
            });
    m_statusItem->show();
}

void AppDelegate::observeHotKey()
{
    connect(&m_hotKey, &HotKey::pressed, this, &AppDelegate::hotKeyPressed);
}

void AppDelegate::applyHotKey(int index)
{
    m_hotKey.apply(index);
}
void AppDelegate::pruneMissing()
{
    m_store.pruneMissing();
}
void AppDelegate::checkForUpdates()
{
    // Sent once launch has finished and any panel it opens is on screen: the reply comes
    // later anyway, and the panel need not wait for a process to start.
    QTimer::singleShot(0, this, [] { UpdateChecker::shared().check(); });
}
void AppDelegate::importDock()
{
    DockImport::importDockGrouped(m_store);
}

void AppDelegate::openUrls(const QStringList& urls)
{
    // Each URL would replace the panel the one before it opened, so only the last one that
    // names a group is acted on: thousands of URLs build one panel.
    std::optional<QUuid> id;
    for (auto url = urls.crbegin(); url != urls.crend() && !id; ++url)
        id = groupIdOfUrl(*url);
    if (!id)
        return;
    if (m_panel)
        showPanel(*id);
    else
        m_pendingGroup = *id;
}

void AppDelegate::toggleRequested()
{
    if (m_panel)
        togglePanel();
    else
        m_pendingToggle = true;
}

void AppDelegate::showRequested()
{
    if (!m_panel)
        m_pendingToggle = true;
    else if (!m_panel->isVisible())
        showPanel(std::nullopt);
}

void AppDelegate::hotKeyPressed()
{
    togglePanel();
}

void AppDelegate::statusClicked()
{
    // Compared this way round: now minus the distant past would overflow.
    if (!m_panel || PanelState::lastHidden > PanelState::Clock::now() - statusClickGuard)
        return;
    if (m_panel->isVisible())
        m_panel->orderOut();
    else
        showPanel(std::nullopt);
}

void AppDelegate::showPanel(std::optional<QUuid> group)
{
    if (!m_panel)
        return;
    StartupTimeline::mark("panel asked for");
    m_prepareWork.stop();
    // The view made after the last hide serves a full opening. A compact one drops it first:
    // it would follow the store's changes below and build the other form for nothing.
    PanelView* ready = nullptr;
    if (group)
        delete m_nextView;
    else
        ready = m_nextView;
    m_nextView.clear();
    // The view of the last opening goes first, for the same reason.
    m_panel->setContent(nullptr);
    if (group)
        m_store.setSelected(group);
    // Set only when they differ: each change redraws the view made ahead.
    if (m_store.compact() != group.has_value())
        m_store.setCompact(group.has_value());
    m_hoverEntered = false;
    m_closeWork.stop();
    m_anchor = group ? std::optional<QPointF>(pointerPosition()) : std::nullopt;
    if (!m_store.query().isEmpty())
        m_store.setQuery(QString());

    if (ready)
        DesktopItems::retryStandInIcons(); // as a view made now does: icons load at its paint
    m_panel->setContent(ready ? ready : makePanelContent());
    m_panel->resize(panelSize());
    position();

    StartupTimeline::mark("panel content");
    present(m_panel);
    StartupTimeline::mark("panel shown");
    StartupTimeline::markAfterNextPaint(m_panel, "panel painted");
    // While the display server and the window manager map the window, which takes longer.
    if (auto* view = qobject_cast<PanelView*>(m_panel->content()))
        view->loadItemsInView();

    // Once more after this event: the window manager may have moved the window on mapping.
    QTimer::singleShot(0, this, &AppDelegate::position);
    QTimer::singleShot(settleDelay, this, &HeapTrim::release);
}

void AppDelegate::hidePanel()
{
    if (m_panel)
        m_panel->orderOut();
}

void AppDelegate::panelOrderedOut()
{
    // Hidden, the view that was shown is of no more use: every opening shows one never shown.
    m_panel->setContent(nullptr);
    if (!m_nextView)
        m_prepareWork.start();
}

PanelView* AppDelegate::nextView() const
{
    return m_nextView;
}

void AppDelegate::prepareNextView()
{
    // Only for the full form, the one the hot key and the tray open, and only while hidden.
    if (!m_panel || m_panel->isVisible() || m_nextView || m_store.compact())
        return;
    m_nextView = makePanelContent(m_panel);
    QTimer::singleShot(settleDelay, this, &HeapTrim::release);
}

void AppDelegate::togglePanel()
{
    if (!m_panel)
        return;
    if (m_panel->isVisible())
        m_panel->orderOut();
    else
        showPanel(std::nullopt);
}

QSize AppDelegate::panelSize() const
{
    if (!m_store.compact())
        return PanelLayout::full;
    // Sized for the group the content shows: the selected one, else the first, so that an id
    // of no group gives a window that fits what is drawn in it.
    const std::optional<AppGroup> shown = PanelModel::current(m_store.groups(), m_store.selected());
    return PanelLayout::compact(shown ? shown->apps.size() : 0);
}

void AppDelegate::position()
{
    if (!m_panel)
        return;
    int main = -1;
    const QList<ScreenGeometry> qtScreens = screens(&main);
    const QRect reference = main >= 0             ? qtScreens.at(main).geometry
                            : qtScreens.isEmpty() ? QRect()
                                                  : qtScreens.first().geometry;
    const PlacementSpace space(reference);

    Placement::Request request;
    request.mode = Preferences::intValue(Preferences::panelPosition, 0);
    if (m_anchor)
        request.anchor = space.toPlacement(*m_anchor);
    for (const ScreenGeometry& screen : qtScreens)
        request.screens.append(
            {space.toPlacement(screen.geometry), space.toPlacement(screen.available)});
    request.mainScreen = main;
    request.size = panelSize();
    if (Placement::usesPointer(request))
        request.pointer = space.toPlacement(pointerPosition());

    m_panel->setGeometry(space.toQt(Placement::origin(request), request.size));
    m_panel->update();
}

void AppDelegate::resizePanel()
{
    if (!m_panel)
        return;
    m_panel->resize(panelSize());
    position();
}

void AppDelegate::hoverChanged(bool inside)
{
    if (!m_store.compact())
        return;
    if (inside) {
        m_hoverEntered = true;
        m_closeWork.stop();
        return;
    }
    if (!m_hoverEntered || m_store.pinned() || PanelState::keepOpen)
        return;
    m_closeWork.start();
}

void AppDelegate::autoHide()
{
    // A panel hidden meanwhile stays as it is: hiding it again would move lastHidden and make
    // the next tray click count as the click that hid it.
    if (!m_panel || !m_panel->isVisible() ||
        m_panel->geometry().contains(pointerPosition().toPoint()))
        return;
    m_panel->orderOut();
}

void AppDelegate::showSettings()
{
    if (!m_settingsWindow) {
        auto* window =
            new QWidget(nullptr, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                                     Qt::CustomizeWindowHint);
        window->setWindowTitle(tr("Traymate Settings"));
        window->setAttribute(Qt::WA_QuitOnClose, false);
        window->setFixedSize(settingsSize);
        auto* layout = new QVBoxLayout(window);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(makeSettingsContent());
        window->addActions(m_mainMenu);
        // Centred once; a reopened window comes back where the user left it.
        int main = -1;
        const QList<ScreenGeometry> all = screens(&main);
        if (!all.isEmpty()) {
            const QRect area = all.at(main >= 0 ? main : 0).available;
            window->move(area.center() -
                         QPoint(settingsSize.width() / 2, settingsSize.height() / 2));
        }
        m_settingsWindow = window;
    }
    if (m_panel)
        m_panel->orderOut();
    // show() alone leaves a minimised window minimised.
    m_settingsWindow->setWindowState(m_settingsWindow->windowState() & ~Qt::WindowMinimized);
    present(m_settingsWindow);
}

void AppDelegate::present(QWidget* window)
{
    const QString token = std::exchange(m_activationToken, QString());
    window->winId(); // the native window the token goes on
    Desktop::prepareActivation(window->windowHandle(), token);
    window->show();
    window->raise();
    window->activateWindow();
    Desktop::completeActivation(window->windowHandle(), token);
}

void AppDelegate::endLaunchFeedback(const QString& token)
{
    if (m_panel)
        Desktop::completeActivation(m_panel->windowHandle(), token);
}

QPointF AppDelegate::pointerPosition() const
{
    return QCursor::pos();
}

QList<ScreenGeometry> AppDelegate::screens(int* mainScreen) const
{
    QList<ScreenGeometry> result;
    const QList<QScreen*> all = QGuiApplication::screens();
    *mainScreen = int(all.indexOf(QGuiApplication::primaryScreen()));
    for (const QScreen* screen : all)
        result.append({screen->geometry(), screen->availableGeometry()});
    return result;
}

PanelView* AppDelegate::makePanelContent(QWidget* parent)
{
    // Guarded: a prompt's copy of the services may outlive the delegate.
    const QPointer<AppDelegate> self(this);
    const auto bound = [self](void (AppDelegate::*method)()) {
        return [self, method] {
            if (self)
                (self.data()->*method)();
        };
    };
    PanelServices services = PanelServices::desktop();
    services.hidePanel = bound(&AppDelegate::hidePanel);
    services.showSettings = bound(&AppDelegate::showSettings);
    services.clearAnchor = bound(&AppDelegate::clearAnchor);
    services.resizePanel = bound(&AppDelegate::resizePanel);
    services.hoverChanged = [self](bool inside) {
        if (self)
            self->hoverChanged(inside);
    };
    return new PanelView(m_store, std::move(services), parent);
}

QWidget* AppDelegate::makeSettingsContent()
{
    auto* view = new SettingsView(&m_hotKey);
    connect(view, &SettingsView::hotKeyChosen, this, &AppDelegate::applyHotKey);
    return view;
}
