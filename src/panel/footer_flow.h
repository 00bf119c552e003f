#pragma once

#include <QList>
#include <QRect>
#include <QSize>

namespace FooterFlow {

// Where the footer's buttons go in `width`: in order from the left, the last one at the right
// end; a button that no longer fits on its row starts the next row, and one wider than the
// whole footer is cut to its width. `heights` of the rows are those of the tallest hint.
struct Placement {
    QList<QRect> boxes;
    int height = 0;
    int rows = 0;
};
Placement arrange(const QList<QSize>& hints, int width, int spacing);

} // namespace FooterFlow
