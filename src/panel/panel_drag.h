#pragma once

#include <QObject>

// One in-panel drag, from its start until QDrag::exec() returns. It lives on the stack of the
// widget the drag started from, so it ends also when that widget went away during the drag;
// the owner that recorded the drag in the store forgets it at ended().
class PanelDrag : public QObject {
    Q_OBJECT

public:
    PanelDrag() = default;
    ~PanelDrag() override { Q_EMIT ended(); }

Q_SIGNALS:
    void ended();
};
