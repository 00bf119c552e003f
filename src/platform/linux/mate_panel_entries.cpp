#include "platform/linux/mate_panel_entries.h"

#include "platform/linux/gsettings_lists.h"

#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>
#include <gio/gio.h>

namespace {

const QString kLauncher = QStringLiteral("launcher");
const char* const kObjectIds = "object-id-list";
const char* const kToplevelIds = "toplevel-id-list";
const char* const kLockedDown = "locked-down";

QByteArray objectPath(const QString& id)
{
    return "/org/mate/panel/objects/" + id.toUtf8() + "/";
}

bool hasKeys(GSettingsSchema* schema, std::initializer_list<const char*> keys)
{
    return std::all_of(keys.begin(), keys.end(),
                       [&](const char* key) { return g_settings_schema_has_key(schema, key); });
}

QString stringOf(GSettings* settings, const char* key)
{
    gchar* value = g_settings_get_string(settings, key);
    QString text = QString::fromUtf8(value);
    g_free(value);
    return text;
}

} // namespace

struct MatePanelEntries::Settings {
    GSettingsLists::Settings panel;
    GSettingsSchema* objectSchema = nullptr;
    ~Settings()
    {
        if (objectSchema)
            g_settings_schema_unref(objectSchema);
    }
    GSettingsLists::Settings object(const QString& id) const
    {
        return GSettingsLists::Settings(
            g_settings_new_full(objectSchema, nullptr, objectPath(id).constData()));
    }
};

MatePanelEntries::MatePanelEntries(GSettingsSchemaSource* source)
    : m_source(source ? source : GSettingsLists::defaultSchemaSource())
{
    GSettingsLists::Settings panel =
        GSettingsLists::settingsFor(m_source, panelSchemaId, kObjectIds);
    if (!panel || !m_source)
        return;
    // Reading a key the schema lacks ends the process, so every key used is looked for.
    GSettingsSchema* panelSchema = nullptr;
    g_object_get(panel.get(), "settings-schema", &panelSchema, nullptr);
    const bool panelKeys = panelSchema && hasKeys(panelSchema, {kToplevelIds, kLockedDown});
    if (panelSchema)
        g_settings_schema_unref(panelSchema);
    GSettingsSchema* objectSchema = g_settings_schema_source_lookup(m_source, objectSchemaId, TRUE);
    if (!panelKeys || !objectSchema ||
        !hasKeys(objectSchema, {"object-type", "toplevel-id", "position", "panel-right-stick",
                                "applet-iid", "launcher-location"})) {
        if (objectSchema)
            g_settings_schema_unref(objectSchema);
        return;
    }
    m_panel = std::make_unique<Settings>();
    m_panel->panel = std::move(panel);
    m_panel->objectSchema = objectSchema;
}

MatePanelEntries::~MatePanelEntries() = default;

bool MatePanelEntries::isAvailable() const
{
    return bool(m_panel);
}

QList<MatePanelEntries::Object> MatePanelEntries::objects(const QStringList& ids) const
{
    QList<Object> found;
    for (const QString& id : ids) {
        // An id that cannot be a settings path names nothing mate-panel could read either.
        if (id.isEmpty() || id.contains(QLatin1Char('/')))
            continue;
        const GSettingsLists::Settings settings = m_panel->object(id);
        Object object;
        object.id = id;
        object.type = stringOf(settings.get(), "object-type");
        object.toplevel = stringOf(settings.get(), "toplevel-id");
        object.position = g_settings_get_int(settings.get(), "position");
        object.fromEnd = g_settings_get_boolean(settings.get(), "panel-right-stick");
        object.appletIid = stringOf(settings.get(), "applet-iid");
        object.location = stringOf(settings.get(), "launcher-location");
        found.append(object);
    }
    return found;
}

QList<MatePanelEntries::Object> MatePanelEntries::inShownOrder(QList<Object> objects,
                                                               const QStringList& toplevels)
{
    const auto rank = [&](const Object& object) {
        const qsizetype index = toplevels.indexOf(object.toplevel);
        return index < 0 ? toplevels.size() : index;
    };
    std::stable_sort(objects.begin(), objects.end(), [&](const Object& a, const Object& b) {
        if (rank(a) != rank(b))
            return rank(a) < rank(b);
        if (a.fromEnd != b.fromEnd)
            return !a.fromEnd;
        return a.fromEnd ? a.position > b.position : a.position < b.position;
    });
    return objects;
}

QString MatePanelEntries::toplevelForLaunchers(const QList<Object>& objects,
                                               const QStringList& toplevels)
{
    for (const QString& toplevel : toplevels) {
        for (const Object& object : objects) {
            if (object.toplevel == toplevel &&
                object.appletIid.endsWith(QLatin1String("::WindowListApplet")))
                return toplevel;
        }
    }
    return toplevels.isEmpty() ? QString() : toplevels.first();
}

