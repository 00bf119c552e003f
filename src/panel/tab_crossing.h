#pragma once

#include <QUuid>

// When a group dragged along the tabs takes the place of the tab it is over: once per
// crossing. After a move the tab it passed lies under the pointer again, at its new place (a
// short tab over a long one); entering it there is the same crossing, not a new one. The
// crossing is over once the pointer has been over the dragged group's own tab.
class TabCrossing {
public:
    // A new drag of a group starts.
    void reset() { m_passed = QUuid(); }

    // The pointer entered the tab of `target` while `dragged` is dragged: whether the dragged
    // group moves to its place now.
    bool enter(const QUuid& dragged, const QUuid& target);

private:
    QUuid m_passed;
};
