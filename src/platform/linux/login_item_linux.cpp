#include "model/safe_file.h"
#include "platform/login_item.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>
#include <glib.h>
#include <memory>

namespace {

const QString desktopGroup = QStringLiteral("Desktop Entry");

// One argument of an Exec line: quoted only when it holds a character the line reserves, and
// then with the characters that stay special inside quotes escaped; a literal percent sign is
// doubled so that it is no field code.
QString execArgument(const QString& argument)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    const bool quote =
        std::any_of(argument.begin(), argument.end(), [](QChar c) { return reserved.contains(c); });
    QString written = quote ? QStringLiteral("\"") : QString();
    for (const QChar c : argument) {
        if (quote && (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') ||
                      c == QLatin1Char('\\')))
            written += QLatin1Char('\\');
        if (c == QLatin1Char('%'))
            written += QLatin1Char('%');
        written += c;
    }
    return quote ? written + QLatin1Char('"') : written;
}

// The key file's own escapes for a string value, applied over the Exec quoting.
QString keyFileString(const QString& value)
{
    QString escaped;
    for (const QChar c : value) {
        switch (c.unicode()) {
        case '\\': escaped += QLatin1String("\\\\"); break;
        case '\n': escaped += QLatin1String("\\n"); break;
        case '\r': escaped += QLatin1String("\\r"); break;
        case '\t': escaped += QLatin1String("\\t"); break;
        default: escaped += c;
        }
    }
    return escaped;
}

QString canonical(const QString& path)
{
    const QString resolved = QFileInfo(path).canonicalFilePath();
    return resolved.isEmpty() ? QDir::cleanPath(path) : resolved;
}

struct KeyFileDeleter {
    void operator()(GKeyFile* file) const { g_key_file_free(file); }
};

} // namespace

namespace AutostartEntry {

QByteArray text(const QString& program)
{
    // The delay and the panel ordering let the desktop's tray come up first, or the tray
    // icon would be missing after login.
    const QString text = QStringLiteral("[Desktop Entry]\n"
                                        "Type=Application\n"
                                        "Name=Traymate\n"
                                        "Comment=Groups of apps in a tray panel\n"
                                        "Exec=") +
                         keyFileString(execArgument(program)) +
                         QStringLiteral("\n"
                                        "Icon=traymate\n"
                                        "Terminal=false\n"
                                        "X-GNOME-Autostart-enabled=true\n"
                                        "X-GNOME-Autostart-Delay=3\n"
                                        "X-KDE-autostart-after=panel\n"
                                        "X-LXQt-Need-Tray=true\n");
    return text.toUtf8();
}

bool starts(const QString& path, const QString& program)
{
    std::unique_ptr<GKeyFile, KeyFileDeleter> file(g_key_file_new());
    if (!g_key_file_load_from_file(file.get(), QFile::encodeName(path).constData(), G_KEY_FILE_NONE,
                                   nullptr))
        return false;
    const QByteArray group = desktopGroup.toUtf8();
    const auto flag = [&](const char* key, bool absent) {
        GError* error = nullptr;
        const bool value = g_key_file_get_boolean(file.get(), group.constData(), key, &error);
        if (error) {
            g_error_free(error);
            return absent;
        }
        return value;
    };
    if (flag("Hidden", false) || !flag("X-GNOME-Autostart-enabled", true))
        return false;

    gchar* type = g_key_file_get_string(file.get(), group.constData(), "Type", nullptr);
    const bool application = type && qstrcmp(type, "Application") == 0;
    g_free(type);
    gchar* exec = g_key_file_get_string(file.get(), group.constData(), "Exec", nullptr);
    gchar** argv = nullptr;
    const bool parsed = application && exec && g_shell_parse_argv(exec, nullptr, &argv, nullptr);
    g_free(exec);
    if (!parsed)
        return false;
    QString started = QString::fromUtf8(argv[0]).replace(QLatin1String("%%"), QLatin1String("%"));
    g_strfreev(argv);
    if (!QFileInfo(started).isAbsolute())
        started = QStandardPaths::findExecutable(started);
    return !started.isEmpty() && canonical(started) == canonical(program);
}

} // namespace AutostartEntry

namespace LoginItem {

bool isAvailable()
{
    return true;
}

QString entryPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/autostart/traymate.desktop");
}

QString programPath()
{
    const QString appImage = qEnvironmentVariable("APPIMAGE");
    if (QFileInfo(appImage).isAbsolute() && QFileInfo(appImage).isFile())
        return appImage;
    return QCoreApplication::applicationFilePath();
}

bool registerItem()
{
    const QString path = entryPath();
    return QDir().mkpath(QFileInfo(path).path()) &&
           writeFileAtomically(path, AutostartEntry::text(programPath()));
}

bool unregisterItem()
{
    const QFileInfo entry(entryPath());
    if (!entry.exists() && !entry.isSymLink())
        return true;
    return QFile::remove(entry.filePath());
}

bool isEnabled()
{
    return AutostartEntry::starts(entryPath(), programPath());
}

} // namespace LoginItem
