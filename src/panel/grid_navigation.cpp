#include "panel/grid_navigation.h"

#include <algorithm>

namespace GridNavigation {

int next(int current, Move move, int count, int columns)
{
    if (count <= 0)
        return kAboveGrid;
    columns = std::max(1, columns);
    if (current < 0 || current >= count)
        return 0;
    switch (move) {
    case Move::Left: return std::max(0, current - 1);
    case Move::Right: return std::min(count - 1, current + 1);
    case Move::Up: return current >= columns ? current - columns : kAboveGrid;
    case Move::Down: {
        if (current + columns < count)
            return current + columns;
        const int lastRow = (count - 1) / columns;
        return current / columns < lastRow ? count - 1 : current;
    }
    case Move::Home: return 0;
    case Move::End: return count - 1;
    }
    return current;
}

int cycledGroup(int current, int step, int count)
{
    if (count <= 0)
        return -1;
    if (current < 0 || current >= count)
        return step >= 0 ? 0 : count - 1;
    return ((current + step) % count + count) % count;
}

std::optional<int> groupForDigit(int digit, int count)
{
    if (digit < 1 || digit > count)
        return std::nullopt;
    return digit - 1;
}

} // namespace GridNavigation
