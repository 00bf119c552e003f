#include "dock/property_list.h"

#include "dock/property_list_limits.h"

#include <limits>

namespace PropertyList {

Node parse(const QByteArray& bytes)
{
    if (bytes.isEmpty() || bytes.size() > qsizetype(UINT32_MAX))
        return nullptr;
    if (!withinLimits(bytes))
        return nullptr; // libplist would overflow the stack or build a huge tree
    plist_t node = nullptr;
    // libplist 2.2 returns nothing here: a null node is the only sign of failure.
    plist_from_memory(bytes.constData(), uint32_t(bytes.size()), &node);
    return Node(node);
}

QByteArray toXml(plist_t node)
{
    if (!node)
        return {};
    char* xml = nullptr;
    uint32_t length = 0;
    plist_to_xml(node, &xml, &length);
    if (!xml)
        return {};
    QByteArray bytes(xml, qsizetype(length));
    plist_to_xml_free(xml);
    return bytes;
}

bool isDictionary(plist_t node)
{
    return node && plist_get_node_type(node) == PLIST_DICT;
}

namespace {

plist_t valueAt(plist_t node, const char* key, plist_type type)
{
    if (!isDictionary(node))
        return nullptr;
    plist_t value = plist_dict_get_item(node, key);
    return value && plist_get_node_type(value) == type ? value : nullptr;
}

} // namespace

plist_t dictionaryAt(plist_t node, const char* key)
{
    return valueAt(node, key, PLIST_DICT);
}

plist_t arrayAt(plist_t node, const char* key)
{
    return valueAt(node, key, PLIST_ARRAY);
}

std::optional<QString> stringAt(plist_t node, const char* key)
{
    plist_t value = valueAt(node, key, PLIST_STRING);
    if (!value)
        return std::nullopt;
    // Not plist_get_string_val: it asserts, ending the program, on a string holding a NUL,
    // which any property list can carry.
    uint64_t length = 0;
    const char* text = plist_get_string_ptr(value, &length);
    if (!text || length > uint64_t(std::numeric_limits<qsizetype>::max()))
        return std::nullopt;
    return QString::fromUtf8(text, qsizetype(length));
}

} // namespace PropertyList
