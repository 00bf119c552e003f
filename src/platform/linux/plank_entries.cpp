#include "platform/linux/plank_entries.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <cerrno>
#include <gio/gio.h>
#include <unistd.h>

namespace {

const QString kSuffix = QStringLiteral(".dockitem");
const char* const kGroup = "PlankDockItemPreferences";
// The group older Plank versions wrote, which Plank still reads.
const char* const kLegacyGroup = "PlankItemsDockItemPreferences";

bool isItemName(const QString& name)
{
    return name.endsWith(kSuffix) && !name.startsWith(QLatin1Char('.')) &&
           !name.contains(QLatin1Char('/'));
}

// The file a dockitem points at; nothing when it cannot be read or points at no local file.
std::optional<QString> launcherOf(const QString& item)
{
    GKeyFile* file = g_key_file_new();
    std::optional<QString> path;
    if (g_key_file_load_from_file(file, QFile::encodeName(item).constData(), G_KEY_FILE_NONE,
                                  nullptr)) {
        gchar* launcher = g_key_file_get_string(file, kGroup, "Launcher", nullptr);
        if (!launcher)
            launcher = g_key_file_get_string(file, kLegacyGroup, "Launcher", nullptr);
        if (launcher) {
            if (g_path_is_absolute(launcher)) {
                path = QFile::decodeName(launcher);
            } else if (gchar* local = g_filename_from_uri(launcher, nullptr, nullptr)) {
                path = QFile::decodeName(local);
                g_free(local);
            }
            g_free(launcher);
        }
    }
    g_key_file_free(file);
    return path;
}

// Writes a hidden file, which Plank ignores, and links it in under the first free name, so
// Plank never sees half an item and no existing item is replaced.
bool addItem(const QString& folder, const QString& baseName, const QByteArray& content)
{
    if (!QDir().mkpath(folder))
        return false;
    QByteArray temporary = QFile::encodeName(folder + QStringLiteral("/.traymate-XXXXXX"));
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        return false;
    bool written = ::write(fd, content.constData(), size_t(content.size())) == content.size();
    written = ::fsync(fd) == 0 && written;
    written = ::close(fd) == 0 && written;
    bool linked = false;
    for (int n = 0; written && !linked && n < 1000; ++n) {
        QString name = baseName;
        if (n > 0)
            name += QLatin1Char('-') + QString::number(n);
        name += kSuffix;
        if (::link(temporary.constData(), QFile::encodeName(folder + QLatin1Char('/') + name)) == 0)
            linked = true;
        else if (errno != EEXIST)
            break;
    }
    ::unlink(temporary.constData());
    return linked;
}

} // namespace

QString PlankEntries::defaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/plank/dock1/launchers");
}

PlankEntries::PlankEntries(QString folder, GSettingsSchemaSource* source)
    : m_folder(std::move(folder))
    , m_order(GSettingsLists::settingsFor(source ? source : GSettingsLists::defaultSchemaSource(),
                                          orderSchemaId, orderKey, orderPath))
{
}

QStringList PlankEntries::itemNames() const
{
    QStringList files =
        QDir(m_folder).entryList({QStringLiteral("*") + kSuffix}, QDir::Files, QDir::Name);
    files.removeIf([](const QString& name) { return !isItemName(name); });
    // Plank shows the items its settings list in that order, then the others.
    QStringList ordered;
    if (m_order) {
        for (const QString& name : GSettingsLists::stringList(m_order.get(), orderKey)) {
            if (files.contains(name) && !ordered.contains(name))
                ordered.append(name);
        }
    }
    for (const QString& name : files) {
        if (!ordered.contains(name))
            ordered.append(name);
    }
    return ordered;
}

std::optional<QStringList> PlankEntries::entries()
{
    QStringList paths;
    for (const QString& name : itemNames()) {
        const std::optional<QString> location = launcherOf(m_folder + QLatin1Char('/') + name);
        // Plank shows nothing for an item whose file is gone, and a folder is no entry.
        if (location && location->endsWith(QLatin1String(".desktop")) &&
            QFileInfo(*location).isFile())
            paths.append(*location);
    }
    return paths;
}

bool PlankEntries::pin(const QString& entryPath)
{
    // Plank deletes an item whose desktop entry is missing, so only an existing entry goes in.
    if (!QFileInfo(entryPath).isFile())
        return false;
    // Plank deletes a second item for the same entry as well.
    for (const QString& name : itemNames()) {
        if (launcherOf(m_folder + QLatin1Char('/') + name) == entryPath)
            return true;
    }
    gchar* uri = g_filename_to_uri(QFile::encodeName(entryPath).constData(), nullptr, nullptr);
    if (!uri)
        return false;
    const QByteArray content = QByteArray("[") + kGroup + "]\nLauncher=" + QByteArray(uri) + "\n";
    g_free(uri);
    QString baseName = QFileInfo(entryPath).fileName();
    baseName.chop(int(qstrlen(".desktop")));
    return addItem(m_folder, baseName, content);
}

bool PlankEntries::unpin(const QString& entryPath)
{
    // Only the items for this entry go; anything else in the folder stays as it is.
    bool removed = true;
    for (const QString& name : itemNames()) {
        const QString item = m_folder + QLatin1Char('/') + name;
        if (launcherOf(item) == entryPath)
            removed = QFile::remove(item) && removed;
    }
    return removed;
}
