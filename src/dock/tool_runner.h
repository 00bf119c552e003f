#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Runs a tool without a shell and returns what it wrote to standard output (empty when it
// cannot start). Standard error never reaches the caller.
QByteArray runTool(const QString& path, const QStringList& arguments);
