#include "settings/update_checker.h"

#include "settings/update_feed.h"
#include "settings/version_compare.h"
#include "settings/web_address.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

namespace {

const QString builtInFeed = QStringLiteral("https://traymate.app/version.json");
const QString builtInDownloadPage = QStringLiteral("https://traymate.app/");

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

QString UpdateChecker::fetchProgramFor(const QString& programFolder)
{
    const QString name = QLatin1String(UpdateFeed::fetchProgram);
    const QFileInfo beside(programFolder + QLatin1Char('/') + name);
    if (beside.isFile() && beside.isExecutable())
        return beside.filePath();
    return QDir::cleanPath(programFolder + QLatin1Char('/') +
                           QLatin1String(TRAYMATE_FETCH_FEED_FROM_PROGRAM) + QLatin1Char('/') +
                           name);
}

void UpdateChecker::check()
{
    const std::optional<QUrl> address = webAddress(feedURL());
    if (!address)
        return;

    setStatus(tr("Checking..."));

    auto* fetch = new QProcess(this);
    fetch->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    connect(fetch, &QProcess::readyReadStandardOutput, fetch, [fetch] {
        if (fetch->bytesAvailable() > UpdateFeed::maximumBytes)
            fetch->kill();
    });
    connect(fetch, &QProcess::finished, this, [this, fetch] { finishFetch(fetch); });
    connect(fetch, &QProcess::errorOccurred, this, [this, fetch](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            finishFetch(fetch);
    });
    // Started from the event loop: a program that cannot start fails at once, and the
    // "Checking..." just published would never be seen.
    QMetaObject::invokeMethod(
        fetch,
        [fetch, program = m_fetchProgram, address = address->toString(QUrl::FullyEncoded),
         timeout = m_timeout] {
            fetch->start(program, {address, QString::number(timeout.count())});
        },
        Qt::QueuedConnection);
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
    if (body.size() <= UpdateFeed::maximumBytes) {
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
