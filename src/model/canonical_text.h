#pragma once

#include <QString>
#include <QStringList>

// Names and paths compare exactly and case-sensitively, but a precomposed accent equals its
// decomposed form. Nothing is normalised when stored; only comparisons go through here.
namespace CanonicalText {

bool equal(const QString& a, const QString& b);

// Index of the first element canonically equal to `text`, or -1.
qsizetype indexOf(const QStringList& list, const QString& text);

inline bool contains(const QStringList& list, const QString& text)
{
    return indexOf(list, text) >= 0;
}

} // namespace CanonicalText
