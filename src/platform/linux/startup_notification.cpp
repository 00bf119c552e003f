#include "platform/linux/startup_notification.h"

namespace {
constexpr int pieceBytes = 20; // the data of one format-8 client message
}

QString StartupNotification::makeId(qint64 pid, const QString& host, std::uint32_t serverTime)
{
    QString safeHost = host;
    for (QChar& c : safeHost) {
        if (c.unicode() <= 0x20 || c.unicode() >= 0x7f || c == QLatin1Char('"') ||
            c == QLatin1Char('\\'))
            c = QLatin1Char('_');
    }
    return QStringLiteral("traymate-%1-%2-_TIME%3").arg(pid).arg(safeHost).arg(serverTime);
}

QByteArray StartupNotification::removeMessage(const QString& id)
{
    const QByteArray bytes = id.toUtf8();
    bool quote = bytes.isEmpty();
    QByteArray escaped;
    for (const char c : bytes) {
        if (c == ' ' || c == '"' || c == '\\')
            quote = true;
        if (c == '"' || c == '\\')
            escaped += '\\';
        escaped += c;
    }
    return QByteArrayLiteral("remove: ID=") + (quote ? '"' + escaped + '"' : escaped);
}

QList<QByteArray> StartupNotification::pieces(const QByteArray& message)
{
    QByteArray all = message;
    all += '\0';
    QList<QByteArray> result;
    for (qsizetype at = 0; at < all.size(); at += pieceBytes)
        result.append(all.mid(at, pieceBytes).leftJustified(pieceBytes, '\0'));
    return result;
}
