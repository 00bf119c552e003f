#include "dock/linux_dock_tiles.h"

#include "dock/dock_tiles.h"
#include "dock/launcher_files.h"
#include "dock/launchers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUuid>
#include <gio/gio.h>

namespace LinuxDock {

namespace {

const QString kLauncherKey = QStringLiteral("X-Traymate-Bundle");

// `name` inside `folder`, where each "-" of the name may also be a folder boundary.
std::optional<QString> findIn(const QString& folder, const QString& name)
{
    const QString direct = folder + QLatin1Char('/') + name;
    if (QFileInfo(direct).isFile())
        return direct;
    for (qsizetype dash = name.indexOf(QLatin1Char('-')); dash > 0;
         dash = name.indexOf(QLatin1Char('-'), dash + 1)) {
        const QString sub = folder + QLatin1Char('/') + name.left(dash);
        if (!QFileInfo(sub).isDir())
            continue;
        if (std::optional<QString> found = findIn(sub, name.mid(dash + 1)))
            return found;
    }
    return std::nullopt;
}

QString stringOf(gchar* value)
{
    QString text = QString::fromUtf8(value);
    g_free(value);
    return text;
}

} // namespace

std::optional<QString> desktopFilePath(const QString& id)
{
    // An id is a file name; one that climbs out of the applications folder names nothing.
    if (id.isEmpty() || id.contains(QLatin1Char('/')) || id.startsWith(QLatin1Char('.')))
        return std::nullopt;
    for (const QString& data :
         QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation)) {
        if (std::optional<QString> found = findIn(data + QStringLiteral("/applications"), id))
            return found;
    }
    return std::nullopt;
}

std::optional<QString> launcherBundleOf(const QString& desktopFile)
{
    GKeyFile* file = g_key_file_new();
    std::optional<QString> bundle;
    if (g_key_file_load_from_file(file, QFile::encodeName(desktopFile).constData(), G_KEY_FILE_NONE,
                                  nullptr)) {
        if (gchar* value = g_key_file_get_string(file, G_KEY_FILE_DESKTOP_GROUP,
                                                 kLauncherKey.toUtf8().constData(), nullptr)) {
            bundle = stringOf(value);
            if (bundle->isEmpty())
                bundle.reset();
        }
    }
    g_key_file_free(file);
    return bundle;
}

QString tileLocation(const QString& desktopFile)
{
    return launcherBundleOf(desktopFile).value_or(desktopFile);
}

std::optional<QString> launcherEntryOfTile(const QString& tileText)
{
    const PropertyList::Node tile = PropertyList::parse(tileText.toUtf8());
    const std::optional<QString> bundle = tilePath(tile.get());
    if (!bundle)
        return std::nullopt;
    // The bundle's identifier carries the group id, which names the desktop entry.
    QFile info(*bundle + QStringLiteral("/Contents/Info.plist"));
    if (!info.open(QIODevice::ReadOnly))
        return std::nullopt;
    const PropertyList::Node plist = PropertyList::parse(info.readAll());
    const std::optional<QString> identifier =
        PropertyList::stringAt(plist.get(), "CFBundleIdentifier");
    const QString prefix = Launchers::bundleIdentifierPrefix + QStringLiteral(".group.");
    if (!identifier || !identifier->startsWith(prefix))
        return std::nullopt;
    const QUuid id = QUuid::fromString(QStringView(*identifier).mid(prefix.size()));
    if (id.isNull())
        return std::nullopt;
    QString entry = Launchers::desktopEntryPath(id);
    if (!QFileInfo(entry).isFile())
        return std::nullopt;
    return entry;
}

