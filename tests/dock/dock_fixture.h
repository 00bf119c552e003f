#pragma once

#include "dock/dock_preferences.h"
#include "dock/dock_tiles.h"
#include "dock/file_dock_preferences.h"
#include "dock/property_list.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QStandardPaths>
#include <QStringList>
#include <QTest>
#include <functional>
#include <memory>

// The stand-in Dock file, with every call recorded by name ("export", "append", "import",
// "reload") and a hook that runs before each export (to change the domain under a removal).
class RecordingDock : public FileDockPreferences {
public:
    using FileDockPreferences::FileDockPreferences;

    QByteArray exportDomain() override
    {
        calls.append(QStringLiteral("export"));
        if (beforeExport)
            beforeExport(exports++);
        return FileDockPreferences::exportDomain();
    }
    void appendTile(const QString& tileText) override
    {
        calls.append(QStringLiteral("append"));
        FileDockPreferences::appendTile(tileText);
    }
    void importDomain(const QString& file) override
    {
        calls.append(QStringLiteral("import"));
        importedFrom.append(file);
        FileDockPreferences::importDomain(file);
    }
    void reload() override { calls.append(QStringLiteral("reload")); }

    QStringList calls;
    QStringList importedFrom;
    int exports = 0;
    std::function<void(int)> beforeExport;
};

// Puts a dock in place for one test and the previous one back afterwards.
template <class Kind> class ScopedDock {
public:
    template <class... Args> explicit ScopedDock(Args&&... args)
    {
        auto dock = std::make_unique<Kind>(std::forward<Args>(args)...);
        m_dock = dock.get();
        m_previous = Dock::setCurrent(std::move(dock));
    }
    ~ScopedDock() { Dock::setCurrent(std::move(m_previous)); }
    Kind* operator->() const { return m_dock; }
    Kind& operator*() const { return *m_dock; }

private:
    Kind* m_dock = nullptr;
    std::unique_ptr<::Dock> m_previous;
};

namespace DockTest {

inline QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void writeFile(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

inline QString dataFile(const QString& name)
{
    return QStringLiteral(TRAYMATE_TEST_DATA "/dock/") + name;
}

// A tile dictionary as the Dock writes one, with a location and a few keys of its own.
inline QByteArray tileXml(const QString& location)
{
    return "<dict><key>GUID</key><integer>7</integer><key>tile-data</key><dict>"
           "<key>file-data</key><dict><key>_CFURLString</key><string>" +
           location.toHtmlEscaped().toUtf8() +
           "</string><key>_CFURLStringType</key><integer>15</integer></dict>"
           "<key>file-label</key><string>x</string></dict>"
           "<key>tile-type</key><string>file-tile</string></dict>";
}

inline QByteArray spacerXml()
{
    return "<dict><key>tile-data</key><dict/><key>tile-type</key><string>spacer-tile</string>"
           "</dict>";
}

// A whole domain: these tiles under "persistent-apps", plus keys a removal must keep.
inline QByteArray domainXml(const QList<QByteArray>& tiles)
{
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?><plist version=\"1.0\"><dict>"
                     "<key>autohide</key><true/><key>tilesize</key><real>48.5</real>"
                     "<key>persistent-apps</key><array>";
    for (const QByteArray& tile : tiles)
        xml += tile;
    xml += "</array><key>persistent-others</key><array>" +
           tileXml(QStringLiteral("file:///Users/me/Downloads/")) +
           "</array><key>mod-count</key><integer>42</integer></dict></plist>";
    return xml;
}

inline std::optional<QString> pathOf(const QByteArray& tileText)
{
    const PropertyList::Node tile = PropertyList::parse(tileText);
    return tilePath(tile.get());
}

// A PNG of one colour and a desktop entry whose Icon is that PNG, so the desktop icon of the
// entry is known exactly.
inline QString colouredEntry(const QString& folder, const QString& name, const QColor& colour)
{
    QDir().mkpath(folder);
    const QString png = folder + QLatin1Char('/') + name + QStringLiteral(".png");
    QImage image(64, 64, QImage::Format_ARGB32);
    image.fill(colour);
    image.save(png);
    const QString entry = folder + QLatin1Char('/') + name + QStringLiteral(".desktop");
    writeFile(entry, "[Desktop Entry]\nType=Application\nName=" + name.toUtf8() +
                         "\nExec=true\nIcon=" + png.toUtf8() + "\n");
    return entry;
}

} // namespace DockTest
