#include "settings/web_address.h"

std::optional<QUrl> webAddress(const QString& text)
{
    const QUrl address(text.trimmed(), QUrl::StrictMode);
    const QString scheme = address.scheme();
    if (!address.isValid() || address.host().isEmpty() ||
        (scheme != QLatin1String("https") && scheme != QLatin1String("http")))
        return std::nullopt;
    return address;
}