PropertyList::Node makeTile(const std::optional<QString>& location, const char* key,
                            const QString& value)
{
    PropertyList::Node tile(plist_new_dict());
    plist_t tileData = plist_new_dict();
    if (location) {
        plist_t fileData = plist_new_dict();
        plist_dict_set_item(fileData, "_CFURLString",
                            plist_new_string(location->toUtf8().constData()));
        plist_dict_set_item(fileData, "_CFURLStringType", plist_new_uint(0));
        plist_dict_set_item(tileData, "file-data", fileData);
    }
    plist_dict_set_item(tile.get(), "tile-data", tileData);
    plist_dict_set_item(tile.get(), key, plist_new_string(value.toUtf8().constData()));
    return tile;
}

QByteArray domainOf(std::vector<PropertyList::Node> tiles)
{
    const PropertyList::Node domain(plist_new_dict());
    plist_t apps = plist_new_array();
    for (PropertyList::Node& tile : tiles)
        plist_array_append_item(apps, tile.release());
    plist_dict_set_item(domain.get(), "persistent-apps", apps);
    return PropertyList::toXml(domain.get());
}

std::optional<QStringList> tileValuesIn(const QString& file, const char* key)
{
    QFile input(file);
    if (!input.open(QIODevice::ReadOnly))
        return std::nullopt;
    const PropertyList::Node domain = PropertyList::parse(input.readAll());
    plist_t apps = persistentApps(domain.get());
    if (!apps)
        return std::nullopt;
    QStringList values;
    for (uint32_t i = 0; i < plist_array_get_size(apps); ++i) {
        if (std::optional<QString> value =
                PropertyList::stringAt(plist_array_get_item(apps, i), key))
            values.append(*value);
    }
    return values;
}

void SettingsDeleter::operator()(GSettings* settings) const
{
    g_object_unref(settings);
}

GSettingsSchemaSource* defaultSchemaSource()
{
    return g_settings_schema_source_get_default();
}

bool hasSchema(GSettingsSchemaSource* source, const char* schemaId)
{
    if (!source)
        return false;
    GSettingsSchema* schema = g_settings_schema_source_lookup(source, schemaId, TRUE);
    if (!schema)
        return false;
    g_settings_schema_unref(schema);
    return true;
}

Settings settingsFor(GSettingsSchemaSource* source, const char* schemaId, const char* listKey,
                     const char* path)
{
    if (!source)
        return nullptr;
    GSettingsSchema* schema = g_settings_schema_source_lookup(source, schemaId, TRUE);
    if (!schema)
        return nullptr;
    // A relocatable schema needs a path, a fixed one must not be given another.
    const char* fixed = g_settings_schema_get_path(schema);
    // Reading a key the schema lacks, or of another type, ends the process too.
    bool usable = bool(fixed) != bool(path) && g_settings_schema_has_key(schema, listKey);
    if (usable) {
        GSettingsSchemaKey* key = g_settings_schema_get_key(schema, listKey);
        usable = g_variant_type_equal(g_settings_schema_key_get_value_type(key),
                                      G_VARIANT_TYPE_STRING_ARRAY);
        g_settings_schema_key_unref(key);
    }
    if (!usable) {
        g_settings_schema_unref(schema);
        return nullptr;
    }
    Settings settings(g_settings_new_full(schema, nullptr, path));
    g_settings_schema_unref(schema);
    return settings;
}

QStringList stringList(GSettings* settings, const char* key)
{
    QStringList values;
    gchar** strings = g_settings_get_strv(settings, key);
    for (gchar** s = strings; s && *s; ++s)
        values.append(QString::fromUtf8(*s));
    g_strfreev(strings);
    return values;
}

bool setStringList(GSettings* settings, const char* key, const QStringList& values)
{
    QList<QByteArray> bytes;
    bytes.reserve(values.size());
    std::vector<const gchar*> pointers;
    for (const QString& value : values)
        bytes.append(value.toUtf8());
    for (const QByteArray& value : bytes)
        pointers.push_back(value.constData());
    pointers.push_back(nullptr);
    const bool written = g_settings_set_strv(settings, key, pointers.data());
    g_settings_sync();
    return written;
}

} // namespace LinuxDock
