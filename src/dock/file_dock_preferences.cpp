#include "dock/file_dock_preferences.h"

#include "dock/property_list.h"
#include "model/safe_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

enum class Read { Missing, Failed, Done };

Read readFile(const QString& path, QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QFileInfo::exists(path) ? Read::Failed : Read::Missing;
    bytes = file.readAll();
    return file.error() == QFileDevice::NoError ? Read::Done : Read::Failed;
}

} // namespace

QString FileDockPreferences::defaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/Traymate/com.apple.dock.plist");
}

FileDockPreferences::FileDockPreferences(QString path)
    : m_path(std::move(path))
{
}

QByteArray FileDockPreferences::exportDomain()
{
    QByteArray bytes;
    switch (readFile(m_path, bytes)) {
    case Read::Missing: {
        const PropertyList::Node empty(plist_new_dict());
        return PropertyList::toXml(empty.get());
    }
    case Read::Failed: return {};
    case Read::Done: break;
    }
    return bytes;
}

void FileDockPreferences::appendTile(const QString& tileText)
{
    PropertyList::Node tile = PropertyList::parse(tileText.toUtf8());
    if (!tile)
        return;

    PropertyList::Node domain;
    QByteArray bytes;
    switch (readFile(m_path, bytes)) {
    case Read::Missing: domain.reset(plist_new_dict()); break;
    case Read::Failed: return;
    case Read::Done: domain = PropertyList::parse(bytes); break;
    }
    // A domain that is not a dictionary is left alone rather than replaced by a new one.
    if (!PropertyList::isDictionary(domain.get()))
        return;

    plist_t apps = plist_dict_get_item(domain.get(), "persistent-apps");
    if (!apps) {
        apps = plist_new_array();
        plist_dict_set_item(domain.get(), "persistent-apps", apps);
    } else if (plist_get_node_type(apps) != PLIST_ARRAY) {
        return;
    }
    plist_array_append_item(apps, tile.release());
    store(domain.get());
}

void FileDockPreferences::importDomain(const QString& file)
{
    QByteArray bytes;
    if (readFile(file, bytes) != Read::Done)
        return;
    const PropertyList::Node domain = PropertyList::parse(bytes);
    if (PropertyList::isDictionary(domain.get()))
        store(domain.get());
}

bool FileDockPreferences::store(plist_t domain) const
{
    const QByteArray xml = PropertyList::toXml(domain);
    if (xml.isEmpty())
        return false;
    QDir().mkpath(QFileInfo(m_path).path());
    return writeFileAtomically(m_path, xml);
}
