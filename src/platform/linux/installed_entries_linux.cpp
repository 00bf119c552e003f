#include "platform/installed_entries.h"

#include <QAbstractEventDispatcher>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <gio/gdesktopappinfo.h>
#include <gio/gio.h>

// GIO's GAppInfoMonitor watches every application folder; it reports once and stays quiet
// until a lookup of installed entries sets the folders up again, which listen() does.
struct InstalledEntries::Watch {
    GAppInfoMonitor* monitor = g_app_info_monitor_get();
    QStringList folders;
    bool listening = false;
};

namespace {

void monitorChanged(GAppInfoMonitor*, gpointer owner)
{
    InstalledEntries* entries = static_cast<InstalledEntries*>(owner);
    Q_EMIT entries->changed();
}

QString applicationsIn(const char* dataFolder)
{
    return QDir::cleanPath(QFile::decodeName(dataFolder) + QStringLiteral("/applications"));
}

} // namespace

InstalledEntries::InstalledEntries(QObject* parent)
    : QObject(parent)
    , m_watch(std::make_unique<Watch>())
{
    m_watch->folders.append(applicationsIn(g_get_user_data_dir()));
    for (const char* const* data = g_get_system_data_dirs(); data && *data; ++data)
        m_watch->folders.append(applicationsIn(*data));
    g_signal_connect(m_watch->monitor, "changed", G_CALLBACK(monitorChanged), this);
    connect(this, &InstalledEntries::changed, this, [this] { m_watch->listening = false; });
}

InstalledEntries::~InstalledEntries()
{
    g_signal_handlers_disconnect_by_data(m_watch->monitor, this);
    g_object_unref(m_watch->monitor);
}

bool InstalledEntries::covers(const QString& folder) const
{
    // The monitor reports through GLib's main context, which only a GLib event loop runs.
    const QAbstractEventDispatcher* loop = QAbstractEventDispatcher::instance();
    return loop && loop->inherits("QEventDispatcherGlib") &&
           m_watch->folders.contains(QDir::cleanPath(folder));
}

void InstalledEntries::listen()
{
    if (m_watch->listening)
        return;
    // Any lookup by id sets up the folders that reported, and their watches with them.
    if (GDesktopAppInfo* none = g_desktop_app_info_new("traymate-listens.desktop"))
        g_object_unref(none);
    m_watch->listening = true;
}
