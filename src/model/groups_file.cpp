#include "model/groups_file.h"

#include <QSet>
#include <simdjson.h>

namespace {

// The letter of JSON's two-character escape for `c` ("\/" included), or 0 when it has none.
char shortEscape(char16_t c)
{
    switch (c) {
    case u'"': return '"';
    case u'\\': return '\\';
    case u'/': return '/';
    case u'\b': return 'b';
    case u'\f': return 'f';
    case u'\n': return 'n';
    case u'\r': return 'r';
    case u'\t': return 't';
    default: return 0;
    }
}

// Appends `text` as a JSON string. Writes through a raw pointer into room reserved up front
// (at most six bytes per UTF-16 unit), since this runs over every path on every save.
void appendString(QByteArray& out, const QString& text)
{
    static constexpr char hex[] = "0123456789abcdef";
    const qsizetype start = out.size();
    out.resize(start + 2 + 6 * text.size());
    char* p = out.data() + start;
    *p++ = '"';
    const char16_t* s = reinterpret_cast<const char16_t*>(text.utf16());
    const char16_t* const end = s + text.size();
    while (s < end) {
        char16_t c = *s++;
        if (c < 0x80) {
            if (const char letter = shortEscape(c)) {
                *p++ = '\\';
                *p++ = letter;
            } else if (c < 0x20) {
                for (const char byte : {'\\', 'u', '0', '0', hex[c >> 4], hex[c & 0xF]})
                    *p++ = byte;
            } else {
                *p++ = char(c);
            }
        } else if (c < 0x800) {
            *p++ = char(0xC0 | (c >> 6));
            *p++ = char(0x80 | (c & 0x3F));
        } else if (QChar::isHighSurrogate(c) && s < end && QChar::isLowSurrogate(*s)) {
            const char32_t u = QChar::surrogateToUcs4(c, *s++);
            *p++ = char(0xF0 | (u >> 18));
            *p++ = char(0x80 | ((u >> 12) & 0x3F));
            *p++ = char(0x80 | ((u >> 6) & 0x3F));
            *p++ = char(0x80 | (u & 0x3F));
        } else {
            // A lone surrogate has no UTF-8 form and strict readers refuse its escape, so it
            // is written as U+FFFD to keep the file readable.
            if (QChar::isSurrogate(c))
                c = 0xFFFD;
            *p++ = char(0xE0 | (c >> 12));
            *p++ = char(0x80 | ((c >> 6) & 0x3F));
            *p++ = char(0x80 | (c & 0x3F));
        }
    }
    *p++ = '"';
    out.truncate(p - out.constData());
}

QString text(std::string_view utf8)
{
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}

std::optional<AppGroup> decodeGroup(simdjson::dom::element value)
{
    simdjson::dom::object object;
    std::string_view id, name;
    simdjson::dom::array apps;
    if (value.get_object().get(object) || object["id"].get_string().get(id) ||
        object["name"].get_string().get(name) || object["apps"].get_array().get(apps))
        return std::nullopt;
    const std::optional<QUuid> uuid = parseGroupId(text(id));
    if (!uuid)
        return std::nullopt;

    AppGroup group;
    group.id = *uuid;
    group.name = text(name);
    group.apps.reserve(qsizetype(apps.size()));
    for (simdjson::dom::element app : apps) {
        std::string_view path;
        if (app.get_string().get(path))
            return std::nullopt;
        group.apps.append(text(path));
    }

    simdjson::dom::element icon;
    if (object["icon"].get(icon) == simdjson::SUCCESS && !icon.is_null()) {
        std::string_view path;
        if (icon.get_string().get(path))
            return std::nullopt;
        group.icon = text(path);
    }
    return group;
}

} // namespace

namespace GroupsFile {

QByteArray encode(const QList<AppGroup>& groups)
{
    QByteArray out;
    out.reserve(256 * (groups.size() + 1));
    out += '[';
    for (qsizetype g = 0; g < groups.size(); ++g) {
        const AppGroup& group = groups[g];
        if (g > 0)
            out += ',';
        out += "{\"id\":";
        appendString(out, group.idText());
        out += ",\"name\":";
        appendString(out, group.name);
        out += ",\"apps\":[";
        for (qsizetype i = 0; i < group.apps.size(); ++i) {
            if (i > 0)
                out += ',';
            appendString(out, group.apps[i]);
        }
        out += ']';
        if (group.icon) {
            out += ",\"icon\":";
            appendString(out, *group.icon);
        }
        out += '}';
    }
    out += ']';
    return out;
}

std::optional<QList<AppGroup>> decode(const QByteArray& bytes)
{
    // simdjson validates strictly (UTF-8, escapes, one value, no trailing text) and reads the
    // file several times faster than QJsonDocument, which matters for start-up.
    // A leading byte-order mark is allowed by the JSON standard for readers to skip.
    const QByteArrayView json = QByteArrayView(bytes).startsWith("\xEF\xBB\xBF")
                                    ? QByteArrayView(bytes).sliced(3)
                                    : QByteArrayView(bytes);
    simdjson::dom::parser parser;
    simdjson::dom::array array;
    if (parser.parse(json.data(), size_t(json.size())).get_array().get(array))
        return std::nullopt;
    QList<AppGroup> groups;
    groups.reserve(qsizetype(array.size()));
    QSet<QUuid> seen;
    for (simdjson::dom::element value : array) {
        std::optional<AppGroup> group = decodeGroup(value);
        if (!group)
            return std::nullopt;
        // Groups are found by id, so a second group with a seen id could never be renamed or
        // deleted alone; it is kept under an id of its own.
        if (seen.contains(group->id))
            group->id = QUuid::createUuid();
        seen.insert(group->id);
        groups.append(std::move(*group));
    }
    return groups;
}

} // namespace GroupsFile
