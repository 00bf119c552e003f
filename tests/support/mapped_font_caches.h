#pragma once

#include <QFile>
#include <QRegularExpression>
#include <QString>

// How many of fontconfig's cache files the process `pid` ("self" for this one) has mapped:
// some once it has loaded the font configuration; -1 when its maps cannot be read.
inline int mappedFontCaches(const QString& pid)
{
    QFile maps(QStringLiteral("/proc/%1/maps").arg(pid));
    if (!maps.open(QIODevice::ReadOnly))
        return -1;
    static const QRegularExpression cacheFile(QStringLiteral("fontconfig/[^/]+\\.cache-\\d+$"));
    int count = 0;
    for (const QByteArray& line : maps.readAll().split('\n'))
        count += cacheFile.match(QString::fromUtf8(line).trimmed()).hasMatch() ? 1 : 0;
    return count;
}
