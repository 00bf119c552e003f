#include "panel/footer_flow.h"

#include <algorithm>

namespace FooterFlow {

Placement arrange(const QList<QSize>& hints, int width, int spacing)
{
    Placement placement;
    if (hints.isEmpty())
        return placement;
    width = std::max(1, width);
    int rowHeight = 0;
    for (const QSize& hint : hints)
        rowHeight = std::max(rowHeight, hint.height());
    int x = 0;
    int row = 0;
    for (qsizetype i = 0; i < hints.size(); ++i) {
        const int w = std::min(hints[i].width(), width);
        if (x > 0 && x + w > width) {
            ++row;
            x = 0;
        }
        const bool last = i == hints.size() - 1;
        const int left = last ? width - w : x;
        placement.boxes.append(QRect(left, row * (rowHeight + spacing), w, rowHeight));
        x += w + spacing;
    }
    placement.rows = row + 1;
    placement.height = placement.rows * rowHeight + row * spacing;
    return placement;
}

} // namespace FooterFlow
