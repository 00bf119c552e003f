#pragma once

#include "panel/panel_form.h"

class ItemGrid;
class ElidedLabel;
class GroupPicture;
class QLabel;
class Store;
class SymbolButton;

// The one-group form: the group's picture and name with "All groups" and "Close", and its
// items in a grid of up to four columns; no search, tabs, footer or file drop.
class CompactPanel : public PanelForm {
    Q_OBJECT

public:
    explicit CompactPanel(const Store& store, QWidget* parent = nullptr);

    void refresh() override;

    QWidget* iconLabel() const;
    QString shownName() const;
    SymbolButton* allGroupsButton() const { return m_allGroups; }
    SymbolButton* closeButton() const { return m_close; }
    ItemGrid* grid() const override { return m_grid; }

Q_SIGNALS:
    void allGroupsClicked();

protected:
    void showEvent(QShowEvent* event) override;

private:
    const Store& m_store;
    GroupPicture* m_icon;
    ElidedLabel* m_name;
    SymbolButton* m_allGroups;
    SymbolButton* m_close;
    ItemGrid* m_grid;
};
