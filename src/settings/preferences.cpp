#include "settings/preferences.h"

#include <QStandardPaths>

namespace {

QSettings settings()
{
    return QSettings(Preferences::filePath(), QSettings::IniFormat);
}

} // namespace

namespace Preferences {

QString filePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QLatin1Char('/') + fileInConfigFolder;
}

QVariant value(const QString& key)
{
    return settings().value(key);
}

void setValue(const QString& key, const QVariant& value)
{
    QSettings s = settings();
    s.setValue(key, value);
    s.sync();
}

bool contains(const QString& key)
{
    return settings().contains(key);
}

std::optional<bool> boolValue(const QString& key)
{
    const QVariant stored = value(key);
    if (stored.typeId() == QMetaType::Bool)
        return stored.toBool();
    // The INI file gives back text: only its two Boolean spellings count.
    const QString text = stored.toString();
    if (stored.typeId() == QMetaType::QString &&
        (text == QLatin1String("true") || text == QLatin1String("false")))
        return text == QLatin1String("true");
    return std::nullopt;
}

int intValue(const QString& key, int fallback)
{
    bool ok = false;
    const int number = value(key).toInt(&ok);
    return ok ? number : fallback;
}

} // namespace Preferences
