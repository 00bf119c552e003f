#pragma once

#include <QStringList>
#include <memory>

typedef struct _GSettings GSettings;
typedef struct _GSettingsSchemaSource GSettingsSchemaSource;

// GSettings reached without the risks of its plain API: it ends the process for a missing
// schema or key, so everything here looks first.
namespace GSettingsLists {

struct SettingsDeleter {
    void operator()(GSettings* settings) const;
};
using Settings = std::unique_ptr<GSettings, SettingsDeleter>;

// The schema source GSettings uses unless told otherwise.
GSettingsSchemaSource* defaultSchemaSource();
// Whether `source` (with its parents) holds the schema.
bool hasSchema(GSettingsSchemaSource* source, const char* schemaId);
// Settings of the schema at `path` (null for a schema with a fixed path) when `source` holds it
// with `listKey` as a list of strings; null otherwise.
Settings settingsFor(GSettingsSchemaSource* source, const char* schemaId, const char* listKey,
                     const char* path = nullptr);
QStringList stringList(GSettings* settings, const char* key);
// Writes the key and waits until the backend has it; false when the key is not writable.
bool setStringList(GSettings* settings, const char* key, const QStringList& values);

} // namespace GSettingsLists
