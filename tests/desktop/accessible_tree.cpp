#include "accessible_tree.h"

#include "desktop_session.h"

#include <QProcess>

namespace {

QRect placeFrom(const QString& field)
{
    const QStringList numbers = field.split(QLatin1Char(','));
    if (numbers.size() != 4)
        return {};
    return QRect(numbers[0].toInt(), numbers[1].toInt(), numbers[2].toInt(), numbers[3].toInt());
}

QString describe(const QList<AccessibleObject>& objects)
{
    QStringList lines;
    for (const AccessibleObject& object : objects)
        lines << QStringLiteral("%1 \"%2\" at %3,%4 %5x%6")
                     .arg(object.role, object.name)
                     .arg(object.place.x())
                     .arg(object.place.y())
                     .arg(object.place.width())
                     .arg(object.place.height());
    return lines.join(QStringLiteral("; "));
}

} // namespace

AccessibleTree::AccessibleTree(QProcessEnvironment environment, QString application)
    : m_environment(std::move(environment))
    , m_application(std::move(application))
{
}

QList<AccessibleObject> AccessibleTree::objects(QString* error) const
{
    return read(false, error);
}

QList<AccessibleObject> AccessibleTree::shown(QString* error) const
{
    return read(true, error);
}

QList<AccessibleObject> AccessibleTree::read(bool showingOnly, QString* error) const
{
    QProcess script;
    script.setProcessEnvironment(m_environment);
    QStringList arguments{QStringLiteral(ATSPI_SCRIPT), m_application, QStringLiteral("15")};
    if (showingOnly)
        arguments << QStringLiteral("--showing");
    script.start(QStringLiteral("/usr/bin/python3"), arguments); // Debian's, which has pyatspi
    if (!script.waitForFinished(30000) || script.exitStatus() != QProcess::NormalExit ||
        script.exitCode() != 0) {
        if (error)
            *error = QStringLiteral("atspi_tree.py failed: ") +
                     QString::fromLocal8Bit(script.readAllStandardError()).trimmed();
        script.kill();
        script.waitForFinished(2000);
        return {};
    }
    QList<AccessibleObject> found;
    const QString output = QString::fromUtf8(script.readAllStandardOutput());
    for (const QString& line : output.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList fields = line.split(QLatin1Char('\t'));
        if (fields.size() != 6)
            continue;
        found.append({fields[0].toInt(), fields[1], fields[2],
                      fields[3].split(QLatin1Char(','), Qt::SkipEmptyParts),
                      fields[4].split(QLatin1Char(','), Qt::SkipEmptyParts), placeFrom(fields[5])});
    }
    return found;
}

std::optional<AccessibleObject> AccessibleTree::find(const QString& role, const QString& name,
                                                     int timeoutMs, QString* error) const
{
    QList<AccessibleObject> matches;
    QString problem;
    const bool found = DesktopSession::waitFor(
        [&] {
            problem.clear();
            const QList<AccessibleObject> shown = read(true, &problem);
            matches.clear();
            for (const AccessibleObject& object : shown)
                if (object.role == role && object.name == name)
                    matches << object;
            return matches.size() == 1 && !matches.first().place.isEmpty();
        },
        timeoutMs);
    if (found)
        return matches.first();
    if (error) {
        const QString what = role + QStringLiteral(" \"") + name + QLatin1Char('"');
        if (!problem.isEmpty())
            *error = problem;
        else if (matches.isEmpty())
            *error = QStringLiteral("no %1 on the screen").arg(what);
        else
            *error = QStringLiteral("no single %1 with a place: %2").arg(what, describe(matches));
    }
    return std::nullopt;
}

QList<AccessibleObject> AccessibleTree::withRole(const QList<AccessibleObject>& all,
                                                 const QString& role)
{
    QList<AccessibleObject> some;
    for (const AccessibleObject& object : all)
        if (object.role == role)
            some << object;
    return some;
}

const AccessibleObject* AccessibleTree::named(const QList<AccessibleObject>& all,
                                              const QString& name)
{
    for (const AccessibleObject& object : all)
        if (object.name == name)
            return &object;
    return nullptr;
}

QList<AccessibleObject> AccessibleTree::childrenOf(const QList<AccessibleObject>& all,
                                                   qsizetype index)
{
    QList<AccessibleObject> children;
    const int depth = all.at(index).depth;
    for (qsizetype i = index + 1; i < all.size() && all[i].depth > depth; ++i)
        if (all[i].depth == depth + 1)
            children << all[i];
    return children;
}
