#include "dock/desktop_entry_text.h"

namespace DesktopEntryText {

QString escapeString(const QString& value)
{
    QString escaped;
    escaped.reserve(value.size() + 8);
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        switch (c.unicode()) {
        case '\\': escaped += QLatin1String("\\\\"); break;
        case '\n': escaped += QLatin1String("\\n"); break;
        case '\r': escaped += QLatin1String("\\r"); break;
        case '\t': escaped += QLatin1String("\\t"); break;
        case ' ': escaped += i == 0 ? QLatin1String("\\s") : QLatin1String(" "); break;
        default:
            if (c.unicode() < 0x20 || c.unicode() == 0x7f)
                break;
            escaped += c;
        }
    }
    return escaped;
}

QString quoteExecArgument(const QString& argument)
{
    QString quoted = QStringLiteral("\"");
    for (const QChar c : argument) {
        switch (c.unicode()) {
        case '"':
        case '`':
        case '$':
        case '\\':
            quoted += QLatin1Char('\\');
            quoted += c;
            break;
        case '%': quoted += QLatin1String("%%"); break;
        default: quoted += c;
        }
    }
    quoted += QLatin1Char('"');
    return quoted;
}

QString execLine(const QString& program)
{
    const QString quoted = quoteExecArgument(program);
    return program.contains(QLatin1Char('%')) ? QStringLiteral("/usr/bin/env ") + quoted : quoted;
}

} // namespace DesktopEntryText
