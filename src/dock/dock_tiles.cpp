#include "dock/dock_tiles.h"

#include "dock/property_list.h"
#include "model/canonical_text.h"

#include <QStringDecoder>
#include <QUrl>

namespace {

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Decodes %XX escapes as UTF-8; nothing for a malformed escape or bytes that are not UTF-8.
std::optional<QString> removingPercentEncoding(QStringView text)
{
    // "%" and hex digits are ASCII, so the escapes come through the UTF-8 form unchanged.
    const QByteArray encoded = text.toUtf8();
    QByteArray bytes;
    bytes.reserve(encoded.size());
    for (qsizetype i = 0; i < encoded.size(); ++i) {
        if (encoded[i] != '%') {
            bytes.append(encoded[i]);
            continue;
        }
        if (i + 2 >= encoded.size())
            return std::nullopt;
        const int high = hexValue(encoded[i + 1]);
        const int low = hexValue(encoded[i + 2]);
        if (high < 0 || low < 0)
            return std::nullopt;
        bytes.append(char(high * 16 + low));
        i += 2;
    }
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString decoded = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return decoded;
}

// The location of every tile of an exported domain, in order; nothing when it cannot be read.
std::optional<QList<std::optional<QString>>> tileLocations(const QByteArray& exported)
{
    const PropertyList::Node domain = PropertyList::parse(exported);
    plist_t apps = persistentApps(domain.get());
    if (!apps)
        return std::nullopt;
    QList<std::optional<QString>> locations;
    const uint32_t count = plist_array_get_size(apps);
    for (uint32_t i = 0; i < count; ++i)
        locations.append(tilePath(plist_array_get_item(apps, i)));
    return locations;
}

} // namespace

bool isApplicationPath(const QString& path)
{
    return path.endsWith(QLatin1String(".app")) || path.endsWith(QLatin1String(".desktop"));
}

std::optional<QString> tilePath(plist_t tile)
{
    using namespace PropertyList;
    const std::optional<QString> location =
        stringAt(dictionaryAt(dictionaryAt(tile, "tile-data"), "file-data"), "_CFURLString");
    if (!location)
        return std::nullopt;

    static const QString filePrefix = QStringLiteral("file://");
    QString path;
    if (location->startsWith(filePrefix)) {
        const QUrl url(*location, QUrl::StrictMode);
        if (url.isValid()) {
            path = url.path(QUrl::FullyDecoded);
        } else {
            // Not a well-formed URL (an unescaped space, say): decode what follows the scheme.
            const QStringView rest = QStringView(*location).mid(filePrefix.size());
            path = removingPercentEncoding(rest).value_or(rest.toString());
        }
    } else {
        path = *location;
    }
    if (path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return path;
}

plist_t persistentApps(plist_t domain)
{
    plist_t apps = PropertyList::arrayAt(domain, "persistent-apps");
    if (!apps)
        return nullptr;
    const uint32_t count = plist_array_get_size(apps);
    for (uint32_t i = 0; i < count; ++i) {
        if (!PropertyList::isDictionary(plist_array_get_item(apps, i)))
            return nullptr;
    }
    return apps;
}

QStringList dockTilePaths(const QByteArray& exported)
{
    QStringList paths;
    for (const std::optional<QString>& location :
         tileLocations(exported).value_or(QList<std::optional<QString>>())) {
        if (location)
            paths.append(*location);
    }
    return paths;
}

QStringList dockApplicationPaths(const QByteArray& exported)
{
    QStringList paths = dockTilePaths(exported);
    paths.removeIf([](const QString& path) { return !isApplicationPath(path); });
    return paths;
}

std::optional<QByteArray> domainWithout(const QByteArray& exported, const QString& path)
{
    const PropertyList::Node domain = PropertyList::parse(exported);
    plist_t apps = persistentApps(domain.get());
    if (!apps)
        return std::nullopt;
    QList<std::optional<QString>> kept;
    bool dropped = false;
    for (uint32_t i = 0; i < plist_array_get_size(apps);) {
        std::optional<QString> location = tilePath(plist_array_get_item(apps, i));
        if (location && CanonicalText::equal(*location, path)) {
            plist_array_remove_item(apps, i);
            dropped = true;
        } else {
            kept.append(std::move(location));
            ++i;
        }
    }
    if (!dropped)
        return std::nullopt;
    QByteArray xml = PropertyList::toXml(domain.get());
    // The import replaces the whole domain with this text, so it must read back to the very
    // tiles that were kept. A domain the XML form cannot carry faithfully (a dictionary with a
    // key twice, say) is left as it is rather than rewritten wrongly.
    if (tileLocations(xml) != kept)
        return std::nullopt;
    return xml;
}
