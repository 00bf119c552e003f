#pragma once

#include <QWidget>

class ItemGrid;

// The full or the compact form inside the panel view. A form shows what the store holds and
// signals what the user asks for; the view acts on it.
class PanelForm : public QWidget {
    Q_OBJECT

public:
    using QWidget::QWidget;

    // Reads everything it shows from the store again.
    virtual void refresh() = 0;
    virtual ItemGrid* grid() const = 0;

Q_SIGNALS:
    void closeClicked();
};
