#pragma once

#include <QObject>
#include <QString>
#include <chrono>
#include <optional>

class QNetworkAccessManager;
class QNetworkReply;
class QProcess;

// Asks the product's update feed for the newest version and publishes what it learnt: the
// newer version if there is one, where to download it and a one-line status. Nothing is
// downloaded here; the settings only open the download page in the browser.
class UpdateChecker : public QObject {
    Q_OBJECT

public:
    // The process-wide checker, made on first use and kept until the process ends.
    static UpdateChecker& shared();

    // A separate checker with the same defaults; the program uses shared() only.
    explicit UpdateChecker(QObject* parent = nullptr);
    ~UpdateChecker() override;

    // The running version, as the build set it on the application, or "1.0".
    static QString current();
    // The feed's address: $TRAYMATE_UPDATE_FEED when set, else the built-in one.
    static QString feedURL();
    // The first download page: $TRAYMATE_DOWNLOAD_PAGE when set, else the built-in one.
    static QString defaultDownloadPage();

    // The feed's version while it is newer than current().
    const std::optional<QString>& latest() const { return m_latest; }
    QString downloadURL() const { return m_downloadURL; }
    QString status() const { return m_status; }

    // Starts one check and returns at once. Checks that overlap each apply their reply as it
    // arrives, so the last reply decides.
    void check();

    // How long a request may go without any data before it counts as failed.
    void setTimeout(std::chrono::milliseconds timeout) { m_timeout = timeout; }

    // Fetches through `program --fetch-update-feed <address> <timeout ms>`, which runs
    // fetchFeed() and exits, instead of in this process: the long-running program then never
    // maps the TLS libraries (several megabytes resident). Empty: in this process.
    void setFetchProgram(const QString& program) { m_fetchProgram = program; }
    static constexpr const char* fetchOption = "--fetch-update-feed";
    // The fetching program's side: fetches `address` as check() would and writes the body to
    // standard output. Needs a QCoreApplication; returns the exit code.
    static int fetchFeed(const QString& address, std::chrono::milliseconds timeout);

Q_SIGNALS:
    void latestChanged();
    void downloadURLChanged();
    void statusChanged();

private:
    void finish(QNetworkReply* reply);
    void finishFetch(QProcess* fetch);
    void applyBody(const QByteArray& body);
    void apply(const std::optional<QString>& version, const std::optional<QString>& url);
    void setLatest(const std::optional<QString>& latest);
    void setDownloadURL(const QString& url);
    void setStatus(const QString& status);

    QNetworkAccessManager* m_network = nullptr;
    std::chrono::milliseconds m_timeout{std::chrono::seconds(15)};
    QString m_fetchProgram;
    std::optional<QString> m_latest;
    QString m_downloadURL;
    QString m_status;
};
