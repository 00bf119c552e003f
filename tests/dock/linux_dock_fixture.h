#pragma once

#include "dock_fixture.h"

#include <QDir>
#include <QFileInfo>
#include <QString>
#include <QStringList>
#include <QTest>
#include <gio/gio.h>

// Schema folders compiled in the build tree from the installed schemas: "all" holds GNOME
// Shell's and Plank's, the other two only one of them each.
namespace LinuxDockTest {

inline bool schemasBuilt()
{
    return QFileInfo::exists(QStringLiteral(TRAYMATE_TEST_SCHEMAS "/all/gschemas.compiled"));
}

// A source of one of those folders alone, without the system's schemas behind it.
class SchemaSource {
public:
    explicit SchemaSource(const char* folder)
    {
        const QByteArray path = QByteArray(TRAYMATE_TEST_SCHEMAS "/") + folder;
        m_source =
            g_settings_schema_source_new_from_directory(path.constData(), nullptr, TRUE, nullptr);
    }
    ~SchemaSource()
    {
        if (m_source)
            g_settings_schema_source_unref(m_source);
    }
    SchemaSource(const SchemaSource&) = delete;
    SchemaSource& operator=(const SchemaSource&) = delete;
    GSettingsSchemaSource* get() const { return m_source; }

    // The key's value, read through settings of their own.
    QStringList read(const char* schemaId, const char* key, const char* path = nullptr) const
    {
        GSettings* settings = make(schemaId, path);
        QStringList values;
        gchar** strings = g_settings_get_strv(settings, key);
        for (gchar** s = strings; *s; ++s)
            values.append(QString::fromUtf8(*s));
        g_strfreev(strings);
        g_object_unref(settings);
        return values;
    }
    void write(const char* schemaId, const char* key, const QStringList& values,
               const char* path = nullptr) const
    {
        GSettings* settings = make(schemaId, path);
        QList<QByteArray> bytes;
        for (const QString& value : values)
            bytes.append(value.toUtf8());
        std::vector<const char*> pointers;
        for (const QByteArray& value : bytes)
            pointers.push_back(value.constData());
        pointers.push_back(nullptr);
        g_settings_set_strv(settings, key, pointers.data());
        g_settings_sync();
        g_object_unref(settings);
    }

private:
    GSettings* make(const char* schemaId, const char* path) const
    {
        GSettingsSchema* schema = g_settings_schema_source_lookup(m_source, schemaId, FALSE);
        GSettings* settings = g_settings_new_full(schema, nullptr, path);
        g_settings_schema_unref(schema);
        return settings;
    }

    GSettingsSchemaSource* m_source = nullptr;
};

// A desktop entry in `folder`/applications (sub-folders allowed in `relative`).
inline QString entry(const QString& dataFolder, const QString& relative, const QByteArray& name,
                     const QByteArray& categories)
{
    const QString path = dataFolder + QStringLiteral("/applications/") + relative;
    DockTest::writeFile(path, "[Desktop Entry]\nType=Application\nName=" + name +
                                  "\nExec=true\nCategories=" + categories + "\n");
    return path;
}

// The applications of a real user's dock: a browser, the file manager, a terminal that sits in
// a sub-folder, a code editor and a game, installed in the system data folder `system`.
struct UsualApplications {
    QString browser, files, terminal, editor, game;

    explicit UsualApplications(const QString& system)
        : browser(entry(system, "firefox-esr.desktop", "Firefox ESR", "Network;WebBrowser;"))
        , files(entry(system, "org.gnome.Nautilus.desktop", "Files",
                      "GNOME;GTK;Utility;Core;FileManager;"))
        , terminal(entry(system, "kde/org.kde.konsole.desktop", "Konsole",
                         "Qt;KDE;System;TerminalEmulator;"))
        , editor(entry(system, "code.desktop", "Code", "TextEditor;Development;IDE;"))
        , game(entry(system, "org.gnome.Mines.desktop", "Mines", "GNOME;GTK;Game;LogicGame;"))
    {
    }
};

} // namespace LinuxDockTest
