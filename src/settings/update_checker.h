#pragma once

#include <QObject>
#include <QString>
#include <chrono>
#include <optional>

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

    // Fetches through `program <address> <timeout ms>`, which writes the feed's body to
    // standard output and exits: the network code and the TLS libraries never load into the
    // long-running program (several megabytes resident). Unset, every check fails.
    void setFetchProgram(const QString& program) { m_fetchProgram = program; }
    // The fetching program for the program in `programFolder`: traymate-fetch-feed beside it
    // (a build tree), else where the installation puts it relative to the program.
    static QString fetchProgramFor(const QString& programFolder);

Q_SIGNALS:
    void latestChanged();
    void downloadURLChanged();
    void statusChanged();

private:
    void finishFetch(QProcess* fetch);
    void applyBody(const QByteArray& body);
    void apply(const std::optional<QString>& version, const std::optional<QString>& url);
    void setLatest(const std::optional<QString>& latest);
    void setDownloadURL(const QString& url);
    void setStatus(const QString& status);

    std::chrono::milliseconds m_timeout{std::chrono::seconds(15)};
    QString m_fetchProgram;
    std::optional<QString> m_latest;
    QString m_downloadURL;
    QString m_status;
};
