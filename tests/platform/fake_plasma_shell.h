#pragma once

#include <QDBusConnection>
#include <QDBusVirtualObject>
#include <QHash>
#include <QMutex>
#include <QSet>
#include <QStringList>
#include <QThread>
#include <functional>

// The groups and keys of a KConfig file such as plasma-org.kde.plasma.desktop-appletsrc, in
// file order, values with KConfig's escapes undone.
class KConfigText {
public:
    bool load(const QString& path);
    bool save(const QString& path) const;

    std::optional<QString> value(const QStringList& group, const QString& key) const;
    void setValue(const QStringList& group, const QString& key, const QString& value);
    QList<QStringList> groups() const { return m_order; }

    // KConfig's list encoding, as readEntry/writeEntry with a list do it.
    static QStringList splitList(const QString& value);
    static QString joinList(const QStringList& items);

private:
    QList<QStringList> m_order;
    QHash<QStringList, QList<std::pair<QString, QString>>> m_entries;
    // Keys marked "[$i]", which a kiosk setup locks: writes to them are ignored, as KConfig does.
    QSet<QStringList> m_immutable;
};

// A stand-in for plasmashell on the test's private session bus: org.kde.PlasmaShell's
// evaluateScript runs the script in a real JavaScript engine against the panels and widgets of
// an appletsrc file, with the subset of Plasma's scripting API that panels use: panels(),
// panelById(), print(); a panel's id, type, widgets(type), widgetById(); a widget's id, type,
// currentConfigGroup, readConfig(key, default), writeConfig(key, value). What is not there
// throws as in Plasma (a TypeError calling it). A script error is answered with a D-Bus error
// as Plasma does, and remembered so a test can fail on it. Writes go to the file at once, and
// count as the applet's configChanged. Runs in a thread of its own, so the code under test may
// make blocking calls.
class FakePlasmaShell : public QDBusVirtualObject {
    Q_OBJECT

public:
    enum class Refusal { None, WidgetsLocked, Kiosk };
    Q_ENUM(Refusal)

    explicit FakePlasmaShell(QString appletsFile);
    ~FakePlasmaShell() override;

    // Loads the file and takes plasmashell's name on the bus; false when either failed.
    bool start();
    void setRefusal(Refusal refusal);
    // Runs once, in the shell, right after the next script that wrote nothing: as if the user
    // changed a launcher list between a client's read and its write.
    void editAfterNextRead(std::function<void(KConfigText&)> edit);

    // The launchers of widget `widget` of containment `panel` as the shell holds them now.
    QStringList launchers(int panel, int widget) const;
    void setLaunchers(int panel, int widget, const QStringList& launchers);
    int scriptCount() const;
    int configChangedCount() const;
    QStringList scriptErrors() const;

    QString introspect(const QString& path) const override;
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;

    // Used by the script objects, in the shell's thread.
    KConfigText& config() { return m_config; }
    void wrote();

private:
    QString m_appletsFile;
    QThread m_thread;
    QDBusConnection m_connection;
    mutable QMutex m_mutex;
    KConfigText m_config;
    Refusal m_refusal = Refusal::None;
    std::function<void(KConfigText&)> m_editAfterRead;
    int m_scripts = 0;
    int m_configChanged = 0;
    bool m_scriptWrote = false;
    QStringList m_errors;
};
