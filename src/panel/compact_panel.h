#pragma once

#include <QWidget>

class PanelView;
class ItemGrid;
class ElidedLabel;
class GroupPicture;
class QLabel;
class SymbolButton;

// The one-group form: the group's picture and name with "All groups" and "Close", and its
// items in a grid of up to four columns; no search, tabs, footer or file drop.
class CompactPanel : public QWidget {
    Q_OBJECT

public:
    explicit CompactPanel(PanelView& view, QWidget* parent = nullptr);

    void refresh();

    QWidget* iconLabel() const;
    QString shownName() const;
    SymbolButton* allGroupsButton() const { return m_allGroups; }
    SymbolButton* closeButton() const { return m_close; }
    ItemGrid* grid() const { return m_grid; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    PanelView& m_view;
    GroupPicture* m_icon;
    ElidedLabel* m_name;
    SymbolButton* m_allGroups;
    SymbolButton* m_close;
    ItemGrid* m_grid;
};
