#pragma once

#include "dock/property_list.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

typedef struct _GSettings GSettings;
typedef struct _GSettingsSchemaSource GSettingsSchemaSource;

// What the docks of Linux desktops have in common: they list desktop entries, which the
// program shows to the Dock code as tiles of an exported domain.
namespace LinuxDock {

// The file a desktop file id stands for: "applications/<id>" in the user's data folder, then
// in each of XDG_DATA_DIRS, the first that exists; a "-" in the id may stand for a sub-folder
// ("kde-foo.desktop" is also "kde/foo.desktop"). Nothing for an id that names no file.
std::optional<QString> desktopFilePath(const QString& id);

// The launcher bundle a desktop entry of this program's launchers stands for; nothing for any
// other entry.
std::optional<QString> launcherBundleOf(const QString& desktopFile);

// Where a dock tile for this desktop file points: the launcher bundle for the program's own
// launcher entries (so that the tile's path is the launcher's bundle), else the file.
QString tileLocation(const QString& desktopFile);

// The desktop entry of the launcher bundle a tile text names; nothing when the text is no
// tile, names no launcher bundle, or the bundle's entry is not there.
std::optional<QString> launcherEntryOfTile(const QString& tileText);

// One tile: `location` as its "_CFURLString" (no "file-data" when there is none), and `value`
// under `key` at the tile's top level, where every edit of the domain carries it through.
PropertyList::Node makeTile(const std::optional<QString>& location, const char* key,
                            const QString& value);

// A domain holding just these tiles under "persistent-apps", as an XML property list.
QByteArray domainOf(std::vector<PropertyList::Node> tiles);

// The `key` value of every tile in the domain in `file`, in order, tiles without one skipped;
// nothing when the file holds no domain with a "persistent-apps" array of dictionaries.
std::optional<QStringList> tileValuesIn(const QString& file, const char* key);

struct SettingsDeleter {
    void operator()(GSettings* settings) const;
};
using Settings = std::unique_ptr<GSettings, SettingsDeleter>;

// The schema source GSettings uses unless told otherwise.
GSettingsSchemaSource* defaultSchemaSource();
// Whether `source` (with its parents) holds the schema.
bool hasSchema(GSettingsSchemaSource* source, const char* schemaId);
// Settings of the schema at `path` (null for a schema with a fixed path) when `source` holds it
// with `listKey` as a list of strings; null otherwise. Looking first matters: GSettings ends the
// process for a missing schema or key.
Settings settingsFor(GSettingsSchemaSource* source, const char* schemaId, const char* listKey,
                     const char* path = nullptr);
QStringList stringList(GSettings* settings, const char* key);
// Writes the key and waits until the backend has it.
bool setStringList(GSettings* settings, const char* key, const QStringList& values);

} // namespace LinuxDock
