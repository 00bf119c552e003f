#include "model/app_group.h"

#include "model/canonical_text.h"

QString AppGroup::idText() const
{
    return groupIdText(id);
}

bool operator==(const AppGroup& a, const AppGroup& b)
{
    if (a.id != b.id || !CanonicalText::equal(a.name, b.name) || a.apps.size() != b.apps.size())
        return false;
    for (qsizetype i = 0; i < a.apps.size(); ++i) {
        if (!CanonicalText::equal(a.apps[i], b.apps[i]))
            return false;
    }
    if (a.icon.has_value() != b.icon.has_value())
        return false;
    return !a.icon || CanonicalText::equal(*a.icon, *b.icon);
}

std::optional<QUuid> parseGroupId(QStringView text)
{
    if (text.size() != 36)
        return std::nullopt;
    for (qsizetype i = 0; i < 36; ++i) {
        const char16_t c = text[i].unicode();
        const bool hyphenPlace = i == 8 || i == 13 || i == 18 || i == 23;
        const bool hex =
            (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
        if (hyphenPlace ? c != u'-' : !hex)
            return std::nullopt;
    }
    return QUuid::fromString(text);
}

QString groupIdText(const QUuid& id)
{
    return id.toString(QUuid::WithoutBraces).toUpper();
}
