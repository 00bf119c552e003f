#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>

// The named text styles and colours of the panel, derived from the application's font and the
// desktop palette so that they follow light and dark themes.
namespace PanelStyle {

QFont callout(const QFont& base);  // tab titles
QFont caption(const QFont& base);  // tile names
QFont headline(const QFont& base); // the compact header's group name
QFont small(const QFont& base);    // footer buttons

bool isDark(const QPalette& palette);
QColor accent(const QPalette& palette);
QColor primary(const QPalette& palette);
QColor secondary(const QPalette& palette);
// The unselected capsule: gray at 20 percent.
QColor quietFill();
// The translucent panel material and its hairline edge.
QColor material(const QPalette& palette);
QColor edge(const QPalette& palette);
// The soft highlight behind a tile under the pointer.
QColor hover(const QPalette& palette);

} // namespace PanelStyle
