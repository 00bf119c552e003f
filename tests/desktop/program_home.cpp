#include "program_home.h"

#include <QDir>
#include <QFile>

ProgramHome::ProgramHome()
{
    const QString runtime = path() + QStringLiteral("/runtime");
    m_valid =
        m_root.isValid() && QDir().mkpath(runtime) &&
        QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner) &&
        QDir().mkpath(path() + QStringLiteral("/home"));
}

QProcessEnvironment ProgramHome::environment(QProcessEnvironment desktop) const
{
    desktop.insert(QStringLiteral("HOME"), path() + QStringLiteral("/home"));
    desktop.insert(QStringLiteral("XDG_DATA_HOME"), data());
    desktop.insert(QStringLiteral("XDG_CONFIG_HOME"), config());
    desktop.insert(QStringLiteral("XDG_CACHE_HOME"), path() + QStringLiteral("/cache"));
    desktop.insert(QStringLiteral("XDG_STATE_HOME"), path() + QStringLiteral("/state"));
    desktop.insert(QStringLiteral("XDG_RUNTIME_DIR"), path() + QStringLiteral("/runtime"));
    desktop.insert(QStringLiteral("TRAYMATE_DOCK"), QStringLiteral("file"));
    desktop.insert(QStringLiteral("GSETTINGS_BACKEND"), QStringLiteral("memory"));
    desktop.remove(QStringLiteral("XDG_CURRENT_DESKTOP"));
    desktop.remove(QStringLiteral("DESKTOP_SESSION"));
    return desktop;
}
