#include "settings/version_compare.h"

namespace {

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// The run of digits starting at `from`, without its leading zeros; `from` moves past the run.
QStringView digitRun(const QString& text, qsizetype& from)
{
    while (from < text.size() && text.at(from) == QLatin1Char('0'))
        ++from;
    const qsizetype start = from;
    while (from < text.size() && isDigit(text.at(from)))
        ++from;
    return QStringView(text).mid(start, from - start);
}

// Compares two digit runs without leading zeros by value, however long they are.
int compareRuns(QStringView a, QStringView b)
{
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return a.compare(b);
}

} // namespace

int compareVersions(const QString& a, const QString& b)
{
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a.at(i)) && isDigit(b.at(j))) {
            const int order = compareRuns(digitRun(a, i), digitRun(b, j));
            if (order != 0)
                return order < 0 ? -1 : 1;
            continue;
        }
        if (a.at(i) != b.at(j))
            return a.at(i) < b.at(j) ? -1 : 1;
        ++i;
        ++j;
    }
    const bool aLeft = i < a.size();
    const bool bLeft = j < b.size();
    return aLeft == bLeft ? 0 : (aLeft ? 1 : -1);
}
