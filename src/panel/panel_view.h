#pragma once

#include "model/app_group.h"
#include "panel/group_actions.h"
#include "panel/panel_model.h"
#include "panel/panel_services.h"

#include <QPointer>
#include <QStringList>
#include <QUrl>
#include <QWidget>
#include <optional>

class Store;
class FullPanel;
class CompactPanel;
class ItemGrid;
class PanelDrag;
class PanelForm;
class QMenu;

// The content of the panel window: the full or the compact form, chosen by the store's
// `compact` flag, on a rounded translucent background. It keeps no copy of the groups: every
// value it shows is read from the store when it redraws, which it does on every change. The
// forms only show and signal; the view acts on what they signal.
class PanelView : public QWidget {
    Q_OBJECT

public:
    // On the real desktop, with no shell behind it; the shell passes its own services.
    explicit PanelView(Store& store, QWidget* parent = nullptr);
    PanelView(Store& store, PanelServices services, QWidget* parent = nullptr);
    ~PanelView() override;

    Store& store() const { return m_store; }

    // Derived values, computed afresh on every read.
    std::optional<AppGroup> current() const;
    bool searching() const;
    QStringList results() const;
    static GridColumns cols();
    GridColumns compactCols() const;
    QSize panelSize() const;

    // Opens an item without waiting for it, then hides the panel unless "closeAfterLaunch"
    // holds false.
    void launch(const QString& path);

    // File URLs dropped from outside on the item area; the group is fixed now, the items are
    // added once the event loop turns. False when there is no group to take them.
    bool handleDrop(const QList<QUrl>& urls);
    void addDropped(const QList<QUrl>& urls, const QUuid& group);
    void addItems();
    void chooseIcon(const AppGroup& group);
    // From the compact form back to the full one, in place.
    void showFull();

    // The group tab's and the item tile's context menus; the menus are built afresh each time.
    QMenu* groupMenu(const AppGroup& group);
    QMenu* itemMenu(const QString& path);
    void showGroupMenu(const AppGroup& group, const QPoint& globalPos);
    void showItemMenu(const QString& path, const QPoint& globalPos);
    void newGroup();
    // The group actions on this view's store and services.
    GroupActions actions() const { return {m_store, m_services}; }

    // What the panel asks of the desktop; replaced in tests.
    const PanelServices& services() const { return m_services; }
    void setServices(PanelServices services) { m_services = std::move(services); }

    // The form now shown (for tests and screenshots).
    PanelForm* form() const;
    // Loads what the first paint of the items in view needs, while the display server maps
    // the window: the first paint is then only drawing.
    void loadItemsInView() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void refresh();
    void rebuildForm();
    FullPanel* makeFull();
    CompactPanel* makeCompact();
    void connectGrid(ItemGrid* grid);
    void trackDrag(PanelDrag* drag);
    QRect contentRect() const;
    void reportPointerAfterMenu();

    Store& m_store;
    PanelServices m_services;
    QPointer<PanelForm> m_form;
    bool m_formIsCompact = false;
    QSize m_laidOutSize;
};
