#include "panel/panel_layout.h"

#include <algorithm>

QSize PanelLayout::compact(qsizetype count)
{
    const qsizetype items = std::max<qsizetype>(count, 1);
    const int width = count <= 3 ? 296 : 384;
    const int rows = int(std::min<qsizetype>((items + 3) / 4, 5));
    return {width, rows * 84 + 70};
}