int MatePanelEntries::positionForLauncher(const QList<Object>& objects, const QString& toplevel)
{
    std::optional<int> lastLauncher;
    std::optional<int> windowList;
    for (const Object& object : objects) {
        if (object.toplevel != toplevel || object.fromEnd)
            continue;
        if (object.type == kLauncher)
            lastLauncher = qMax(lastLauncher.value_or(object.position), object.position);
        else if (object.appletIid.endsWith(QLatin1String("::WindowListApplet")))
            windowList = object.position;
    }
    if (lastLauncher)
        return *lastLauncher + 1;
    return windowList ? *windowList + 1 : 0;
}

QString MatePanelEntries::unusedId(const QStringList& ids)
{
    for (int n = 0;; ++n) {
        const QString id = QStringLiteral("object-%1").arg(n);
        if (!ids.contains(id))
            return id;
    }
}

std::optional<QString> MatePanelEntries::resolve(const QString& location) const
{
    if (!location.endsWith(QLatin1String(".desktop")))
        return std::nullopt;
    QString path = location;
    if (location.startsWith(QLatin1String("file://"))) {
        gchar* local = g_filename_from_uri(location.toUtf8().constData(), nullptr, nullptr);
        if (!local)
            return std::nullopt;
        path = QString::fromUtf8(local);
        g_free(local);
    } else if (!QFileInfo(location).isAbsolute()) {
        // mate-panel keeps the launchers it makes itself in its own folder.
        path = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
               QStringLiteral("/mate/panel2.d/default/launchers/") + location;
    }
    if (!QFileInfo(path).isFile())
        return std::nullopt;
    return path;
}

std::optional<QStringList> MatePanelEntries::entries()
{
    if (!m_panel)
        return std::nullopt;
    GSettings* panel = m_panel->panel.get();
    QStringList paths;
    for (const Object& object : inShownOrder(objects(GSettingsLists::stringList(panel, kObjectIds)),
                                             GSettingsLists::stringList(panel, kToplevelIds))) {
        if (object.type != kLauncher)
            continue;
        if (const std::optional<QString> path = resolve(object.location))
            paths.append(*path);
    }
    return paths;
}

bool MatePanelEntries::pin(const QString& entryPath)
{
    if (!m_panel || !QFileInfo(entryPath).isFile())
        return false;
    GSettings* panel = m_panel->panel.get();
    if (g_settings_get_boolean(panel, kLockedDown) || !g_settings_is_writable(panel, kObjectIds))
        return false;
    QStringList ids = GSettingsLists::stringList(panel, kObjectIds);
    const QList<Object> all = objects(ids);
    for (const Object& object : all) {
        if (object.type == kLauncher &&
            (object.location == entryPath || resolve(object.location) == entryPath))
            return true;
    }
    const QString toplevel =
        toplevelForLaunchers(all, GSettingsLists::stringList(panel, kToplevelIds));
    if (toplevel.isEmpty())
        return false;

    // The object is complete before its id goes in: mate-panel loads it as soon as it does.
    const QString id = unusedId(ids);
    const GSettingsLists::Settings object = m_panel->object(id);
    // A half-written object would show as a broken launcher, so locked keys refuse it all.
    for (const char* key :
         {"object-type", "toplevel-id", "position", "panel-right-stick", "launcher-location"}) {
        if (!g_settings_is_writable(object.get(), key))
            return false;
    }
    g_settings_delay(object.get());
    g_settings_set_string(object.get(), "object-type", "launcher");
    g_settings_set_string(object.get(), "toplevel-id", toplevel.toUtf8().constData());
    g_settings_set_int(object.get(), "position", positionForLauncher(all, toplevel));
    g_settings_set_boolean(object.get(), "panel-right-stick", FALSE);
    g_settings_set_string(object.get(), "launcher-location", entryPath.toUtf8().constData());
    g_settings_apply(object.get());
    g_settings_sync();
    ids.append(id);
    return GSettingsLists::setStringList(panel, kObjectIds, ids);
}

bool MatePanelEntries::unpin(const QString& entryPath)
{
    if (!m_panel)
        return false;
    GSettings* panel = m_panel->panel.get();
    QStringList ids = GSettingsLists::stringList(panel, kObjectIds);
    QStringList dropped;
    for (const Object& object : objects(ids)) {
        if (object.type == kLauncher &&
            (object.location == entryPath || resolve(object.location) == entryPath))
            dropped.append(object.id);
    }
    if (dropped.isEmpty())
        return true;
    if (g_settings_get_boolean(panel, kLockedDown))
        return false;
    ids.removeIf([&](const QString& id) { return dropped.contains(id); });
    if (!GSettingsLists::setStringList(panel, kObjectIds, ids))
        return false;
    // What mate-panel leaves of an object it no longer lists.
    for (const QString& id : std::as_const(dropped)) {
        const GSettingsLists::Settings object = m_panel->object(id);
        GSettingsSchema* schema = m_panel->objectSchema;
        gchar** keys = g_settings_schema_list_keys(schema);
        for (gchar** key = keys; key && *key; ++key)
            g_settings_reset(object.get(), *key);
        g_strfreev(keys);
    }
    g_settings_sync();
    return true;
}
