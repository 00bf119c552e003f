#include "platform/linux/gsettings_lists.h"

#include <gio/gio.h>
#include <vector>

namespace GSettingsLists {

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
    if (!g_settings_is_writable(settings, key))
        return false;
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

} // namespace GSettingsLists
