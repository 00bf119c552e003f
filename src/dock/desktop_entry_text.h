#pragma once

#include <QString>

// Values of freedesktop desktop entries, escaped so that no value can end its line or start
// another key.
namespace DesktopEntryText {

// A string value: backslash, line breaks and tabs as escapes, a leading space as "\s";
// other control characters are dropped, since a desktop entry cannot hold them.
QString escapeString(const QString& value);

// One argument of an Exec value, double-quoted with the quoting rules of Exec, "%" doubled;
// the result still needs escapeString.
QString quoteExecArgument(const QString& argument);

// An Exec value that runs `program`. GIO looks for the program before it turns "%%" into "%",
// so a program whose path holds "%" is started through /usr/bin/env. The result still needs
// escapeString.
QString execLine(const QString& program);

} // namespace DesktopEntryText
