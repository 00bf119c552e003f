#include "platform/linux/plasma_task_managers.h"

#include <QFile>
#include <QHash>
#include <QStandardPaths>
#include <algorithm>
#include <map>

namespace PlasmaTaskManagers {

namespace {

// KConfig's escapes in keys, values and group names: \s \t \n \r \\ \xNN; "\;" and "\,"
// stay as they are for the list decoding that may follow.
QByteArray unescaped(const QByteArray& text)
{
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text.at(i);
        if (c != '\\' || i + 1 == text.size()) {
            out.append(c);
            continue;
        }
        const char next = text.at(++i);
        switch (next) {
        case 's': out.append(' '); break;
        case 't': out.append('\t'); break;
        case 'n': out.append('\n'); break;
        case 'r': out.append('\r'); break;
        case '\\': out.append('\\'); break;
        case ';':
        case ',':
            out.append('\\');
            out.append(next);
            break;
        case 'x':
            if (i + 2 < text.size()) {
                bool ok = false;
                const int value = text.mid(i + 1, 2).toInt(&ok, 16);
                out.append(ok ? char(value) : 'x');
                i += 2;
            } else {
                out.append('x');
            }
            break;
        default: out.append('\\'); out.append(next);
        }
    }
    return out;
}

// "[Containments][12][Applets][40]" → {"Containments", "12", "Applets", "40"}
QStringList groupPathOf(const QByteArray& line)
{
    QStringList path;
    qsizetype start = 0;
    while (start < line.size() && line.at(start) == '[') {
        const qsizetype end = line.indexOf(']', start);
        if (end < 0)
            return {};
        path.append(QString::fromUtf8(unescaped(line.mid(start + 1, end - start - 1))));
        start = end + 1;
    }
    return path;
}

using Groups = QHash<QStringList, QHash<QString, QString>>;

Groups parse(const QByteArray& content)
{
    Groups groups;
    QStringList current;
    for (QByteArray line : content.split('\n')) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        if (line.startsWith('[')) {
            current = groupPathOf(line);
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (equals <= 0 || current.isEmpty())
            continue;
        QByteArray key = line.left(equals).trimmed();
        // Options such as "[$i]" and localised variants; only plain keys matter here.
        if (const qsizetype bracket = key.indexOf('['); bracket >= 0) {
            if (key.mid(bracket).startsWith("[$"))
                key.truncate(bracket);
            else
                continue;
        }
        groups[current].insert(QString::fromUtf8(unescaped(key)),
                               QString::fromUtf8(unescaped(line.mid(equals + 1).trimmed())));
    }
    return groups;
}

} // namespace

bool isTaskManager(const QString& pluginId)
{
    return pluginId == QLatin1String("org.kde.plasma.icontasks") ||
           pluginId == QLatin1String("org.kde.plasma.taskmanager");
}

QString appletsFilePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/plasma-org.kde.plasma.desktop-appletsrc");
}

QStringList splitList(const QString& value)
{
    if (value.isEmpty())
        return {};
    if (value == QLatin1String("\\0"))
        return {QString()};
    QStringList items;
    QString item;
    bool escaped = false;
    for (const QChar c : value) {
        if (escaped) {
            item.append(c);
            escaped = false;
        } else if (c == QLatin1Char('\\')) {
            escaped = true;
        } else if (c == QLatin1Char(',')) {
            items.append(item);
            item.clear();
        } else {
            item.append(c);
        }
    }
    items.append(item);
    return items;
}

std::optional<std::vector<PlasmaTaskManager>> readAppletsFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const Groups groups = parse(file.readAll());
    const QString containments = QStringLiteral("Containments");
    const QString applets = QStringLiteral("Applets");

    std::map<int, std::map<int, QStringList>> panels;
    for (auto group = groups.cbegin(); group != groups.cend(); ++group) {
        const QStringList& name = group.key();
        bool panelOk = false;
        const int panel = name.size() >= 2 ? name.at(1).toInt(&panelOk) : 0;
        if (!panelOk || name.at(0) != containments)
            continue;
        if (name.size() == 2 &&
            group->value(QStringLiteral("plugin")) == QLatin1String("org.kde.panel"))
            panels[panel];
    }
    for (auto group = groups.cbegin(); group != groups.cend(); ++group) {
        const QStringList& name = group.key();
        if (name.size() != 4 || name.at(0) != containments || name.at(2) != applets)
            continue;
        bool ok = false;
        const int panel = name.at(1).toInt(&ok);
        const int widget = ok ? name.at(3).toInt(&ok) : 0;
        if (!ok || !panels.contains(panel) ||
            !isTaskManager(group->value(QStringLiteral("plugin"))))
            continue;
        const QStringList general =
            name + QStringList{QStringLiteral("Configuration"), QStringLiteral("General")};
        panels[panel][widget] = splitList(groups.value(general).value(QStringLiteral("launchers")));
    }

    std::vector<PlasmaTaskManager> found;
    for (const auto& [panel, widgets] : panels) {
        for (const auto& [widget, launchers] : widgets)
            found.push_back({panel, widget, launchers});
    }
    return found;
}

} // namespace PlasmaTaskManagers
