#pragma once

#include <QWidget>

class PanelView;
class ItemGrid;
class QLineEdit;
class QPushButton;
class SymbolButton;
class TabStrip;

// The full form: search and header buttons, the group tabs, the item grid and the footer.
class FullPanel : public QWidget {
    Q_OBJECT

public:
    explicit FullPanel(PanelView& view, QWidget* parent = nullptr);

    // Reads everything it shows from the view's store again.
    void refresh();

    QLineEdit* searchField() const { return m_search; }
    SymbolButton* pinButton() const { return m_pin; }
    SymbolButton* settingsButton() const { return m_settings; }
    SymbolButton* closeButton() const { return m_close; }
    TabStrip* tabStrip() const { return m_tabs; }
    ItemGrid* grid() const { return m_grid; }
    QPushButton* footerButton(const QString& title) const;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Ctrl+Tab, Ctrl+PageDown and the like; true when `event` was one.
    bool switchGroupByKey(const QKeyEvent& event);
    void selectGroupAt(int index);
    void stepGroup(int step);

    PanelView& m_view;
    QLineEdit* m_search;
    SymbolButton* m_pin;
    SymbolButton* m_settings;
    SymbolButton* m_close;
    TabStrip* m_tabs;
    ItemGrid* m_grid;
    QList<QPushButton*> m_footer;
};
