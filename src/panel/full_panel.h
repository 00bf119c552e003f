#pragma once

#include "panel/panel_form.h"

#include <QUuid>

class ItemGrid;
class QLineEdit;
class QPushButton;
class SymbolButton;
class Store;
class TabStrip;

// The full form: search and header buttons, the group tabs, the item grid and the footer.
class FullPanel : public PanelForm {
    Q_OBJECT

public:
    explicit FullPanel(const Store& store, QWidget* parent = nullptr);

    void refresh() override;

    QLineEdit* searchField() const { return m_search; }
    SymbolButton* pinButton() const { return m_pin; }
    SymbolButton* settingsButton() const { return m_settings; }
    SymbolButton* closeButton() const { return m_close; }
    TabStrip* tabStrip() const { return m_tabs; }
    ItemGrid* grid() const override { return m_grid; }
    QPushButton* footerButton(const QString& title) const;

Q_SIGNALS:
    void queryEdited(const QString& text);
    // Return in the search field: the first result opens.
    void searchSubmitted();
    // By the keyboard; a click on a tab comes from the tab strip.
    void groupSelected(const QUuid& group);
    void pinClicked();
    void settingsClicked();
    void addClicked();
    void importDockClicked();
    void newGroupClicked();
    void quitClicked();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Ctrl+Tab, Ctrl+PageDown and the like; true when `event` was one.
    bool switchGroupByKey(const QKeyEvent& event);
    void selectGroupAt(int index);
    void stepGroup(int step);

    const Store& m_store;
    QLineEdit* m_search;
    SymbolButton* m_pin;
    SymbolButton* m_settings;
    SymbolButton* m_close;
    TabStrip* m_tabs;
    ItemGrid* m_grid;
    QList<QPushButton*> m_footer;
};
