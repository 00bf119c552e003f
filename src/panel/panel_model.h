#pragma once

#include "model/app_group.h"

#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QUuid>
#include <functional>
#include <optional>

// One column of an item grid: adaptive columns are at least `size` wide and share what is left
// of the row; fixed columns are exactly `size` wide. `spacing` separates it from the next one.
struct ColumnSpec {
    enum class Kind { Adaptive, Fixed };
    Kind kind = Kind::Adaptive;
    qreal size = 80;
    qreal spacing = 8;

    friend bool operator==(const ColumnSpec&, const ColumnSpec&) = default;
};
using GridColumns = QList<ColumnSpec>;

// Where the columns of a grid fall in a given width.
struct GridGeometry {
    int columns = 1;
    qreal columnWidth = 80;
    qreal spacing = 8;
    qreal left = 0; // x of the first column

    qreal columnX(int column) const { return left + column * (columnWidth + spacing); }
};

// The values the panel derives from the store, as plain functions of the store's state so
// that they can be checked without a display.
namespace PanelModel {

// The group with the selected id, else the first group, else none. Never writes back.
std::optional<AppGroup> current(const QList<AppGroup>& groups,
                                const std::optional<QUuid>& selected);

// The query without spaces and tabs at either end (line breaks are kept).
QString trimmed(const QString& query);
bool searching(const QString& query);
// What a name is compared with: trimmed, lower-cased by full mapping, composed (NFC).
QString searchKey(const QString& text);
// True when `needle` (a searchKey) occurs in `haystack` (a searchKey) starting and ending on
// character boundaries, so that "e" never matches the first half of "e" + combining accent.
bool containsKey(const QString& haystack, const QString& needle);

// What the search needs to know of one path.
struct SearchEntry {
    QString key;           // searchKey() of the display name
    QString canonicalPath; // the path composed, so that equivalent spellings count once
};
using EntryOfPath = std::function<const SearchEntry&(const QString& path)>;
// Paths of all groups whose display names contain the query, one per path at its first place.
QStringList results(const QList<AppGroup>& groups, const QString& query,
                    const EntryOfPath& entryOf);

GridColumns fullColumns();
GridColumns compactColumns(qsizetype itemCount);
// The content size: the full size, or the compact size for this many items.
QSize panelSize(bool compact, qsizetype itemCount);

// Lays `columns` out in `width`: adaptive columns fill the row, fixed ones are centred.
GridGeometry geometry(const GridColumns& columns, qreal width);

} // namespace PanelModel
