#include "platform/linux/cinnamon_settings_file.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace CinnamonSettingsFile {

namespace {

// Finds where values start and end in JSON text already known to be valid.
class Scanner {
public:
    explicit Scanner(const QByteArray& text)
        : m_text(text)
    {
    }

    qsizetype position() const { return m_at; }

    void skipSpace()
    {
        while (m_at < m_text.size() && QByteArrayView(" \t\r\n").contains(m_text.at(m_at)))
            ++m_at;
    }

    bool take(char c)
    {
        skipSpace();
        if (m_at < m_text.size() && m_text.at(m_at) == c) {
            ++m_at;
            return true;
        }
        return false;
    }

    // A string, decoded.
    std::optional<QString> string()
    {
        skipSpace();
        const qsizetype start = m_at;
        if (!skipString())
            return std::nullopt;
        const QJsonDocument decoded =
            QJsonDocument::fromJson("[" + m_text.mid(start, m_at - start) + "]");
        return decoded.array().at(0).toString();
    }

    bool skipValue()
    {
        skipSpace();
        if (m_at >= m_text.size())
            return false;
        const char c = m_text.at(m_at);
        if (c == '"')
            return skipString();
        if (c == '{' || c == '[') {
            const char close = c == '{' ? '}' : ']';
            ++m_at;
            if (take(close))
                return true;
            do {
                if (c == '{' && !(string() && take(':')))
                    return false;
                if (!skipValue())
                    return false;
            } while (take(','));
            return take(close);
        }
        while (m_at < m_text.size() && !QByteArrayView(",]} \t\r\n").contains(m_text.at(m_at)))
            ++m_at;
        return true;
    }

    // Moves to the value of member `name` of the object that starts here.
    bool enterMember(const QString& name)
    {
        if (!take('{'))
            return false;
        if (take('}'))
            return false;
        do {
            const std::optional<QString> key = string();
            if (!key || !take(':'))
                return false;
            if (*key == name) {
                skipSpace();
                return true;
            }
            if (!skipValue())
                return false;
        } while (take(','));
        return false;
    }

private:
    bool skipString()
    {
        if (m_at >= m_text.size() || m_text.at(m_at) != '"')
            return false;
        for (++m_at; m_at < m_text.size(); ++m_at) {
            if (m_text.at(m_at) == '\\')
                ++m_at;
            else if (m_text.at(m_at) == '"')
                return ++m_at, true;
        }
        return false;
    }

    const QByteArray& m_text;
    qsizetype m_at = 0;
};

// Written as Cinnamon's JSON.stringify(…, null, 4) and cinnamon-settings' json.dumps(…,
// indent=4) write it, indented from the line the value stands on.
QByteArray listText(const QStringList& items, const QByteArray& indent)
{
    if (items.isEmpty())
        return "[]";
    QByteArray text = "[";
    for (qsizetype i = 0; i < items.size(); ++i) {
        QByteArray item = QJsonDocument(QJsonArray{items.at(i)}).toJson(QJsonDocument::Compact);
        text += (i ? ",\n" : "\n") + indent + "    " + item.mid(1, item.size() - 2);
    }
    return text + "\n" + indent + "]";
}

QByteArray indentOfLineAt(const QByteArray& text, qsizetype position)
{
    const qsizetype lineStart = text.lastIndexOf('\n', position) + 1;
    qsizetype end = lineStart;
    while (end < text.size() && (text.at(end) == ' ' || text.at(end) == '\t'))
        ++end;
    return text.mid(lineStart, end - lineStart);
}

} // namespace

std::optional<QStringList> readList(const QByteArray& json, const QString& key)
{
    const QJsonDocument document = QJsonDocument::fromJson(json);
    const QJsonValue value = document.object().value(key).toObject().value(QLatin1String("value"));
    if (!value.isArray())
        return std::nullopt;
    QStringList items;
    for (const QJsonValue& item : value.toArray()) {
        // Anything but desktop ids is not ours to rewrite.
        if (!item.isString())
            return std::nullopt;
        items.append(item.toString());
    }
    return items;
}

std::optional<QByteArray> withList(const QByteArray& json, const QString& key,
                                   const QStringList& items)
{
    if (!readList(json, key))
        return std::nullopt;
    Scanner scanner(json);
    if (!scanner.enterMember(key) || !scanner.enterMember(QStringLiteral("value")))
        return std::nullopt;
    const qsizetype start = scanner.position();
    if (!scanner.skipValue())
        return std::nullopt;
    QByteArray edited = json;
    edited.replace(start, scanner.position() - start, listText(items, indentOfLineAt(json, start)));
    if (readList(edited, key) != items)
        return std::nullopt;
    return edited;
}

bool replaceFile(const QString& path, const QByteArray& content)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size() &&
           file.commit();
}

} // namespace CinnamonSettingsFile
