#include "model/groups_file.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

void appendHex4(QByteArray& out, char16_t unit)
{
    static constexpr char digits[] = "0123456789abcdef";
    out += "\\u";
    for (int shift = 12; shift >= 0; shift -= 4)
        out += digits[(unit >> shift) & 0xF];
}

void appendString(QByteArray& out, const QString& text)
{
    out += '"';
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text[i].unicode();
        switch (c) {
        case u'"': out += "\\\""; continue;
        case u'\\': out += "\\\\"; continue;
        case u'/': out += "\\/"; continue;
        case u'\b': out += "\\b"; continue;
        case u'\f': out += "\\f"; continue;
        case u'\n': out += "\\n"; continue;
        case u'\r': out += "\\r"; continue;
        case u'\t': out += "\\t"; continue;
        default: break;
        }
        if (c < 0x20) {
            appendHex4(out, c);
        } else if (c < 0x80) {
            out += char(c);
        } else if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(text[i + 1].unicode())) {
            out += QStringView(text).mid(i, 2).toUtf8();
            ++i;
        } else if (QChar::isSurrogate(c)) {
            // A lone surrogate has no UTF-8 form; an escape keeps it through a round trip.
            appendHex4(out, c);
        } else {
            out += QStringView(&text.constData()[i], 1).toUtf8();
        }
    }
    out += '"';
}

std::optional<AppGroup> decodeGroup(const QJsonValue& value)
{
    if (!value.isObject())
        return std::nullopt;
    const QJsonObject object = value.toObject();
    const QJsonValue id = object.value(QLatin1String("id"));
    const QJsonValue name = object.value(QLatin1String("name"));
    const QJsonValue apps = object.value(QLatin1String("apps"));
    const QJsonValue icon = object.value(QLatin1String("icon"));
    if (!id.isString() || !name.isString() || !apps.isArray())
        return std::nullopt;
    if (!(icon.isUndefined() || icon.isNull() || icon.isString()))
        return std::nullopt;
    const std::optional<QUuid> uuid = parseGroupId(id.toString());
    if (!uuid)
        return std::nullopt;

    AppGroup group;
    group.id = *uuid;
    group.name = name.toString();
    const QJsonArray list = apps.toArray();
    group.apps.reserve(list.size());
    for (const QJsonValue& app : list) {
        if (!app.isString())
            return std::nullopt;
        group.apps.append(app.toString());
    }
    if (icon.isString())
        group.icon = icon.toString();
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
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !document.isArray())
        return std::nullopt;
    const QJsonArray array = document.array();
    QList<AppGroup> groups;
    groups.reserve(array.size());
    for (const QJsonValue& value : array) {
        std::optional<AppGroup> group = decodeGroup(value);
        if (!group)
            return std::nullopt;
        groups.append(std::move(*group));
    }
    return groups;
}

} // namespace GroupsFile
