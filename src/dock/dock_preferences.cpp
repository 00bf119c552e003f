#include "dock/dock_preferences.h"

#include "dock/file_dock_preferences.h"
#include "dock/property_list.h"
#include "dock/tool_dock_preferences.h"

#include <QStringDecoder>
#include <QUrl>

namespace {

std::unique_ptr<DockPreferences>& currentDock()
{
    static std::unique_ptr<DockPreferences> dock;
    return dock;
}

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

} // namespace

DockPreferences& DockPreferences::current()
{
    std::unique_ptr<DockPreferences>& dock = currentDock();
    if (!dock)
        dock = makePlatformDockPreferences();
    return *dock;
}

std::unique_ptr<DockPreferences> DockPreferences::setCurrent(std::unique_ptr<DockPreferences> dock)
{
    std::unique_ptr<DockPreferences> previous = std::move(currentDock());
    currentDock() = std::move(dock);
    return previous;
}

std::unique_ptr<DockPreferences> makePlatformDockPreferences()
{
#if defined(Q_OS_MACOS)
    return std::make_unique<ToolDockPreferences>();
#else
    return std::make_unique<FileDockPreferences>();
#endif
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
