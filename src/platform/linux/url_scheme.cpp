#include "platform/linux/url_scheme.h"

#include <QStringList>

QString UrlScheme::execArgument(const QString& program)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    bool needsQuotes = false;
    for (const QChar c : program)
        needsQuotes = needsQuotes || reserved.contains(c);

    QString argument;
    if (needsQuotes) {
        argument += QLatin1Char('"');
        for (const QChar c : program) {
            if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') ||
                c == QLatin1Char('\\'))
                argument += QLatin1Char('\\');
            argument += c;
        }
        argument += QLatin1Char('"');
    } else {
        argument = program;
    }
    // Field codes start with '%'; the value itself is a desktop-entry string, where a
    // backslash is written twice.
    argument.replace(QLatin1Char('%'), QStringLiteral("%%"));
    argument.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    return argument;
}

QString UrlScheme::desktopEntry(const QString& program)
{
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Traymate\n"
                          "Comment=Groups of applications, documents and folders in a tray panel\n"
                          "Icon=traymate\n"
                          "Exec=%1 %u\n"
                          "MimeType=%2;\n"
                          "NoDisplay=true\n"
                          "Terminal=false\n")
        .arg(execArgument(program), mimeType);
}

QString UrlScheme::withDefaultHandler(const QString& mimeapps)
{
    static const QString header = QStringLiteral("[Default Applications]");
    const QString entry = mimeType + QLatin1Char('=') + entryName;

    QStringList lines = mimeapps.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();

    qsizetype section = -1;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines.at(i).trimmed() == header) {
            section = i;
            break;
        }
    }
    if (section < 0) {
        if (!lines.isEmpty() && !lines.last().trimmed().isEmpty())
            lines.append(QString());
        lines.append(header);
        lines.append(entry);
        return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
    }

    qsizetype end = section + 1;
    while (end < lines.size() && !lines.at(end).trimmed().startsWith(QLatin1Char('[')))
        ++end;
    bool replaced = false;
    for (qsizetype i = section + 1; i < end; ++i) {
        const QString key = lines.at(i).section(QLatin1Char('='), 0, 0).trimmed();
        if (key != mimeType)
            continue;
        if (!replaced) {
            lines[i] = entry;
            replaced = true;
        } else {
            lines.removeAt(i);
            --i;
            --end;
        }
    }
    if (!replaced)
        lines.insert(section + 1, entry);
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}
