#pragma once

#include <QString>

// Orders version texts the way people read them: runs of decimal digits compare by their
// numeric value (so 1.10 follows 1.9), every other character compares one by one, and a text
// that is a prefix of the other is the smaller (1.0 comes before 1.0.0).
// Returns a negative number, zero or a positive number as `a` is older, equal or newer.
int compareVersions(const QString& a, const QString& b);
