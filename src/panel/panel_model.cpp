#include "panel/panel_model.h"

#include "panel/panel_layout.h"

#include <QSet>
#include <QTextBoundaryFinder>
#include <algorithm>
#include <cmath>

namespace {

// Spaces of every kind and the tab, but no line breaks.
bool isBlank(QChar c)
{
    return c == u'\t' || c.category() == QChar::Separator_Space;
}

// Whether a match may begin or end at `pos` without splitting a user-perceived character.
bool isCharacterBoundary(const QString& text, qsizetype pos)
{
    if (pos <= 0 || pos >= text.size())
        return true;
    const char16_t previous = text[pos - 1].unicode();
    const char16_t next = text[pos].unicode();
    // Below U+0300 there are no combining marks or surrogates; only CR LF stays together.
    if (previous < 0x300 && next < 0x300)
        return !(previous == u'\r' && next == u'\n');
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    finder.setPosition(pos);
    return finder.isAtBoundary();
}

} // namespace

namespace PanelModel {

std::optional<AppGroup> current(const QList<AppGroup>& groups, const std::optional<QUuid>& selected)
{
    if (selected) {
        for (const AppGroup& group : groups) {
            if (group.id == *selected)
                return group;
        }
    }
    if (groups.isEmpty())
        return std::nullopt;
    return groups.first();
}

QString trimmed(const QString& query)
{
    qsizetype begin = 0;
    qsizetype end = query.size();
    while (begin < end && isBlank(query[begin]))
        ++begin;
    while (end > begin && isBlank(query[end - 1]))
        --end;
    return query.mid(begin, end - begin);
}

bool searching(const QString& query)
{
    return !trimmed(query).isEmpty();
}

QString searchKey(const QString& text)
{
    return text.toLower().normalized(QString::NormalizationForm_C);
}

bool containsKey(const QString& haystack, const QString& needle)
{
    if (needle.isEmpty())
        return true;
    for (qsizetype at = haystack.indexOf(needle); at >= 0; at = haystack.indexOf(needle, at + 1)) {
        if (isCharacterBoundary(haystack, at) && isCharacterBoundary(haystack, at + needle.size()))
            return true;
    }
    return false;
}

QStringList results(const QList<AppGroup>& groups, const QString& query, const EntryOfPath& entryOf)
{
    const QString needle = searchKey(trimmed(query));
    if (needle.isEmpty())
        return {};
    QStringList found;
    QSet<QString> seen;
    for (const AppGroup& group : groups) {
        for (const QString& path : group.apps) {
            const SearchEntry& entry = entryOf(path);
            if (seen.contains(entry.canonicalPath) || !containsKey(entry.key, needle))
                continue;
            seen.insert(entry.canonicalPath);
            found.append(path);
        }
    }
    return found;
}

GridColumns fullColumns()
{
    return {ColumnSpec{ColumnSpec::Kind::Adaptive, 80, 8}};
}

GridColumns compactColumns(qsizetype itemCount)
{
    const qsizetype columns = std::clamp<qsizetype>(itemCount, 1, 4);
    return GridColumns(columns, ColumnSpec{ColumnSpec::Kind::Fixed, 80, 8});
}

QSize panelSize(bool compact, qsizetype itemCount)
{
    return compact ? PanelLayout::compact(itemCount) : PanelLayout::full;
}

GridGeometry geometry(const GridColumns& columns, qreal width)
{
    GridGeometry g;
    if (columns.isEmpty())
        return g;
    const ColumnSpec& first = columns.first();
    g.spacing = first.spacing;
    if (first.kind == ColumnSpec::Kind::Adaptive) {
        g.columns =
            std::max(1, int(std::floor((width + first.spacing) / (first.size + first.spacing))));
        g.columnWidth = std::max(first.size, (width - first.spacing * (g.columns - 1)) / g.columns);
        g.left = 0;
    } else {
        g.columns = int(columns.size());
        g.columnWidth = first.size;
        const qreal used = g.columns * first.size + (g.columns - 1) * first.spacing;
        g.left = std::max<qreal>(0, (width - used) / 2);
    }
    return g;
}

} // namespace PanelModel
