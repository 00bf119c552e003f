#include "settings/update_checker.h"

#include "settings/version_compare.h"
#include "settings/web_address.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QProcess>
#include <cstdio>

namespace {

const QString builtInFeed = QStringLiteral("https://traymate.app/version.json");
const QString builtInDownloadPage = QStringLiteral("https://traymate.app/");

// The feed is a tiny document; anything much larger is not one.
constexpr qint64 maximumReplyBytes = 1 << 20;

QString overridable(const char* variable, const QString& builtIn)
{
    const QString value = qEnvironmentVariable(variable);
    return value.isEmpty() ? builtIn : value;
}

} // namespace

UpdateChecker& UpdateChecker::shared()
{
    // Never destroyed: it must outlive every observer, and the process ends with it.
    static UpdateChecker* const instance = new UpdateChecker;
    return *instance;
}

UpdateChecker::UpdateChecker(QObject* parent)
    : QObject(parent)
    , m_downloadURL(defaultDownloadPage())
{
}

UpdateChecker::~UpdateChecker() = default;

QString UpdateChecker::current()
{
    const QString version = QCoreApplication::applicationVersion();
    return version.isEmpty() ? QStringLiteral("1.0") : version;
}

QString UpdateChecker::feedURL()
{
    return overridable("TRAYMATE_UPDATE_FEED", builtInFeed);
}

QString UpdateChecker::defaultDownloadPage()
{
    return overridable("TRAYMATE_DOWNLOAD_PAGE", builtInDownloadPage);
}

namespace {

QNetworkReply* getFeed(QNetworkAccessManager& network, const QUrl& address,
                       std::chrono::milliseconds timeout)
{
    QNetworkRequest request(address);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setTransferTimeout(int(timeout.count()));

    QNetworkReply* reply = network.get(request);
    QObject::connect(reply, &QNetworkReply::downloadProgress, reply,
                     [reply](qint64 received, qint64) {
                         if (received > maximumReplyBytes)
                             reply->abort();
                     });
    return reply;
}

} // namespace

void UpdateChecker::check()
{
    const std::optional<QUrl> address = webAddress(feedURL());
    if (!address)
        return;

    setStatus(tr("Checking..."));

    if (!m_fetchProgram.isEmpty()) {
        auto* fetch = new QProcess(this);
        fetch->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        connect(fetch, &QProcess::readyReadStandardOutput, fetch, [fetch] {
            if (fetch->bytesAvailable() > maximumReplyBytes)
                fetch->kill();
        });
        connect(fetch, &QProcess::finished, this, [this, fetch] { finishFetch(fetch); });
        connect(fetch, &QProcess::errorOccurred, this, [this, fetch](QProcess::ProcessError error) {
            if (error == QProcess::FailedToStart)
                finishFetch(fetch);
        });
        fetch->start(m_fetchProgram,
                     {QString::fromLatin1(fetchOption), address->toString(QUrl::FullyEncoded),
                      QString::number(m_timeout.count())});
        return;
    }

    if (!m_network)
        m_network = new QNetworkAccessManager(this);
    QNetworkReply* reply = getFeed(*m_network, *address, m_timeout);
    connect(reply, &QNetworkReply::finished, this, [this, reply] { finish(reply); });
}

int UpdateChecker::fetchFeed(const QString& address, std::chrono::milliseconds timeout)
{
    const std::optional<QUrl> url = webAddress(address);
    if (!url)
        return 2;
    QNetworkAccessManager network;
    QNetworkReply* reply = getFeed(network, *url, timeout);
    QObject::connect(reply, &QNetworkReply::finished, qApp, [reply] {
        // An aborted reply is closed and holds nothing.
        const QByteArray body = reply->isOpen() ? reply->readAll() : QByteArray();
        std::fwrite(body.constData(), 1, std::size_t(body.size()), stdout);
        std::fflush(stdout);
        QCoreApplication::quit();
    });
    return QCoreApplication::exec();
}

void UpdateChecker::finish(QNetworkReply* reply)
{
    reply->deleteLater();
    // The status code and the network error are not looked at: whatever body arrived decides.
    // An aborted reply is closed and holds nothing.
    applyBody(reply->isOpen() ? reply->readAll() : QByteArray());
}

void UpdateChecker::finishFetch(QProcess* fetch)
{
    fetch->deleteLater();
    // A fetch that was killed or crashed may have written part of a body: it counts as none.
    const bool complete =
        fetch->exitStatus() == QProcess::NormalExit && fetch->error() != QProcess::FailedToStart;
    applyBody(complete ? fetch->readAllStandardOutput() : QByteArray());
}

void UpdateChecker::applyBody(const QByteArray& body)
{
    std::optional<QString> version;
    std::optional<QString> url;
    if (body.size() <= maximumReplyBytes) {
        const QJsonDocument document = QJsonDocument::fromJson(body);
        if (document.isObject()) {
            const QJsonObject feed = document.object();
            if (feed.value(QLatin1String("version")).isString())
                version = feed.value(QLatin1String("version")).toString();
            if (feed.value(QLatin1String("url")).isString())
                url = feed.value(QLatin1String("url")).toString();
        }
    }
    apply(version, url);
}

void UpdateChecker::apply(const std::optional<QString>& version, const std::optional<QString>& url)
{
    if (!version) {
        setStatus(tr("Could not check for updates"));
        return;
    }
    if (url)
        setDownloadURL(*url);
    if (compareVersions(*version, current()) > 0) {
        setLatest(version);
        setStatus(tr("Version %1 is available").arg(*version));
    } else {
        setLatest(std::nullopt);
        setStatus(tr("You are up to date"));
    }
}

void UpdateChecker::setLatest(const std::optional<QString>& latest)
{
    if (m_latest == latest)
        return;
    m_latest = latest;
    Q_EMIT latestChanged();
}

void UpdateChecker::setDownloadURL(const QString& url)
{
    if (m_downloadURL == url)
        return;
    m_downloadURL = url;
    Q_EMIT downloadURLChanged();
}

void UpdateChecker::setStatus(const QString& status)
{
    if (m_status == status)
        return;
    m_status = status;
    Q_EMIT statusChanged();
}
