#pragma once

#include <QByteArray>

// libplist builds, copies, frees and writes its trees by recursion, so a list nested deeply
// enough (a few tens of thousands of levels, some megabytes) overflows the stack, and a binary
// list whose objects refer to one another many times over expands into a tree far larger than
// its bytes. These checks look at the bytes alone, without building anything, so such a list is
// refused before libplist sees it.
namespace PropertyList {

// Far beyond any list a dock or an application writes, and far below what overflows the stack.
constexpr int maxNesting = 256;
// Values of the tree libplist would build from a binary list, shared references counted each
// time they are used.
constexpr quint64 maxValues = 1'000'000;

// True when libplist may be given these bytes: no value is nested deeper than maxNesting and,
// for a binary list, the tree stays within maxValues and has no cycle. A binary list whose
// structure cannot be followed is refused too; XML text that is not a property list passes
// (libplist rejects it without recursing).
bool withinLimits(const QByteArray& bytes);

} // namespace PropertyList
