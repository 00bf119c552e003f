#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

// Runs a tool without a shell and returns what it wrote to standard output (empty when it
// cannot start). Standard error never reaches the caller.
QByteArray runTool(const QString& path, const QStringList& arguments);

// Escapes "&", "<" and ">" for element text of hand-written XML.
QString xmlEscape(const QString& text);

// The name the desktop shows for a path, without a final ".app".
QString displayName(const QString& path);
