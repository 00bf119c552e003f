#pragma once

#include <QByteArray>
#include <QString>
#include <memory>
#include <optional>
#include <plist/plist.h>

// Owning handles and small readers over libplist nodes. Nodes are kept as libplist trees, not
// converted to Qt values, so that every key a tool wrote survives a round trip with its type.
namespace PropertyList {

struct NodeDeleter {
    void operator()(void* node) const { plist_free(node); }
};
using Node = std::unique_ptr<void, NodeDeleter>;

// Any format libplist reads (XML or binary); null when the bytes are not a property list.
Node parse(const QByteArray& bytes);
// The node as an XML property list; empty when it cannot be encoded.
QByteArray toXml(plist_t node);

bool isDictionary(plist_t node);
// The value under `key` when `node` is a dictionary holding it with that type, else null.
plist_t dictionaryAt(plist_t node, const char* key);
plist_t arrayAt(plist_t node, const char* key);
std::optional<QString> stringAt(plist_t node, const char* key);

} // namespace PropertyList
