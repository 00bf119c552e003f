#pragma once

#include <QSize>

// The panel window's sizes, in points.
namespace PanelLayout {

inline constexpr QSize full{400, 440};

// The compact form for a group of `count` items: 296 wide up to three items, else 384 (four
// columns of 88 plus 32); one row of 84 per four items, at most five, plus 70.
QSize compact(qsizetype count);

} // namespace PanelLayout
