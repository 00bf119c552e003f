#pragma once

#include <QSettings>
#include <QString>
#include <QVariant>
#include <optional>

// The user defaults: $XDG_CONFIG_HOME/Traymate/Traymate.ini, read where they are used.
namespace Preferences {

// Where the defaults live below a configuration folder ($XDG_CONFIG_HOME): tools and benchmarks
// that prepare a user's settings write the same file the program reads.
inline const QString fileInConfigFolder = QStringLiteral("Traymate/Traymate.ini");
QString filePath();

inline const QString hotkeyIndex = QStringLiteral("hotkeyIndex");
inline const QString panelPosition = QStringLiteral("panelPosition");
inline const QString closeAfterLaunch = QStringLiteral("closeAfterLaunch");
inline const QString didFirstImport = QStringLiteral("didFirstImport");

QVariant value(const QString& key);
void setValue(const QString& key, const QVariant& value);
bool contains(const QString& key);

// The stored flag; none when the key is absent or holds no Boolean.
std::optional<bool> boolValue(const QString& key);
// The stored integer, or `fallback` when absent or not an integer.
int intValue(const QString& key, int fallback);

} // namespace Preferences
