#pragma once

#include <optional>

// Where the keyboard focus goes in a grid of tiles laid out in rows, and between group tabs:
// plain arithmetic, so that it is checked without a display.
namespace GridNavigation {

enum class Move { Left, Right, Up, Down, Home, End };

// Up from the first row leaves the grid (to the search field where there is one).
inline constexpr int kAboveGrid = -1;

// The tile the focus moves to from `current` in a grid of `count` tiles in `columns`
// columns. Left and Right run on through the rows; Down from a row whose column the last row
// lacks lands on the last tile. Without a focused tile yet (`current` < 0) any move starts at
// the first one; an empty grid has none (kAboveGrid).
int next(int current, Move move, int count, int columns);

// The group `step` tabs away from `current`, going round past either end.
int cycledGroup(int current, int step, int count);

// The group Alt+`digit` picks (1 is the first); none past the last group.
std::optional<int> groupForDigit(int digit, int count);

} // namespace GridNavigation
