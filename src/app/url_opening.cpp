#include "app/url_opening.h"

#include "model/app_group.h"

#include <QUrl>

std::optional<QUuid> groupIdOfUrl(const QString& url)
{
    // QUrl lower-cases schemes, and letter case counts here: compare the text as written.
    const qsizetype colon = url.indexOf(QLatin1Char(':'));
    if (colon <= 0 || QStringView(url).left(colon) != QLatin1String("traymate"))
        return std::nullopt;
    const QUrl parsed(url, QUrl::StrictMode);
    if (!parsed.isValid())
        return std::nullopt;
    QString path = parsed.path(QUrl::FullyDecoded);
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1); // a trailing slash does not make an empty last component
    const QString last = path.section(QLatin1Char('/'), -1);
    return parseGroupId(last);
}
