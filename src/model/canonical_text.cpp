#include "model/canonical_text.h"

namespace {

// Strings made only of characters below U+00C0 have exactly one canonical form, so most paths
// and names need no normalisation at all.
bool isTriviallyCanonical(const QString& s)
{
    for (QChar c : s) {
        if (c.unicode() >= 0xC0)
            return false;
    }
    return true;
}

} // namespace

namespace CanonicalText {

bool equal(const QString& a, const QString& b)
{
    if (a == b)
        return true;
    if (isTriviallyCanonical(a) && isTriviallyCanonical(b))
        return false;
    return a.normalized(QString::NormalizationForm_D) == b.normalized(QString::NormalizationForm_D);
}

qsizetype indexOf(const QStringList& list, const QString& text)
{
    for (qsizetype i = 0; i < list.size(); ++i) {
        if (equal(list[i], text))
            return i;
    }
    return -1;
}

} // namespace CanonicalText
