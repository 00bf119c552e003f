#pragma once

#include <QFile>
#include <QRegularExpression>
#include <QString>

// What a process has mapped of the fonts, read from /proc/<pid>/maps ("self" for this one).
namespace MappedFontFiles {

// fontconfig's caches: mapped once the font configuration is loaded.
inline const QRegularExpression caches{QStringLiteral("fontconfig/[^/]+\\.cache-\\d+$")};
// Font faces: mapped once text has been drawn with them.
inline const QRegularExpression faces{QStringLiteral("\\.(ttf|otf|ttc|pfb|pcf(\\.gz)?)$"),
                                      QRegularExpression::CaseInsensitiveOption};

// How many files matching `kind` the process has mapped; -1 when its maps cannot be read.
inline int count(const QString& pid, const QRegularExpression& kind)
{
    QFile maps(QStringLiteral("/proc/%1/maps").arg(pid));
    if (!maps.open(QIODevice::ReadOnly))
        return -1;
    int count = 0;
    for (const QByteArray& line : maps.readAll().split('\n'))
        count += kind.match(QString::fromUtf8(line).trimmed()).hasMatch() ? 1 : 0;
    return count;
}

} // namespace MappedFontFiles
