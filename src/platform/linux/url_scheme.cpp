#include "platform/linux/url_scheme.h"

#include <QList>
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
    // A line break would end the value.
    argument.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    argument.replace(QLatin1Char('\r'), QStringLiteral("\\r"));
    argument.replace(QLatin1Char('\t'), QStringLiteral("\\t"));
    // GIO looks for the program before it turns "%%" back into "%": let env find it instead.
    if (program.contains(QLatin1Char('%')))
        argument.prepend(QStringLiteral("/usr/bin/env "));
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
                          "Terminal=false\n"
                          // The running instance ends the launch feedback with the id it is
                          // handed.
                          "StartupNotify=true\n")
        .arg(execArgument(program), mimeType);
}

QByteArray UrlScheme::withDefaultHandler(const QByteArray& mimeapps)
{
    static const QByteArray header = QByteArrayLiteral("[Default Applications]");
    const QByteArray key = mimeType.toUtf8();
    const QByteArray entry = key + '=' + entryName.toUtf8();

    QList<QByteArray> lines = mimeapps.split('\n');
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
            lines.append(QByteArray());
        lines.append(header);
        lines.append(entry);
        return lines.join('\n') + '\n';
    }

    qsizetype end = section + 1;
    while (end < lines.size() && !lines.at(end).trimmed().startsWith('['))
        ++end;
    bool replaced = false;
    for (qsizetype i = section + 1; i < end; ++i) {
        const QByteArray& line = lines.at(i);
        if (line.left(line.indexOf('=')).trimmed() != key)
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
    return lines.join('\n') + '\n';
}
