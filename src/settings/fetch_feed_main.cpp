// traymate-fetch-feed <address> <timeout ms>: fetches the update feed and writes its body to
// standard output. The update check runs it in a process of its own, so that Qt Network, its
// Kerberos libraries and the TLS libraries never load into the long-running program.
#include "settings/update_feed.h"

#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>
#include <cstdio>

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    bool timeoutValid = false;
    const int timeout = arguments.size() == 3 ? arguments.at(2).toInt(&timeoutValid) : 0;
    const QUrl address(arguments.size() == 3 ? arguments.at(1) : QString(), QUrl::StrictMode);
    const QString scheme = address.scheme();
    if (!timeoutValid || timeout <= 0 || !address.isValid() ||
        (scheme != QLatin1String("http") && scheme != QLatin1String("https"))) {
        std::fprintf(stderr, "usage: %s <http or https address> <timeout in ms>\n",
                     UpdateFeed::fetchProgram);
        return 2;
    }

    QNetworkRequest request(address);
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setTransferTimeout(timeout);

    QNetworkAccessManager network;
    QNetworkReply* reply = network.get(request);
    QObject::connect(reply, &QNetworkReply::downloadProgress, reply,
                     [reply](qint64 received, qint64) {
                         if (received > UpdateFeed::maximumBytes)
                             reply->abort();
                     });
    QObject::connect(reply, &QNetworkReply::finished, &application, [reply] {
        // The status code and the network error are not looked at: whatever body arrived
        // decides. An aborted reply is closed and holds nothing.
        const QByteArray body = reply->isOpen() ? reply->readAll() : QByteArray();
        std::fwrite(body.constData(), 1, std::size_t(body.size()), stdout);
        std::fflush(stdout);
        QCoreApplication::quit();
    });
    return QCoreApplication::exec();
}
