// Any bytes as an exported Dock domain: reading its applications never crashes, and a removal
// that rewrites the domain takes exactly the launcher's tiles away and leaves every other path
// as it read.
// The same bytes as one tile's location: tilePath never crashes and keeps plain paths.
#include "dock/dock_tiles.h"
#include "dock/property_list.h"
#include "model/canonical_text.h"

#include <QStringDecoder>
#include <cstdint>
#include <cstdlib>

namespace {

void checkDomain(const QByteArray& bytes)
{
    const QStringList apps = dockApplicationPaths(bytes);
    if (apps.isEmpty())
        return;
    const QString removed = apps.first();
    const std::optional<QByteArray> edited = domainWithout(bytes, removed);
    if (!edited)
        return; // refused: the XML form would not carry this domain faithfully
    QStringList expected = apps;
    expected.removeIf([&](const QString& path) { return CanonicalText::equal(path, removed); });
    if (dockApplicationPaths(*edited) != expected)
        std::abort();
    if (domainWithout(*edited, removed))
        std::abort(); // nothing of it may be left behind
}

void checkLocation(const QByteArray& bytes)
{
    if (bytes.contains('\0'))
        return;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString location = decoder.decode(bytes);
    if (decoder.hasError())
        return;
    const PropertyList::Node tile(plist_new_dict());
    plist_t tileData = plist_new_dict();
    plist_t fileData = plist_new_dict();
    plist_dict_set_item(fileData, "_CFURLString", plist_new_string(bytes.constData()));
    plist_dict_set_item(tileData, "file-data", fileData);
    plist_dict_set_item(tile.get(), "tile-data", tileData);
    const std::optional<QString> path = tilePath(tile.get());
    if (!path)
        std::abort();
    if (!location.startsWith(QLatin1String("file://"))) {
        const QString plain = location.endsWith(QLatin1Char('/')) ? location.chopped(1) : location;
        if (*path != plain)
            std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    checkDomain(bytes);
    checkLocation(bytes);
    return 0;
}
